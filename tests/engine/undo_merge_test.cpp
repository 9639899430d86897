// Undo's own rules, unit by unit. That undo restores the target exactly after merges that
// finished, failed, were killed or met hostile trees and forged records is the safety suites'.
#include "undo_merge.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <optional>

#include "apfs_engine.h"
#include "safety_support.h"
#include "target_lock.h"
#include "tree_removal.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::outcomeOf;
using sorrelix::testing::ScopedConfigHome;

constexpr double kTime = 1'700'000'000.0;
constexpr const char* kNotFound =
    "SorrelixEngine|404|Backup snapshot not found or already cleaned up";

class UndoMergeTest : public ::testing::Test {
protected:
    MergeSessionRecord merge() const {
        const MergeSummary summary = APFSEngine::shared().analyzeNow(source.root(), target.root());
        return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, {});
    }
    static std::string undo(const MergeSessionRecord& record) {
        return outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); });
    }
    // A record as a forger (or a damaged history) might present it, for this target.
    MergeSessionRecord forged(std::vector<std::string> added) const {
        const std::string backups = target.path(".sorrelix/backups/abcdef12");
        return {"abcdef12", Date::now(), source.root(), target.root(), 1, 0, backups, added};
    }

    ScopedConfigHome config;
    FileTree source;
    FileTree target;
};

// What the user did to the merge's places after the merge, and which places undo then keeps.
struct EditAfterMerge {
    const char* name;
    void (*edit)(const FileTree& target);
    std::vector<std::string> kept;
};

// A user's change to a copy is never deleted: undo moves it to the kept folder and still
// brings the target back as it was before the merge.
TEST_F(UndoMergeTest, FilesChangedAfterTheMergeAreKeptAndTheTargetIsRestored) {
    const EditAfterMerge cases[] = {
        {"untouched", [](const FileTree&) {}, {}},
        {"added file rewritten",
         [](const FileTree& t) { t.file("a.txt", "mine now", kTime); },
         {"a.txt"}},
        {"added file touched",
         [](const FileTree& t) { t.setMtime("a.txt", kTime + 5); },
         {"a.txt"}},
        {"added file saved anew",
         [](const FileTree& t) {
             t.file("d/.a.tmp", "added", kTime);
             ::rename(t.path("d/.a.tmp").c_str(), t.path("d/a.txt").c_str());
         },
         {"d/a.txt"}},
        {"updated file rewritten",
         [](const FileTree& t) { t.file("u.txt", "mine", kTime); },
         {"u.txt"}},
        {"updated file replaced by a folder",
         [](const FileTree& t) {
             ::unlink(t.path("u.txt").c_str());
             t.file("u.txt/inside.txt", "a folder where the file was");
         },
         {"u.txt"}},
        {"added and updated files deleted",
         [](const FileTree& t) {
             ::unlink(t.path("a.txt").c_str());
             ::unlink(t.path("u.txt").c_str());
         },
         {}},
    };
    for (const auto& change : cases) {
        SCOPED_TRACE(change.name);
        const FileTree from;
        const FileTree into;
        from.file("a.txt", "added", kTime);
        from.file("d/a.txt", "added", kTime);
        from.file("u.txt", "new version", kTime + 60);
        into.file("u.txt", "old", kTime);
        const auto summary = APFSEngine::shared().analyzeNow(from.root(), into.root());
        const auto record =
            APFSEngine::shared().executeMergeNow(from.root(), into.root(), summary, {});
        change.edit(into);
        const UndoResult result = APFSEngine::shared().undoMergeNow(record);
        std::vector<std::string> kept;
        for (const auto& file : result.keptFiles) {
            kept.push_back(file.relativePath);
            EXPECT_EQ(file.keptPath,
                      into.path(".sorrelix/kept/" + record.id + "/" + file.relativePath));
            EXPECT_TRUE(into.exists(file.keptPath.substr(into.root().size() + 1)));
        }
        EXPECT_EQ(kept, change.kept);
        EXPECT_EQ(into.read("u.txt"), "old");
        EXPECT_FALSE(into.exists("a.txt"));
        EXPECT_FALSE(into.exists("d/a.txt"));
        EXPECT_FALSE(into.exists(".sorrelix/lock"));
        // A second undo must not delete what the user has put at the added places since.
        into.file("a.txt", "the user's own");
        EXPECT_EQ(undo(record), kNotFound);
        EXPECT_EQ(into.read("a.txt"), "the user's own");
    }
}

