#pragma once

#include "apfs_engine.h"
#include "file_tree.h"
#include "tree_snapshot.h"

namespace sorrelix::testing {

// How a merge or undo ended, in one comparable line: "ok", or "domain|code|description".
std::string outcomeOf(const std::function<void()>& work);

// The summary with its non-identical items reordered: `first` names go first in that order.
engine::MergeSummary withItemsFirst(engine::MergeSummary summary,
                                    const std::vector<std::string>& first);

// The analysis of `source` against `target`, its items reordered as withItemsFirst does.
engine::MergeSummary analyzed(const FileTree& source, const FileTree& target,
                              const std::vector<std::string>& first = {});

// Writes `content` at a path of any length below `root`, creating folders one at a time, so
// that paths beyond PATH_MAX can be built.
void writeDeep(const std::string& root, const std::string& relative, const std::string& content);

// A tmpfs of its own, mounted for the object's lifetime; needs root. `path()` is empty when
// it could not be mounted.
class Tmpfs {
public:
    explicit Tmpfs(const std::string& size);
    ~Tmpfs();
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;

    const std::string& path() const { return path_; }

private:
    QTemporaryDir mountPoint_;
    std::string path_;
};

// Source, target and an "outside" folder that must never change, side by side (so that
// relative links can reach across), with a settings store and merge history of their own.
struct Scene {
    Scene();
    // The way from a folder `depth` levels below the source or target to `path` in outside.
    std::string up(int depth, const std::string& path) const;
    // Snapshots of the three trees, for the checks below.
    void takeSnapshots();
    std::string mergeViolations() const {
        return mergePromiseViolations(before, sourceState, target.root());
    }
    std::string outsideChanges() const {
        return differences(outsideState, TreeSnapshot::of(outside.root()));
    }

    ScopedConfigHome config;
    FileTree base;
    FileTree source{base.root()};
    FileTree target{base.root()};
    FileTree outside{base.root()};
    TreeSnapshot before;
    TreeSnapshot sourceState;
    TreeSnapshot outsideState;
};

// A merge that something trips up: trees built to, or changed between analysis and merge.
struct MergeCase {
    const char* name;
    std::function<void(const Scene&)> build;
    const char* expected = "ok";  // outcomeOf the merge, as a regular expression
    std::function<void(const Scene&)> betweenAnalysisAndMerge = {};
    std::vector<std::string> first = {};  // work items to do first, in this order
    bool asNobody = false;                // merged by an unprivileged user who owns the target
};

// Runs the case and expects its outcome, nothing lost in the target and nothing changed in the
// source or outside; then (but as nobody, who cannot write the history) that undo restores the
// target exactly.
void expectMergeCase(const MergeCase& mergeCase);

// Undoes the newest merge in the history and returns undoViolations() against `before`, or
// a line saying why it could not.
std::string undoOfNewestViolations(const TreeSnapshot& before, const std::string& targetRoot);

// Names the cases of a parametrized test after their row's `name`.
inline constexpr auto byName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace sorrelix::testing
