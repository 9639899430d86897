#include "undo_merge.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFuture>
#include <climits>

#include "apfs_engine.h"
#include "engine_error.h"
#include "file_tree.h"
#include "tree_removal.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::removeContents;
using sorrelix::testing::ScopedConfigHome;

constexpr double kTime = 1'700'000'000.0;

using Tree = FileTree;

template <typename Work>
std::optional<EngineError> errorOf(Work&& work) {
    try {
        work();
    } catch (const EngineError& error) {
        return error;
    }
    return std::nullopt;
}

int removeBelow(const FileTree& tree, const std::string& folder, const std::string& name) {
    const UniqueFd fd(::open(tree.path(folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return removeTree(fd.get(), name);
}

void expectBackupNotFound(const std::optional<EngineError>& error) {
    ASSERT_TRUE(error.has_value()) << "undo succeeded";
    EXPECT_EQ(error->domain(), "SorrelixEngine");
    EXPECT_EQ(error->code(), 404);
    EXPECT_EQ(error->description(), "Backup snapshot not found or already cleaned up");
}

class UndoMergeTest : public ::testing::Test {
protected:
    MergeSessionRecord merge() const {
        const MergeSummary summary = APFSEngine::shared().analyzeNow(source.root(), target.root());
        return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, {});
    }
    static void undo(const MergeSessionRecord& record) {
        APFSEngine::shared().undoMergeNow(record);
    }
    std::string backupFolder(const MergeSessionRecord& record) const {
        return ".sorrelix/backups/" + record.id;
    }
    // A record as a forger (or a damaged history) might present it, for this target.
    MergeSessionRecord forged(std::string backupDir, std::vector<std::string> added) const {
        return {"abcdef12", Date::now(), source.root(),        target.root(),
                1,          0,           std::move(backupDir), std::move(added)};
    }

    ScopedConfigHome config;
    Tree source;
    Tree target;
};

// ---- undoing a merge --------------------------------------------------------------------

TEST_F(UndoMergeTest, RestoresReplacedFilesWithTheirTimesAndDeletesAddedOnes) {
    target.file("diff.txt", "old", kTime - 50);
    target.setMtime("diff.txt", kTime - 50.123456789);
    target.file("a/b/deep.txt", "old deep", kTime - 60);
    target.file("only-in-target.txt", "stays");
    source.file("diff.txt", "the new version");
    source.file("a/b/deep.txt", "the new deep version");
    source.file("new.txt", "new");
    source.file("fresh/folder/new.txt", "new in a new folder");
    struct stat before {};
    ASSERT_EQ(::stat(target.path("diff.txt").c_str(), &before), 0);

    const MergeSessionRecord record = merge();
    ASSERT_EQ(record.addedRelativePaths->size(), 2U);
    undo(record);

    EXPECT_EQ(target.read("diff.txt"), "old");
    struct stat after {};
    ASSERT_EQ(::stat(target.path("diff.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(target.read("a/b/deep.txt"), "old deep");
    EXPECT_DOUBLE_EQ(target.mtime("a/b/deep.txt"), kTime - 60);
    EXPECT_EQ(target.read("only-in-target.txt"), "stays");
    EXPECT_FALSE(target.exists("new.txt"));
    EXPECT_FALSE(target.exists("fresh/folder/new.txt"));
    // The folders made to hold added files stay, and so does the backup area itself.
    EXPECT_TRUE(target.exists("fresh/folder"));
    EXPECT_FALSE(target.exists(backupFolder(record)));
    EXPECT_EQ(target.list(),
              (std::vector<std::string>{".sorrelix", ".sorrelix/backups", ".sorrelix/journals", "a",
                                        "a/b", "a/b/deep.txt", "diff.txt", "fresh", "fresh/folder",
                                        "only-in-target.txt"}));
    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(history[0].id, record.id);
}

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
        {"added and updated files deleted",
         [](const FileTree& t) {
             ::unlink(t.path("a.txt").c_str());
             ::unlink(t.path("u.txt").c_str());
         },
         {}},
    };
    for (const auto& change : cases) {
        SCOPED_TRACE(change.name);
        const Tree from;
        const Tree into;
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
    }
}

// Only "<target>/.sorrelix/backups/<8 hex digits>" is a merge's backup folder, "/" included.
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
        {"/t/.sorrelix/backups/ABCDEF12", "/t", false},
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

// A target folder gone since the merge took its backup folder with it.
TEST_F(UndoMergeTest, ATargetFolderThatIsGoneFailsWith404) {
    source.file("new.txt", "new");
    const MergeSessionRecord record = merge();
    removeContents(target.root());
    ASSERT_EQ(::rmdir(target.root().c_str()), 0);
    expectBackupNotFound(errorOf([&] { undo(record); }));
    ASSERT_EQ(::mkdir(target.root().c_str(), 0700), 0);  // for the tree's own clean-up
}

// Lock files are the engine's own and go when their holder is done: none pile up, neither in
// the runtime folder nor in the target.
TEST_F(UndoMergeTest, NoLockFileOutlivesTheMergeOrTheUndo) {
    const Tree runtime;
    ::chmod(runtime.root().c_str(), 0700);
    const std::string previous =
        std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.root().c_str(), 1);
    source.file("new.txt", "new");
    const MergeSessionRecord record = merge();
    EXPECT_EQ(runtime.list(), std::vector<std::string>{"sorrelix-locks"});
    EXPECT_FALSE(target.exists(".sorrelix/lock"));
    undo(record);
    EXPECT_EQ(runtime.list(), std::vector<std::string>{"sorrelix-locks"});
    EXPECT_FALSE(target.exists(".sorrelix/lock"));
    ::setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
}

TEST_F(UndoMergeTest, AnOlderMergeCanBeUndoneWithoutTouchingTheNewerOne) {
    target.file("x.txt", "x1");
    target.file("y.txt", "y1");
    source.file("x.txt", "x two");
    source.file("a.txt", "added first");
    const MergeSessionRecord first = merge();
    ::unlink(source.path("x.txt").c_str());
    ::unlink(source.path("a.txt").c_str());
    source.file("y.txt", "y two");
    source.file("b.txt", "added second");
    const MergeSessionRecord second = merge();

    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 2U);
    undo(history[1]);
    EXPECT_EQ(target.read("x.txt"), "x1");
    EXPECT_FALSE(target.exists("a.txt"));
    EXPECT_EQ(target.read("y.txt"), "y two");
    EXPECT_EQ(target.read("b.txt"), "added second");
    EXPECT_TRUE(target.exists(backupFolder(second)));

    undo(history[0]);
    EXPECT_EQ(target.read("y.txt"), "y1");
    EXPECT_FALSE(target.exists("b.txt"));
    EXPECT_EQ(first.id, history[1].id);
}

// A second undo must not delete what the user has put at the added places since the first.
TEST_F(UndoMergeTest, AMissingBackupFolderFailsWith404WithoutDeletingAnything) {
    source.file("new.txt", "new");
    const MergeSessionRecord record = merge();
    undo(record);
    target.file("new.txt", "the user's own file, made after the undo");
    expectBackupNotFound(errorOf([&] { undo(record); }));
    EXPECT_EQ(target.read("new.txt"), "the user's own file, made after the undo");

    source.file("again.txt", "added again");
    const MergeSessionRecord second = merge();
    ASSERT_EQ(removeBelow(target, ".sorrelix/backups", second.id), 0);
    expectBackupNotFound(errorOf([&] { undo(second); }));
    EXPECT_TRUE(target.exists("again.txt"));
}

// Undoing the older of two merges that changed the same file would put the original back
// over the newer copy, and undoing the newer one then would delete that original.
TEST_F(UndoMergeTest, AnOlderMergeIsRefusedWhileANewerOneThatChangedTheSameFilesStands) {
    target.file("x.txt", "original");
    source.file("x.txt", "first version");
    source.file("n.txt", "added first");
    const MergeSessionRecord first = merge();
    source.file("x.txt", "second version, longer");
    source.file("n.txt", "added first, then changed");
    const MergeSessionRecord second = merge();

    const auto error = errorOf([&] { undo(first); });
    ASSERT_TRUE(error.has_value()) << "the older undo went ahead";
    EXPECT_EQ(error->domain(), "SorrelixEngine");
    EXPECT_EQ(error->code(), 409);
    EXPECT_EQ(target.read("x.txt"), "second version, longer");
    EXPECT_EQ(target.read("n.txt"), "added first, then changed");
    EXPECT_TRUE(target.exists(backupFolder(first)));

    undo(second);
    undo(first);
    EXPECT_EQ(target.read("x.txt"), "original");
    EXPECT_FALSE(target.exists("n.txt"));
}

TEST_F(UndoMergeTest, TheAsynchronousFormCarriesTheErrorThroughTheFuture) {
    source.file("new.txt", "new");
    const MergeSessionRecord record = merge();
    auto done = APFSEngine::shared().undoMerge(record);
    done.waitForFinished();
    EXPECT_FALSE(target.exists("new.txt"));
    auto again = APFSEngine::shared().undoMerge(record);
    expectBackupNotFound(errorOf([&] { again.waitForFinished(); }));
}

TEST_F(UndoMergeTest, ARecordWithoutAddedPathsOnlyRestores) {
    target.file("diff.txt", "old");
    source.file("diff.txt", "the new version");
    source.file("new.txt", "new");
    MergeSessionRecord record = merge();
    // As written by an older version, which kept no journal in the target.
    record.addedRelativePaths.reset();
    ASSERT_EQ(::unlink(target.path(".sorrelix/journals/" + record.id).c_str()), 0);
    undo(record);
    EXPECT_EQ(target.read("diff.txt"), "old");
    EXPECT_EQ(target.read("new.txt"), "new");
}

TEST_F(UndoMergeTest, AnOnlyAddingMergeLeavesAnEmptyBackupThatUndoRemoves) {
    source.file("one.txt", "1");
    source.file("two/three.txt", "3");
    const MergeSessionRecord record = merge();
    EXPECT_EQ(target.list().size(), 8U);  // with the journals folder and the journal
    undo(record);
    EXPECT_EQ(target.list(), (std::vector<std::string>{".sorrelix", ".sorrelix/backups",
                                                       ".sorrelix/journals", "two"}));
}

TEST_F(UndoMergeTest, WhatTakesARestorePlaceMeanwhileIsReplacedByTheBackedUpFile) {
    target.file("doc.txt", "old");
    target.file("folder-now/keep.txt", "old");
    source.file("doc.txt", "merged");
    source.file("folder-now/keep.txt", "merged");
    const MergeSessionRecord record = merge();
    target.file("doc.txt", "edited after the merge");
    ASSERT_EQ(::unlink(target.path("folder-now/keep.txt").c_str()), 0);
    target.file("folder-now/keep.txt/inside.txt", "a folder where the file was");
    undo(record);
    EXPECT_EQ(target.read("doc.txt"), "old");
    EXPECT_EQ(target.read("folder-now/keep.txt"), "old");
}

TEST_F(UndoMergeTest, ABackedUpFileWhoseFolderIsGoneFailsAndStaysInTheBackup) {
    target.file("gone/x.txt", "old");
    source.file("gone/x.txt", "merged");
    const MergeSessionRecord record = merge();
    ASSERT_EQ(removeBelow(target, "", "gone"), 0);
    const auto error = errorOf([&] { undo(record); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_EQ(target.read(backupFolder(record) + "/gone/x.txt"), "old");
}

TEST_F(UndoMergeTest, NamesThatAreNotUtf8AreRestoredByteForByte) {
    const std::string odd = "\xff\xfe/caf\xe9.txt";
    target.file(odd, "old", kTime);
    source.file(odd, "merged");
    source.file("new\x80.txt", "new");
    undo(merge());
    EXPECT_EQ(target.read(odd), "old");
    EXPECT_FALSE(target.exists("new\x80.txt"));
}

// ---- records that point elsewhere -------------------------------------------------------

TEST_F(UndoMergeTest, ABackupFolderThatIsNotThisTargetsIsRefusedBeforeAnyDeletion) {
    Tree elsewhere;
    elsewhere.file(".sorrelix/backups/abcdef12/victim.txt", "outside");
    elsewhere.file("victim.txt", "outside");
    target.file("added.txt", "would be deleted");
    const std::string area = target.root() + "/.sorrelix/backups/";
    target.folder(".sorrelix/backups/abcdef12");
    for (const std::string& backupDir :
         {elsewhere.root() + "/.sorrelix/backups/abcdef12", area + "ABCDEF12", area + "abcdef1",
          area + "abcdef123", area + "abcdefgh", area + "../../../" + elsewhere.root(),
          area + "abcdef12/", area + "ab/def12", target.root() + "/.sorrelix/abcdef12",
          std::string(area.begin(), area.end() - 1), std::string()}) {
        SCOPED_TRACE(backupDir);
        const auto error = errorOf([&] { undo(forged(backupDir, {"added.txt"})); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->domain(), "SorrelixEngine");
        EXPECT_EQ(error->code(), EINVAL);
    }
    EXPECT_EQ(target.read("added.txt"), "would be deleted");
    EXPECT_EQ(elsewhere.read(".sorrelix/backups/abcdef12/victim.txt"), "outside");
    EXPECT_EQ(elsewhere.read("victim.txt"), "outside");
}

TEST_F(UndoMergeTest, UnsafeAddedPathsAreSkippedAndSafeOnesDeleted) {
    Tree elsewhere;
    const std::string outsideName = elsewhere.root().substr(elsewhere.root().rfind('/') + 1);
    elsewhere.file("victim.txt", "outside");
    target.file("inner/victim.txt", "inside, not listed plainly");
    target.file("listed.txt", "added");
    target.symlink("out", elsewhere.root());
    target.folder(".sorrelix/backups/abcdef12");
    undo(forged(target.root() + "/.sorrelix/backups/abcdef12",
                {"", "/" + elsewhere.path("victim.txt"), elsewhere.path("victim.txt"),
                 "../" + outsideName + "/victim.txt", "inner/../../" + outsideName + "/victim.txt",
                 "./inner/victim.txt", "inner//victim.txt", "out/victim.txt", "listed.txt",
                 std::string("inner/victim.txt\0.bak", 21)}));
    EXPECT_EQ(elsewhere.read("victim.txt"), "outside");
    EXPECT_EQ(target.read("inner/victim.txt"), "inside, not listed plainly");
    EXPECT_TRUE(target.isSymlink("out"));
    EXPECT_FALSE(target.exists("listed.txt"));
}

TEST_F(UndoMergeTest, RestoringThroughALinkOutOfTheTargetTouchesNothingOutside) {
    Tree elsewhere;
    elsewhere.file("d/f.txt", "outside");
    target.file(".sorrelix/backups/abcdef12/d/f.txt", "backed up");
    target.symlink("d", elsewhere.path("d"));
    undo(forged(target.root() + "/.sorrelix/backups/abcdef12", {}));
    EXPECT_EQ(elsewhere.read("d/f.txt"), "outside");
    EXPECT_EQ(elsewhere.list(), (std::vector<std::string>{"d", "d/f.txt"}));
}

TEST_F(UndoMergeTest, ABackupAreaLinkedOutOfTheTargetIsNeitherReadNorRemoved) {
    Tree elsewhere;
    elsewhere.file("backups/abcdef12/f.txt", "outside");
    target.symlink(".sorrelix", elsewhere.root());
    const auto error =
        errorOf([&] { undo(forged(target.root() + "/.sorrelix/backups/abcdef12", {})); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(elsewhere.read("backups/abcdef12/f.txt"), "outside");
    EXPECT_FALSE(target.exists("f.txt"));
}

// ---- recursive removal ------------------------------------------------------------------

TEST(TreeRemovalTest, NeverFollowsALinkOutOfTheTreeItRemoves) {
    Tree outside;
    outside.file("folder/precious.txt", "keep");
    outside.file("precious.txt", "keep");
    Tree tree;
    tree.file("doomed/a.txt", "a");
    tree.symlink("doomed/to-folder", outside.path("folder"));
    tree.symlink("doomed/to-file", outside.path("precious.txt"));
    tree.symlink("doomed/sub/to-root", outside.root());
    tree.symlink("link-to-folder", outside.path("folder"));
    const UniqueFd root(::open(tree.root().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));

    EXPECT_EQ(removeTree(root.get(), "doomed"), 0);
    EXPECT_EQ(removeTree(root.get(), "link-to-folder"), 0);
    EXPECT_EQ(tree.list(), std::vector<std::string>{});
    EXPECT_EQ(outside.list(),
              (std::vector<std::string>{"folder", "folder/precious.txt", "precious.txt"}));
    EXPECT_EQ(removeTree(root.get(), "missing"), ENOENT);
}

TEST(TreeRemovalTest, RemovesTreesDeeperThanPathMaxWithOddNames) {
    Tree tree;
    UniqueFd fd(::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::string component = "\xff" + std::string(200, 'd');
    std::size_t depth = 0;
    ASSERT_EQ(::mkdirat(fd.get(), "top", 0755), 0);
    fd = UniqueFd(::openat(fd.get(), "top", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (int level = 0; level < 25; ++level, depth += component.size() + 1) {
        ASSERT_EQ(::mkdirat(fd.get(), component.c_str(), 0755), 0);
        UniqueFd(::openat(fd.get(), "file\x80", O_WRONLY | O_CREAT, 0644));
        fd = UniqueFd(::openat(fd.get(), component.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        ASSERT_TRUE(fd);
    }
    ASSERT_GT(depth, std::size_t{PATH_MAX});
    const UniqueFd root(::open(tree.root().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    EXPECT_EQ(removeTree(root.get(), "top"), 0);
    EXPECT_FALSE(tree.exists("top"));
}

}  // namespace
}  // namespace sorrelix::engine
