#pragma once

#include <map>
#include <string>

namespace sorrelix::testing {

// One entry of a tree: its type (f file, d folder, l link, p FIFO, s socket, c/b device) and
// permission bits, then its modification time and, for a file, its size and a hash of its
// bytes, for a link, its text.
struct EntryState {
    std::string kind;
    std::string details;

    bool isFolder() const { return kind.starts_with('d'); }
    // Folders change their time whenever an entry comes or goes: only type and mode count.
    bool sameAs(const EntryState& other) const {
        return kind == other.kind && (isFolder() || details == other.details);
    }
    bool operator==(const EntryState&) const = default;
    std::string describe() const { return kind + details; }
};

// Every entry below a root, by its byte-exact relative path, read without following links and
// through descriptors, so names that are not UTF-8 and paths beyond PATH_MAX are recorded.
struct TreeSnapshot {
    static TreeSnapshot of(const std::string& root);
    const EntryState* find(const std::string& relative) const;

    std::map<std::string, EntryState> entries;
};

// The checks return one line per violation, naming its path, or "" when all holds, so that a
// failed expectation prints everything that went wrong.

// After a merge into `targetRoot` (finished, failed or killed): every entry that was in the
// target before is at its place unchanged or at its relative path in a backup folder the merge
// made; every other entry outside the backup area is a whole copy of the source entry there;
// the backup folders hold nothing else.
std::string mergePromiseViolations(const TreeSnapshot& before, const TreeSnapshot& source,
                                   const std::string& targetRoot);

// After an undo of merge `mergeId`: every entry of the target before the merge is back
// unchanged, nothing but folders is left outside the backup area, and the merge's backup
// folder and journal are gone.
std::string undoViolations(const TreeSnapshot& before, const std::string& targetRoot,
                           const std::string& mergeId);

// Every difference, folder times included: for trees that must not change at all.
std::string differences(const TreeSnapshot& expected, const TreeSnapshot& actual);

}  // namespace sorrelix::testing
