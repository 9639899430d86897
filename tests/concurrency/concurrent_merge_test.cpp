// Merges of separate programs at the same time, on shared targets and history, and their undo.
#include <gtest/gtest.h>

#include <future>
#include <list>
#include <random>

#include "cli_child.h"
#include "safety_support.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;

// Seeded trees in which two sources overlap on most names, so that two merges into one
// target both replace, and both add, many of the same files.
class SeededTrees {
public:
    explicit SeededTrees(unsigned seed) : random_(seed) {}

    void fillTarget(const FileTree& target, int files) {
        for (int i = 0; i < files; ++i) {
            target.file(nameOf(i), "old " + std::to_string(i) + std::string(pick(0, 3000), 'o'),
                        1'600'000'000.0 + i + pick(0, 999'999'999) / 1e9);
            target.chmod(nameOf(i), pick(0, 1) != 0 ? 0600 : 0644);
        }
    }

    // Changes about three quarters of the target's files below `folder` ("" for all), adds
    // files of its own and shared ones, and leaves the rest as they are. The source mirrors
    // `folder`.
    void fillSource(const FileTree& source, const FileTree& target, int files,
                    const std::string& label, const std::string& folder = "") {
        const std::string prefix = folder.empty() ? "" : folder + "/";
        for (int i = 0; i < files; ++i) {
            const std::string path = nameOf(i);
            if (!path.starts_with(prefix)) continue;
            const std::string inSource = path.substr(prefix.size());
            if (pick(0, 3) == 0) {
                source.file(inSource, target.read(path), target.mtime(path));
                source.chmod(inSource, target.mode(path));
            } else {
                source.file(inSource,
                            label + " " + std::to_string(i) + std::string(pick(0, 3000), 'n'),
                            1'700'000'000.0 + i);
            }
        }
        for (int i = 0; i < files / 4; ++i) {
            source.file("shared-new/" + std::to_string(i) + ".txt", label + " added");
            source.file(label + "-new/" + std::to_string(i) + ".txt", label + " added");
        }
    }

private:
    static std::string nameOf(int i) {
        return "d" + std::to_string(i % 7) + "/f" + std::to_string(i) + (i % 5 == 0 ? " é" : "");
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::mt19937 random_;
};

class ConcurrentMergeTest : public ::testing::TestWithParam<unsigned> {
protected:
    static constexpr int kFiles = 240;

    // Starts every merge (source and target folder) before waiting for any. On separate
    // machines, each has a runtime folder of its own, as two computers sharing the target do.
    void mergeAtOnce(const std::vector<std::pair<std::string, std::string>>& pairs,
                     bool separateMachines = false) {
        std::list<FileTree> runtimeFolders;
        std::vector<std::future<ChildOutcome>> runs;
        for (const auto& pair : pairs) {
            CliOptions options;
            if (separateMachines) {
                options.environment = {{"XDG_RUNTIME_DIR", runtimeFolders.emplace_back().root()}};
            }
            runs.push_back(std::async(std::launch::async, [this, options, pair] {
                return runCli(config, {"merge", pair.first, pair.second}, options);
            }));
        }
        for (auto& run : runs) {
            const ChildOutcome outcome = run.get();
            EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        }
    }

    // Undoes every merge in the history, newest first, and checks that the tree at `root` is
    // as it was `before`.
    void expectEveryMergeUndone(const TreeSnapshot& before, const std::string& root) {
        const auto history = APFSEngine::shared().loadSessionRecords();
        for (const auto& record : history) {
            EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }), "ok");
        }
        for (const auto& record : history) EXPECT_EQ(undoViolations(before, root, record.id), "");
    }

