#pragma once

#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apfs_engine.h"
#include "file_tree.h"
#include "tree_snapshot.h"

namespace sorrelix::testing {

// How a merge or undo ended, in one comparable line: "ok", or "domain|code|description".
std::string outcomeOf(const std::function<void()>& work);

// The summary with its non-identical items reordered: `first` names go first in that order.
engine::MergeSummary withItemsFirst(engine::MergeSummary summary,
                                    const std::vector<std::string>& first);

// Writes `content` at a path of any length below `root`, creating folders one at a time, so
// that paths beyond PATH_MAX can be built.
void writeDeep(const std::string& root, const std::string& relative, const std::string& content);

// A tmpfs of its own, mounted for the object's lifetime; needs root. `path()` is empty when
// it could not be mounted.
class OwnTmpfs {
public:
    explicit OwnTmpfs(const std::string& size);
    ~OwnTmpfs();
    OwnTmpfs(const OwnTmpfs&) = delete;
    OwnTmpfs& operator=(const OwnTmpfs&) = delete;

    const std::string& path() const { return path_; }

private:
    QTemporaryDir mountPoint_;
    std::string path_;
};

// A file system of a few MiB for full-disk cases: the tiny scratch tmpfs when the test run
// has one (locked for the object's lifetime), or else a tmpfs of its own. `path()` is empty
// when neither is possible.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    const std::string& path() const { return path_; }
    long long freeBytes() const;

private:
    std::optional<ScratchLock> lock_;
    std::optional<OwnTmpfs> own_;
    std::string path_;
};

// Undoes the newest merge in the history and returns undoViolations() against `before`, or
// a line saying why it could not.
std::string undoOfNewestViolations(const TreeSnapshot& before, const std::string& targetRoot);

// The environment a child program needs to share this test's settings store.
std::vector<std::pair<std::string, std::string>> childEnvironment(const ScopedConfigHome& config);

}  // namespace sorrelix::testing