// Only "<target>/.sorrelix/backups/<8 hex digits>" is a merge's backup folder, "/" included:
// any other is refused before undo deletes anything.
TEST(UndoMergeRecordTest, ABackupFolderBelongsToItsTargetAlsoAtTheRoot) {
    const struct {
        const char* backupDir;
        const char* target;
        bool belongs;
    } cases[] = {
        {"/.sorrelix/backups/abcdef12", "/", true},
        {"/t/.sorrelix/backups/abcdef12", "/t", true},
        {"//.sorrelix/backups/abcdef12", "/", false},
        {"/t/.sorrelix/backups/abcdef1", "/t", false},
        {"/t/.sorrelix/backups/abcdef123", "/t", false},
        {"/t/.sorrelix/backups/abcdefgh", "/t", false},
        {"/t/.sorrelix/backups/ABCDEF12", "/t", false},
        {"/t/.sorrelix/backups/abcdef12/", "/t", false},
        {"/t/.sorrelix/backups/ab/def12", "/t", false},
        {"/t/.sorrelix/backups/../../../u/.sorrelix/backups/abcdef12", "/t", false},
        {"/t/.sorrelix/abcdef12", "/t", false},
        {"", "/t", false},
        {"/u/.sorrelix/backups/abcdef12", "/t", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UndoMerge::isBackupFolderOf(c.backupDir, c.target), c.belongs) << c.backupDir;
    }
    MergeSessionRecord atRoot;
    atRoot.targetPath = "/";
    atRoot.backupDir = "/.sorrelix/backups/abcdef12";
    EXPECT_EQ(UndoMerge::backupRelativeOf(atRoot), ".sorrelix/backups/abcdef12");
}

// An undo run again after a failure may find a file kept before under the name: a file kept
// now never replaces it.
TEST_F(UndoMergeTest, AFileKeptNowNeverReplacesOneKeptBefore) {
    source.file("a.txt", "added");
    const MergeSessionRecord record = merge();
    const std::string kept = ".sorrelix/kept/" + record.id + "/a.txt";
    target.file("a.txt", "edited after the merge");
    target.file(kept, "kept by an earlier undo");
    const UndoResult result = APFSEngine::shared().undoMergeNow(record);
    ASSERT_EQ(result.keptFiles.size(), 1U);
    EXPECT_EQ(result.keptFiles[0].keptPath, target.path(kept + ".1"));
    EXPECT_EQ(target.read(kept), "kept by an earlier undo");
    EXPECT_EQ(target.read(kept + ".1"), "edited after the merge");
}

// Undoing the older of two merges that changed the same files would put the original back
// over the newer copy, and undoing the newer one then would delete that original. A newer
// merge of other files is no obstacle.
TEST_F(UndoMergeTest, AnOlderMergeWaitsOnlyForNewerOnesThatChangedTheSameFiles) {
    target.files({{"x.txt", "original"}, {"z.txt", "z1"}});
    source.files({{"x.txt", "first version"}, {"n.txt", "added first"}});
    const MergeSessionRecord first = merge();
    source.files({{"x.txt", "second version, longer"}, {"n.txt", "added first, then changed"}});
    const MergeSessionRecord second = merge();
    EXPECT_EQ(undo(first).substr(0, 19), "SorrelixEngine|409|");
    EXPECT_EQ(target.read("x.txt"), "second version, longer");
    EXPECT_TRUE(target.exists(".sorrelix/backups/" + first.id));

    ::unlink(source.path("x.txt").c_str());
    ::unlink(source.path("n.txt").c_str());
    source.file("z.txt", "z two");
    const MergeSessionRecord third = merge();
    EXPECT_EQ(undo(second), "ok");
    EXPECT_EQ(target.read("x.txt"), "first version");
    EXPECT_EQ(target.read("z.txt"), "z two");
    EXPECT_EQ(undo(first), "ok");
    EXPECT_EQ(target.read("x.txt"), "original");
    EXPECT_FALSE(target.exists("n.txt"));
    EXPECT_EQ(undo(third), "ok");
    EXPECT_EQ(target.read("z.txt"), "z1");
}

