#pragma once

#include <map>
#include <string>
#include <vector>

namespace sorrelix::testing {

// What one entry of a tree is: its type, permission bits, modification time, size and, for a
// file, a hash of its bytes, for a link, its text.
struct EntryState {
    char type = '?';  // f file, d folder, l link, p FIFO, s socket, c/b device
    unsigned mode = 0;
    long long mtimeNs = 0;
    long long size = 0;
    std::string content;  // SHA-256 of a file's bytes, or a link's text

    bool isFolder() const { return type == 'd'; }
    // Folders change their time whenever an entry comes or goes: only type and mode count.
    bool sameAs(const EntryState& other) const;
    bool operator==(const EntryState&) const = default;
    std::string describe() const;
};

// Every entry below a root, by its byte-exact relative path, read without following links and
// through descriptors, so names that are not UTF-8 and paths beyond PATH_MAX are recorded.
class TreeSnapshot {
public:
    static TreeSnapshot of(const std::string& root);

    const std::map<std::string, EntryState>& entries() const { return entries_; }
    const EntryState* find(const std::string& relative) const;

private:
    std::map<std::string, EntryState> entries_;
};

// The checks below return one line per violation, naming its path, or "" when all holds, so
// that a failed expectation prints everything that went wrong.

// After a merge into `targetRoot` (finished, failed or killed): every entry that was in the
// target before is at its place unchanged or, byte for byte with mode and time, at its relative
// path in a backup folder that the merge made; every other entry outside the backup area is
// the complete copy of the source entry at that path; the backup folders hold nothing else.
std::string mergePromiseViolations(const TreeSnapshot& before, const TreeSnapshot& source,
                                   const std::string& targetRoot);

// After an undo of merge `mergeId`: every entry that was in the target before the merge is
// back unchanged, nothing else but folders is left outside the backup area, and the merge's
// backup folder is gone.
std::string undoViolations(const TreeSnapshot& before, const std::string& targetRoot,
                           const std::string& mergeId);

// Every difference between two snapshots, folder times included: for trees that must not
// change at all.
std::string differences(const TreeSnapshot& expected, const TreeSnapshot& actual);

// The folders below ".sorrelix/backups" of a target, by merge id.
std::vector<std::string> backupIds(const std::string& targetRoot);

// A path as it may be printed: bytes that are not printable ASCII are escaped.
std::string printable(const std::string& path);

}  // namespace sorrelix::testing