    // Two merges into one target (the second into `folder` of it) are both kept, and undoing
    // them gives back every file of the target exactly, however their operations interleaved.
    void expectTwoMergesIntoOneTargetUndone(const std::string& folder, bool separateMachines) {
        SeededTrees trees(GetParam());
        trees.fillTarget(target, kFiles);
        trees.fillSource(sourceA, target, kFiles, "a");
        trees.fillSource(sourceB, target, kFiles, "b", folder);
        const TreeSnapshot before = TreeSnapshot::of(target.root());

        mergeAtOnce({{sourceA.root(), target.root()}, {sourceB.root(), target.path(folder)}},
                    separateMachines);
        ASSERT_EQ(APFSEngine::shared().loadSessionRecords().size(), 2U);
        EXPECT_NE(differences(before, TreeSnapshot::of(target.root())), "");
        expectEveryMergeUndone(before, target.root());
    }

    ScopedConfigHome config;
    FileTree sourceA;
    FileTree sourceB;
    FileTree target;
};

TEST_P(ConcurrentMergeTest, TwoMergesIntoOneTargetAreBothKeptAndBothUndone) {
    expectTwoMergesIntoOneTargetUndone("", false);
}

// Two computers mounting one shared folder do not see each other's runtime folders: the lock
// inside the target orders their merges all the same.
TEST_P(ConcurrentMergeTest, MergesFromTwoMachinesIntoOneSharedFolderAreBothUndone) {
    expectTwoMergesIntoOneTargetUndone("", true);
}

// A target inside the other merge's target shares its files: the same holds as for one target.
TEST_P(ConcurrentMergeTest, MergesIntoAFolderAndItsSubfolderAreBothUndone) {
    expectTwoMergesIntoOneTargetUndone("d0", false);
}

TEST_P(ConcurrentMergeTest, TwoMergesIntoTwoTargetsAreBothKeptAndBothUndone) {
    const FileTree otherTarget;
    SeededTrees trees(GetParam());
    trees.fillTarget(target, kFiles);
    trees.fillTarget(otherTarget, kFiles);
    trees.fillSource(sourceA, target, kFiles, "a");
    trees.fillSource(sourceB, otherTarget, kFiles, "b");
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot otherBefore = TreeSnapshot::of(otherTarget.root());

    mergeAtOnce({{sourceA.root(), target.root()}, {sourceB.root(), otherTarget.root()}});
    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 2U);
    // The older one first: the targets are independent.
    for (const auto& record : {history[1], history[0]}) {
        EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }), "ok");
    }
    for (const auto& record : history) {
        EXPECT_EQ(undoViolations(before, target.root(), record.id), "");
        EXPECT_EQ(undoViolations(otherBefore, otherTarget.root(), record.id), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConcurrentMergeTest, ::testing::Values(1U, 2U, 3U));

// A share mounted over the network (sshfs here, as a NAS would be) has no clones, no O_TMPFILE,
// no RENAME_NOREPLACE and whole-second mtimes: the merge must still copy every file, and its
// undo give every one back.
TEST_P(ConcurrentMergeTest, MergeIntoAnSshfsShareIsUndone) {
    const std::string share = sshfsScratchDir();
    if (share.empty()) GTEST_SKIP() << "no sshfs scratch mount (scripts/sshfs-loopback.sh)";
    constexpr int kShareFiles = 24;
    const FileTree source(share);
    const FileTree shared(share);
    SeededTrees trees(GetParam());
    trees.fillTarget(shared, kShareFiles);
    trees.fillSource(source, shared, kShareFiles, "a");
    const TreeSnapshot before = TreeSnapshot::of(shared.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    const ChildOutcome merged = runCli(config, {"merge", source.root(), shared.root()});
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    const TreeSnapshot after = TreeSnapshot::of(shared.root());
    for (const auto& [path, state] : sourceState.entries) {
        EXPECT_TRUE(state.isFolder() || (after.find(path) && after.find(path)->sameAs(state)))
            << path;
    }
    EXPECT_EQ(mergePromiseViolations(before, sourceState, shared.root()), "");
    expectEveryMergeUndone(before, shared.root());
}

}  // namespace
}  // namespace sorrelix::testing
