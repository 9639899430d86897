// What a merge leaves in the target, unit by unit. Kills, faults, full disks, permissions and
// trees built to trip a merge up are the safety suites' (tests/safety).
#include "merge_execution.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QThread>
#include <tuple>

#include "apfs_engine.h"
#include "record_json.h"
#include "safety_support.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::outcomeOf;
using sorrelix::testing::ScopedConfigHome;
using ::testing::HasSubstr;

constexpr double kTime = 1'700'000'000.0;

using ProgressCall = std::tuple<std::int64_t, std::int64_t, std::string>;  // current, total, path

std::string backupOf(const MergeSessionRecord& record, const std::string& relative) {
    return std::string(MergeExecution::kBackupsFolder) + "/" + record.id + "/" + relative;
}

class MergeTest : public ::testing::Test {
protected:
    MergeSummary analyze() const {
        return APFSEngine::shared().analyzeNow(source.root(), target.root());
    }
    MergeSessionRecord merge(const MergeSummary& summary, const ProgressCallback& progress = {},
                             const std::atomic<bool>* stop = nullptr) const {
        return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, progress,
                                                    stop);
    }
    MergeSessionRecord merge() const { return merge(analyze()); }

    ScopedConfigHome config;
    FileTree source;
    FileTree target;
};

TEST_F(MergeTest, CopiesAddedAndUpdatedFilesAndKeepsEachOldVersionInTheBackup) {
    source.file("new.txt", "brand new", kTime + 1);
    source.file("a/b/c.txt", "the new version", kTime + 2);
    source.file("same.txt", "unchanged");
    target.file("a/b/c.txt", "old", kTime - 100);
    target.file("same.txt", "unchanged");
    source.file("late.txt", "added");
    const MergeSummary summary = analyze();
    target.file("late.txt", "written after the analysis");

    const MergeSessionRecord record = merge(summary);
    EXPECT_EQ(target.read("new.txt"), "brand new");
    EXPECT_EQ(target.read("a/b/c.txt"), "the new version");
    EXPECT_DOUBLE_EQ(target.mtime("a/b/c.txt"), kTime + 2);
    EXPECT_EQ(target.read(backupOf(record, "a/b/c.txt")), "old");
    EXPECT_DOUBLE_EQ(target.mtime(backupOf(record, "a/b/c.txt")), kTime - 100);
    // Added files leave no trace in the backup, identical ones are not touched at all; what
    // took an added file's place meanwhile is kept like a replaced file, and not listed.
    EXPECT_FALSE(target.exists(backupOf(record, "new.txt")));
    EXPECT_FALSE(target.exists(backupOf(record, "same.txt")));
    EXPECT_EQ(target.read(backupOf(record, "late.txt")), "written after the analysis");

    EXPECT_LE(record.timestamp.secondsApartFrom(Date::now()), 60.0);
    EXPECT_EQ(record.sourcePath, source.root());
    EXPECT_EQ(record.targetPath, target.root());
    EXPECT_EQ(record.backupDir, target.root() + "/.sorrelix/backups/" + record.id);
    EXPECT_EQ(record.addedCount, 2);
    EXPECT_EQ(record.updatedCount, 1);
    EXPECT_EQ(record.addedRelativePaths, std::vector<std::string>{"new.txt"});
    EXPECT_EQ(record.outcome, MergeOutcome::completed);
    EXPECT_FALSE(target.exists(".sorrelix/lock"));  // the target's lock goes with the merge
    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(encodeJson(history[0]), encodeJson(record));
}

TEST_F(MergeTest, ProgressCountsEveryCopiedFileInSummaryOrderOnTheCallingThread) {
    source.files({{"one.txt", "1"}, {"deep/two.txt", "2"}, {"same.txt", "same"}});
    source.file("changed.txt", "new size");
    target.files({{"changed.txt", "old"}, {"same.txt", "same"}});
    const MergeSummary summary = analyze();

    std::vector<ProgressCall> expected;
    for (const auto& item : summary.items) {
        if (item.kind != FileDiffKind::identical) {
            expected.emplace_back(expected.size() + 1, 3, item.relativePath);
        }
    }
    std::vector<ProgressCall> calls;
    const QThread* caller = QThread::currentThread();
    merge(summary, [&](std::int64_t done, std::int64_t total, const std::string& path) {
        EXPECT_EQ(QThread::currentThread(), caller);
        calls.emplace_back(done, total, path);
    });
    EXPECT_EQ(calls, expected);
}

// The stop is read between files: the file at hand is finished, and the merge ends as stopped
// in the history and in its journal alike.
TEST_F(MergeTest, AStopRequestEndsTheMergeAfterTheFileAtHand) {
    source.files({{"a.txt", "a"}, {"b.txt", "b"}});
    std::atomic<bool> stop = false;
    const MergeSessionRecord record = merge(
        analyze(), [&](std::int64_t, std::int64_t, const std::string&) { stop = true; }, &stop);
    EXPECT_EQ(record.outcome, MergeOutcome::stopped);
    EXPECT_EQ(record.addedRelativePaths->size(), 1U);
    EXPECT_NE(target.exists("a.txt"), target.exists("b.txt"));
    EXPECT_EQ(APFSEngine::shared().loadSessionRecords().at(0).outcome, MergeOutcome::stopped);
    // With the history lost, the journal alone must say that the merge ended.
    const ScopedConfigHome elsewhere;
    EXPECT_TRUE(APFSEngine::shared().interruptedMerges(target.root()).empty());
}

// A relative link that stays inside the target is a way into the target like any other, for
// the backup area too; an absolute one is refused even when it leads inside.
TEST_F(MergeTest, LinksInsideTheTargetAreFollowedAndAbsoluteOnesRefused) {
    target.file("real/old.txt", "old");
    target.symlink("inside", "real");
    target.symlink("absolute", target.path("real"));
    target.folder("kept");
    target.symlink(".sorrelix", "kept");
    source.files({{"inside/new.txt", "through the link"}, {"inside/old.txt", "newer"}});
    source.file("absolute/refused.txt", "refused");
    const MergeSummary summary =
        sorrelix::testing::withItemsFirst(analyze(), {"inside/new.txt", "inside/old.txt"});

    EXPECT_THAT(outcomeOf([&] { merge(summary); }),
                HasSubstr("Refused to write outside the target folder"));
    const MergeSessionRecord record = APFSEngine::shared().loadSessionRecords().at(0);
    EXPECT_EQ(target.read("real/new.txt"), "through the link");
    EXPECT_EQ(target.read("real/old.txt"), "newer");
    EXPECT_EQ(target.read("kept/backups/" + record.id + "/inside/old.txt"), "old");
    EXPECT_FALSE(target.exists("real/refused.txt"));

    APFSEngine::shared().undoMergeNow(record);
    EXPECT_FALSE(target.exists("real/new.txt"));
    EXPECT_EQ(target.read("real/old.txt"), "old");
    EXPECT_TRUE(target.isSymlink("inside"));
    EXPECT_FALSE(target.exists("kept/backups/" + record.id));
}

// "%1" in the name: the message is built from the path, never formatted with it.
TEST_F(MergeTest, AFileWhereTheMergeNeedsAFolderFailsTheItemWithEnotdir) {
    source.file("a%1/x.txt", "x");
    const MergeSummary summary = analyze();
    target.file("a%1", "a file, not a folder");
    EXPECT_EQ(outcomeOf([&] { merge(summary); }),
              "SorrelixEngine|20|Failed to copy a%1/x.txt (errno: 20)");
    EXPECT_EQ(target.read("a%1"), "a file, not a folder");
}

}  // namespace
}  // namespace sorrelix::engine