// Records of older versions list no added files and have no journal: undo only restores.
TEST_F(UndoMergeTest, ARecordWithoutAddedPathsOnlyRestores) {
    target.file("diff.txt", "old");
    source.files({{"diff.txt", "the new version"}, {"new.txt", "new"}});
    MergeSessionRecord record = merge();
    record.addedRelativePaths.reset();
    ASSERT_EQ(::unlink(target.path(".sorrelix/journals/" + record.id).c_str()), 0);
    EXPECT_EQ(undo(record), "ok");
    EXPECT_EQ(target.read("diff.txt"), "old");
    EXPECT_EQ(target.read("new.txt"), "new");
}

// An undo waits while a merge or another undo holds its target, as a merge into it would.
TEST_F(UndoMergeTest, AnUndoWaitsWhileItsTargetIsLocked) {
    target.file("diff.txt", "old");
    source.file("diff.txt", "the new version");
    const MergeSessionRecord record = merge();
    std::optional<TargetLock> held(std::in_place, target.root());
    if (!held->isHeld()) GTEST_SKIP() << "no private runtime folder for the locks";
    auto undone = std::async(std::launch::async, [&] { return undo(record); });
    EXPECT_EQ(undone.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout);
    EXPECT_EQ(target.read("diff.txt"), "the new version");
    held.reset();
    EXPECT_EQ(undone.get(), "ok");
    EXPECT_EQ(target.read("diff.txt"), "old");
}

// ---- records that point elsewhere -------------------------------------------------------

// Added paths that go through a link out or are not plain are passed over (the hostile-tree
// suite has those that climb out); a backed-up file whose folder is now a link out is not
// restored through it.
TEST_F(UndoMergeTest, AForgedRecordTouchesNothingOutsideTheTarget) {
    const FileTree elsewhere;
    elsewhere.files({{"victim.txt", "outside"}, {"d/f.txt", "outside"}});
    target.file(".sorrelix/backups/abcdef12/d/f.txt", "backed up");
    target.symlink("d", elsewhere.path("d"));
    target.files({{"inner/victim.txt", "inside, not listed plainly"}, {"listed.txt", "added"}});
    source.file("listed.txt", "other");
    target.symlink("out", elsewhere.root());
    // A backup folder that is not this target's is refused before anything is deleted.
    MergeSessionRecord foreign = forged({"listed.txt"});
    foreign.backupDir = elsewhere.root();
    EXPECT_EQ(undo(foreign).substr(0, 18), "SorrelixEngine|22|");
    EXPECT_EQ(undo(forged({"", "./inner/victim.txt", "inner//victim.txt", "out/victim.txt",
                           "listed.txt", std::string("inner/victim.txt\0.bak", 21)})),
              "ok");
    EXPECT_EQ(elsewhere.list(), (std::vector<std::string>{"d", "d/f.txt", "victim.txt"}));
    EXPECT_EQ(elsewhere.read("victim.txt"), "outside");
    EXPECT_EQ(elsewhere.read("d/f.txt"), "outside");
    EXPECT_EQ(target.read("inner/victim.txt"), "inside, not listed plainly");
    EXPECT_TRUE(target.isSymlink("out"));
    // Without a journal, a copy is the source's file: this one only has its size and time.
    EXPECT_EQ(target.read(".sorrelix/kept/abcdef12/listed.txt"), "added");
}

TEST(TreeRemovalTest, NeverFollowsALinkOutOfTheTreeItRemoves) {
    const FileTree outside;
    outside.files({{"folder/precious.txt", "keep"}, {"precious.txt", "keep"}});
    const FileTree tree;
    tree.file("doomed/a.txt", "a");
    tree.symlinks({{"doomed/to-folder", outside.path("folder")},
                   {"doomed/to-file", outside.path("precious.txt")},
                   {"doomed/sub/to-root", outside.root()},
                   {"link-to-folder", outside.path("folder")}});
    const UniqueFd root(::open(tree.root().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));

    EXPECT_EQ(removeTree(root.get(), "doomed"), 0);
    EXPECT_EQ(removeTree(root.get(), "link-to-folder"), 0);
    EXPECT_EQ(tree.list(), std::vector<std::string>{});
    EXPECT_EQ(outside.list(),
              (std::vector<std::string>{"folder", "folder/precious.txt", "precious.txt"}));
    EXPECT_EQ(removeTree(root.get(), "missing"), ENOENT);
}

}  // namespace
}  // namespace sorrelix::engine
