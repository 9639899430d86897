#include "merge_execution.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QFuture>
#include <QThread>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <random>
#include <regex>
#include <set>
#include <thread>

#include "apfs_engine.h"
#include "engine_error.h"
#include "file_tree.h"
#include "record_json.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::ScopedConfigHome;

constexpr double kTime = 1'700'000'000.0;

using Tree = FileTree;

struct ProgressCall {
    std::int64_t current;
    std::int64_t total;
    std::string path;
    friend bool operator==(const ProgressCall&, const ProgressCall&) = default;
};

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

template <typename Work>
std::optional<EngineError> errorOf(Work&& work) {
    try {
        work();
    } catch (const EngineError& error) {
        return error;
    }
    return std::nullopt;
}

MergeSummary analyzeTrees(const FileTree& source, const FileTree& target) {
    MergeSummary summary = APFSEngine::shared().analyzeNow(source.root(), target.root());
    if (summary.errorMessage) throw std::runtime_error("the analysis failed");
    return summary;
}

MergeSessionRecord mergeTrees(const FileTree& source, const FileTree& target,
                              const MergeSummary& summary, const ProgressCallback& progress = {}) {
    return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, progress);
}

MergeSessionRecord mergeTrees(const FileTree& source, const FileTree& target) {
    return mergeTrees(source, target, analyzeTrees(source, target));
}

std::string backupOf(const MergeSessionRecord& record, const std::string& relative) {
    return std::string(MergeExecution::kBackupsFolder) + "/" + record.id + "/" + relative;
}

const FileDiffItem& itemAt(const MergeSummary& summary, const std::string& path) {
    for (const auto& item : summary.items) {
        if (item.relativePath == path) return item;
    }
    throw std::runtime_error("no item for " + path);
}

// The summary with its items in the given order, for tests where the order matters.
MergeSummary inOrder(const MergeSummary& summary, const std::vector<std::string>& paths) {
    MergeSummary ordered = summary;
    ordered.items.clear();
    for (const auto& path : paths) ordered.items.push_back(itemAt(summary, path));
    return ordered;
}

struct stat lstatOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) throw std::runtime_error("lstat " + path);
    return st;
}

std::string xattrOf(const std::string& path, const char* name) {
    char value[1024];
    const ssize_t size = ::lgetxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string("<none>") : std::string(value, static_cast<std::size_t>(size));
}

// Entries of the target that the merge may legitimately leave besides `known`: the backup
// area's folders. Any file or link elsewhere is a stray.
std::vector<std::string> strayEntries(const FileTree& target, const std::set<std::string>& known) {
    std::vector<std::string> strays;
    for (const auto& path : target.list()) {
        const bool backupFolder =
            path.starts_with(".sorrelix") && S_ISDIR(lstatOf(target.path(path)).st_mode);
        const bool journal = path.starts_with(".sorrelix/journals/");
        if (!known.contains(path) && !backupFolder && !journal) strays.push_back(path);
    }
    return strays;
}

class MergeTest : public ::testing::Test {
protected:
    MergeSummary analyze() const { return analyzeTrees(source, target); }
    MergeSessionRecord merge(const MergeSummary& summary,
                             const ProgressCallback& progress = {}) const {
        return mergeTrees(source, target, summary, progress);
    }
    MergeSessionRecord merge() const { return mergeTrees(source, target); }

    ScopedConfigHome config;
    Tree source;
    Tree target;
};

// ---- what a merge leaves behind ---------------------------------------------------------

TEST_F(MergeTest, CopiesAddedAndUpdatedFilesAndKeepsEachOldVersionInTheBackup) {
    source.file("new.txt", "brand new", kTime + 1);
    source.file("a/b/c.txt", "the new version", kTime + 2);
    source.file("same.txt", "unchanged", kTime);
    source.file("sub/.DS_Store", "junk");
    source.file("._resource", "junk");
    target.file("a/b/c.txt", "old", kTime - 100);
    target.file("same.txt", "unchanged", kTime);
    const ino_t sameInode = lstatOf(target.path("same.txt")).st_ino;

    const MergeSummary summary = analyze();
    const MergeSessionRecord record = merge(summary);

    EXPECT_EQ(target.read("new.txt"), "brand new");
    EXPECT_EQ(target.read("a/b/c.txt"), "the new version");
    EXPECT_DOUBLE_EQ(target.mtime("a/b/c.txt"), kTime + 2);
    EXPECT_EQ(target.read(backupOf(record, "a/b/c.txt")), "old");
    EXPECT_DOUBLE_EQ(target.mtime(backupOf(record, "a/b/c.txt")), kTime - 100);
    // Added files leave no trace in the backup, identical ones are not touched at all.
    EXPECT_FALSE(target.exists(backupOf(record, "new.txt")));
    EXPECT_EQ(lstatOf(target.path("same.txt")).st_ino, sameInode);
    EXPECT_FALSE(target.exists("sub/.DS_Store"));
    EXPECT_FALSE(target.exists("._resource"));
    EXPECT_FALSE(target.exists("sub"));

    EXPECT_TRUE(std::regex_match(record.id, std::regex("[0-9a-f]{8}"))) << record.id;
    EXPECT_EQ(record.sourcePath, source.root());
    EXPECT_EQ(record.targetPath, target.root());
    EXPECT_EQ(record.backupDir, target.root() + "/.sorrelix/backups/" + record.id);
    EXPECT_EQ(record.addedCount, 1);
    EXPECT_EQ(record.updatedCount, 1);
    EXPECT_EQ(record.addedRelativePaths, std::vector<std::string>{"new.txt"});
    EXPECT_LE(record.timestamp.secondsApartFrom(Date::now()), 60.0);

    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(encodeJson(history[0]), encodeJson(record));
}

TEST_F(MergeTest, ProgressCountsEveryCopiedFileInSummaryOrderOnTheCallingThread) {
    source.file("one.txt", "1");
    source.file("deep/two.txt", "2");
    source.file("changed.txt", "new size");
    source.file("same.txt", "same");
    target.file("changed.txt", "old");
    target.file("same.txt", "same");
    const MergeSummary summary = analyze();

    std::vector<ProgressCall> calls;
    std::vector<ProgressCall> expected;
    std::int64_t current = 0;
    for (const auto& item : summary.items) {
        if (item.kind != FileDiffKind::identical)
            expected.push_back({++current, 3, item.relativePath});
    }
    const QThread* caller = QThread::currentThread();
    merge(summary, [&](std::int64_t done, std::int64_t total, const std::string& path) {
        EXPECT_EQ(QThread::currentThread(), caller);
        calls.push_back({done, total, path});
    });
    EXPECT_EQ(calls, expected);
}

TEST_F(MergeTest, ANothingToCopyMergeStillCreatesItsBackupFolderAndRecord) {
    source.file("same.txt", "same");
    target.file("same.txt", "same");
    MergeSummary summary = analyze();
    ASSERT_EQ(summary.identicalCount, 1);
    // The record carries the summary's counts as given, whatever is on disk.
    summary.addedCount = 7;
    summary.updatedCount = 5;
    int calls = 0;
    const MergeSessionRecord record =
        merge(summary, [&](std::int64_t, std::int64_t, const std::string&) { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(target.exists(".sorrelix/backups/" + record.id));
    // same.txt, the three backup folders, the journals folder and the merge's journal
    EXPECT_EQ(target.list().size(), 6U);
    ASSERT_TRUE(record.addedRelativePaths.has_value());
    EXPECT_TRUE(record.addedRelativePaths->empty());
    EXPECT_EQ(record.addedCount, 7);
    EXPECT_EQ(record.updatedCount, 5);
}

TEST_F(MergeTest, EachMergeHasItsOwnIdAndBackupAndIsPrependedToTheHistory) {
    source.file("x.txt", "version 2");
    target.file("x.txt", "v1");
    const MergeSessionRecord first = merge();
    source.file("x.txt", "the third version");
    const MergeSessionRecord second = merge();
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(target.read(backupOf(first, "x.txt")), "v1");
    EXPECT_EQ(target.read(backupOf(second, "x.txt")), "version 2");
    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 2U);
    EXPECT_EQ(history[0].id, second.id);
    EXPECT_EQ(history[1].id, first.id);
}

TEST_F(MergeTest, TheAsynchronousFormRunsOnAWorkerAndCarriesErrorsThroughTheFuture) {
    source.file("a.txt", "a");
    const MergeSummary summary = analyze();
    const QThread* caller = QThread::currentThread();
    const QThread* worker = nullptr;
    QFuture<MergeSessionRecord> future = APFSEngine::shared().executeMerge(
        source.root(), target.root(), summary,
        [&](std::int64_t, std::int64_t, const std::string&) { worker = QThread::currentThread(); });
    const MergeSessionRecord record = future.result();
    EXPECT_NE(worker, nullptr);
    EXPECT_NE(worker, caller);
    EXPECT_EQ(record.addedRelativePaths, std::vector<std::string>{"a.txt"});

    ::unlink(source.path("a.txt").c_str());
    QFuture<MergeSessionRecord> failing =
        APFSEngine::shared().executeMerge(source.root(), target.root(), summary, {});
    const auto error = errorOf([&] { failing.waitForFinished(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ENOENT);
}

// ---- clones and full copies ------------------------------------------------------------

struct Extents {
    unsigned count = 0;
    unsigned shared = 0;
};

Extents extentsOf(const std::string& path) {
    sorrelix::engine::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw std::runtime_error("open " + path);
    constexpr unsigned kMaxExtents = 256;
    std::vector<char> buffer(sizeof(fiemap) + kMaxExtents * sizeof(fiemap_extent));
    auto* map = reinterpret_cast<fiemap*>(buffer.data());
    map->fm_start = 0;
    map->fm_length = FIEMAP_MAX_OFFSET;
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = kMaxExtents;
    if (::ioctl(fd.get(), FS_IOC_FIEMAP, map) != 0) throw std::runtime_error("fiemap " + path);
    Extents extents;
    for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
        ++extents.count;
        if (map->fm_extents[i].fe_flags & FIEMAP_EXTENT_SHARED) ++extents.shared;
    }
    return extents;
}

long long freeBytes(const std::string& path) {
    sorrelix::engine::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ::syncfs(fd.get());
    struct statvfs info {};
    if (::fstatvfs(fd.get(), &info) != 0) throw std::runtime_error("statvfs " + path);
    return static_cast<long long>(info.f_bfree) * static_cast<long long>(info.f_frsize);
}

constexpr std::size_t kFourMiB = 4 << 20;

TEST(MergeCopiesTest, OnXfsFilesAreClonedAndShareTheirBlocks) {
    const std::string xfs = sorrelix::testing::xfsScratchDir();
    if (xfs.empty()) GTEST_SKIP() << "SORRELIX_XFS_DIR is not set: no reflink XFS mount";
    const sorrelix::testing::ScratchLock lock(xfs);
    ScopedConfigHome config;
    Tree source(xfs);
    Tree target(xfs);
    const std::string big = randomBytes(kFourMiB, 1);
    source.file("big.bin", big);
    source.file("media/changed.bin", randomBytes(kFourMiB, 2));
    target.file("media/changed.bin", randomBytes(1 << 20, 3));
    const long long before = freeBytes(target.root());

    const MergeSessionRecord record = mergeTrees(source, target);

    EXPECT_EQ(target.read("big.bin"), big);
    for (const char* path : {"big.bin", "media/changed.bin"}) {
        const Extents extents = extentsOf(target.path(path));
        EXPECT_GT(extents.count, 0U) << path;
        EXPECT_EQ(extents.shared, extents.count) << path << ": not a clone";
    }
    EXPECT_EQ(extentsOf(target.path(backupOf(record, "media/changed.bin"))).shared, 0U);
    // Two 4 MiB files arrived, yet hardly any block was used.
    EXPECT_LT(before - freeBytes(target.root()), 1 << 20);
}

TEST(MergeCopiesTest, OnExt4FilesAreFullCopiesWithTheSameBytes) {
    const std::string ext4 = sorrelix::testing::ext4ScratchDir();
    if (ext4.empty()) GTEST_SKIP() << "SORRELIX_EXT4_DIR is not set: no ext4 mount";
    const sorrelix::testing::ScratchLock lock(ext4);
    ScopedConfigHome config;
    Tree source(ext4);
    Tree target(ext4);
    const std::string big = randomBytes(kFourMiB, 4);
    source.file("big.bin", big);
    const long long before = freeBytes(target.root());

    mergeTrees(source, target);

    EXPECT_EQ(target.read("big.bin"), big);
    const Extents extents = extentsOf(target.path("big.bin"));
    EXPECT_GT(extents.count, 0U);
    EXPECT_EQ(extents.shared, 0U);
    EXPECT_GE(before - freeBytes(target.root()), static_cast<long long>(kFourMiB));
}

// ---- metadata, on every kind of file system --------------------------------------------

std::string scratchParent(const std::string& kind) {
    if (kind == "xfs") return sorrelix::testing::xfsScratchDir();
    if (kind == "ext4") return sorrelix::testing::ext4ScratchDir();
    return "/tmp";
}

class MergeMetadataTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MergeMetadataTest, ModeTimesOwnerXattrsAndAclsAreCarried) {
    const std::string parent = scratchParent(GetParam());
    if (parent.empty()) GTEST_SKIP() << "no " << GetParam() << " scratch mount is set up";
    if (::geteuid() != 0) GTEST_SKIP() << "giving files away to another owner needs root";
    const sorrelix::testing::ScratchLock lock(parent);
    ScopedConfigHome config;
    Tree source(parent);
    Tree target(parent);
    source.file("private.txt", "secret");
    source.file("bin/tool", "#!/bin/sh\n");
    source.file("replaced.txt", "the new version");
    target.file("replaced.txt", "old");
    source.chmod("private.txt", 0640);
    const timespec times[2] = {{1'600'000'000, 5}, {1'700'000'000, 123'456'789}};
    for (const char* path : {"private.txt", "bin/tool", "replaced.txt"}) {
        const std::string full = source.path(path);
        ASSERT_EQ(::lchown(full.c_str(), 1234, 1234), 0);
        ASSERT_EQ(::utimensat(AT_FDCWD, full.c_str(), times, 0), 0);
        ASSERT_EQ(::lsetxattr(full.c_str(), "user.test", "value\0x", 7, 0), 0) << path;
    }
    // chown drops the set-user-id bit: set it again afterwards, as a user would.
    source.chmod("bin/tool", 04755);
    const std::string acl = "setfacl -m u:4321:rw,g:4321:r '" + source.path("private.txt") + "'";
    ASSERT_EQ(std::system(acl.c_str()), 0);

    mergeTrees(source, target);

    for (const char* path : {"private.txt", "bin/tool", "replaced.txt"}) {
        SCOPED_TRACE(path);
        const struct stat from = lstatOf(source.path(path));
        const struct stat to = lstatOf(target.path(path));
        EXPECT_EQ(target.read(path), source.read(path));
        EXPECT_EQ(to.st_mode, from.st_mode);
        EXPECT_EQ(to.st_uid, 1234U);
        EXPECT_EQ(to.st_gid, 1234U);
        EXPECT_EQ(to.st_mtim.tv_sec, times[1].tv_sec);
        EXPECT_EQ(to.st_mtim.tv_nsec, times[1].tv_nsec);
        EXPECT_EQ(xattrOf(target.path(path), "user.test"), std::string("value\0x", 7));
    }
    EXPECT_EQ(target.mode("bin/tool"), 04755U);
    EXPECT_EQ(target.mode("private.txt"), source.mode("private.txt"));
    const std::string sourceAcl = xattrOf(source.path("private.txt"), "system.posix_acl_access");
    ASSERT_NE(sourceAcl, "<none>");
    EXPECT_EQ(xattrOf(target.path("private.txt"), "system.posix_acl_access"), sourceAcl);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, MergeMetadataTest, ::testing::Values("tmp", "xfs", "ext4"),
                         [](const auto& info) { return info.param; });

TEST_F(MergeTest, WithoutPrivilegesTheCopyIsTheMergersOwnAndTheMergeSucceeds) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
    source.chmod("", 0755);
    target.chmod("", 0777);
    source.file("root-owned.txt", "readable by all");
    source.chmod("root-owned.txt", 0644);
    const MergeSummary summary = analyze();
    const auto outcome = sorrelix::testing::runAsNobody([&] {
        try {
            mergeTrees(source, target, summary);
            return std::string("merged");
        } catch (const EngineError& error) {
            return error.description().toStdString();
        }
    });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(*outcome, "merged");
    const struct stat copy = lstatOf(target.path("root-owned.txt"));
    EXPECT_EQ(copy.st_uid, sorrelix::testing::kNobodyId);
    EXPECT_EQ(copy.st_mode & 07777, 0644U);
    EXPECT_EQ(target.read("root-owned.txt"), "readable by all");
}

// ---- a place that was taken after the analysis -----------------------------------------

class OccupiedPlaceTest : public MergeTest {
protected:
    // Merges an added file whose place `occupy` fills first, checks the occupant went to the
    // backup unchanged (by `expectOccupant`), then undoes and checks it came back.
    void mergeOverAndUndo(
        const std::function<void(const FileTree&, const std::string&)>& occupy,
        const std::function<void(const FileTree&, const std::string&)>& expectOccupant) {
        source.file("docs/place", "from the source");
        target.folder("docs");
        const MergeSummary summary = analyze();
        ASSERT_EQ(itemAt(summary, "docs/place").kind, FileDiffKind::added);
        occupy(target, "docs/place");

        const MergeSessionRecord record = merge(summary);
        EXPECT_EQ(target.read("docs/place"), "from the source");
        {
            SCOPED_TRACE("in the backup");
            expectOccupant(target, backupOf(record, "docs/place"));
        }
        APFSEngine::shared().undoMergeNow(record);
        SCOPED_TRACE("after undo");
        expectOccupant(target, "docs/place");
        EXPECT_FALSE(target.exists(".sorrelix/backups/" + record.id));
    }
};

TEST_F(OccupiedPlaceTest, AFileIsBackedUpAndRestored) {
    mergeOverAndUndo([](const FileTree& tree,
                        const std::string& path) { tree.file(path, "written meanwhile", kTime); },
                     [](const FileTree& tree, const std::string& path) {
                         EXPECT_EQ(tree.read(path), "written meanwhile");
                         EXPECT_DOUBLE_EQ(tree.mtime(path), kTime);
                     });
}

TEST_F(OccupiedPlaceTest, AFolderIsBackedUpAndRestoredWithItsContents) {
    mergeOverAndUndo(
        [](const FileTree& tree, const std::string& path) {
            tree.file(path + "/inner.txt", "inside");
            tree.file(path + "/sub/deeper.txt", "deeper");
        },
        [](const FileTree& tree, const std::string& path) {
            ASSERT_TRUE(tree.exists(path + "/inner.txt"));
            EXPECT_EQ(tree.read(path + "/inner.txt"), "inside");
            EXPECT_EQ(tree.read(path + "/sub/deeper.txt"), "deeper");
        });
}

TEST_F(OccupiedPlaceTest, ASymbolicLinkIsBackedUpAndRestoredAsALink) {
    mergeOverAndUndo(
        [](const FileTree& tree, const std::string& path) { tree.symlink(path, "../elsewhere"); },
        [](const FileTree& tree, const std::string& path) {
            ASSERT_TRUE(tree.isSymlink(path));
            EXPECT_EQ(tree.readLink(path), "../elsewhere");
        });
}

// ---- a failed copy leaves nothing half-done --------------------------------------------

TEST(MergeOntoAFullDiskTest, AFailedCopyLeavesTheOldVersionInPlaceAndNoPartialFile) {
    const std::string tiny = sorrelix::testing::tinyScratchDir();
    if (tiny.empty()) GTEST_SKIP() << "SORRELIX_TINY_DIR is not set: no small tmpfs";
    const sorrelix::testing::ScratchLock lock(tiny);
    ScopedConfigHome config;
    Tree source;
    Tree target(tiny);
    const std::string old = randomBytes(1 << 20, 5);
    target.file("big.bin", old, kTime);
    target.file("filler.bin", randomBytes(1 << 20, 6));
    source.file("small.txt", "fits");
    source.file("big.bin", randomBytes(3 << 20, 7));
    source.file("added-big.bin", randomBytes(3 << 20, 8));
    const MergeSummary summary = analyzeTrees(source, target);
    const long long before = freeBytes(target.root());

    // The small file comes first only once: a second time it would be an occupied place.
    for (const auto& items : {std::vector<std::string>{"small.txt", "big.bin"},
                              std::vector<std::string>{"added-big.bin"}}) {
        const std::string& failing = items.back();
        SCOPED_TRACE(failing);
        const auto error = errorOf([&] { mergeTrees(source, target, inOrder(summary, items)); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->domain(), "SorrelixEngine");
        EXPECT_EQ(error->code(), ENOSPC);
        EXPECT_EQ(error->description(),
                  QStringLiteral("Failed to copy %1 (errno: 28)").arg(failing.c_str()));
    }
    // Nothing is rolled back, nothing is lost, nothing half-written is left.
    EXPECT_EQ(target.read("small.txt"), "fits");
    EXPECT_EQ(target.read("big.bin"), old);
    EXPECT_DOUBLE_EQ(target.mtime("big.bin"), kTime);
    EXPECT_FALSE(target.exists("added-big.bin"));
    EXPECT_EQ(strayEntries(target, {"big.bin", "filler.bin", "small.txt"}),
              std::vector<std::string>{});
    EXPECT_GE(freeBytes(target.root()), before - (64 << 10));
    for (const auto& record : APFSEngine::shared().loadSessionRecords()) {
        EXPECT_EQ(record.outcome, MergeOutcome::failed);
    }
}

// ---- nothing outside the target ---------------------------------------------------------

TEST_F(MergeTest, AFolderLinkLeadingOutOfTheTargetStopsTheMergeAtThatItem) {
    Tree elsewhere;
    const std::string outsideName = elsewhere.root().substr(elsewhere.root().rfind('/') + 1);
    target.symlink("absolute", elsewhere.root());
    target.symlink("relative", "../" + outsideName);
    source.file("absolute/x.txt", "must not leave the target");
    source.file("relative/x.txt", "must not leave the target");
    const MergeSummary summary = analyze();
    for (const char* path : {"absolute/x.txt", "relative/x.txt"}) {
        SCOPED_TRACE(path);
        const auto error = errorOf([&] { merge(inOrder(summary, {path})); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->domain(), "SorrelixEngine");
        EXPECT_TRUE(error->description().contains("outside")) << error->description().toStdString();
    }
    EXPECT_EQ(elsewhere.list(), std::vector<std::string>{});
}

TEST_F(MergeTest, ALinkThatStaysInsideTheTargetIsFollowedButAnAbsoluteOneIsNot) {
    target.folder("real");
    target.file("real/old.txt", "old");
    target.symlink("inside", "real");
    target.symlink("absolute", target.path("real"));
    source.file("inside/new.txt", "through the link");
    source.file("inside/old.txt", "newer");
    source.file("absolute/refused.txt", "refused");
    const MergeSummary summary = analyze();

    const MergeSessionRecord record = merge(inOrder(summary, {"inside/new.txt", "inside/old.txt"}));
    EXPECT_EQ(target.read("real/new.txt"), "through the link");
    EXPECT_EQ(target.read("real/old.txt"), "newer");
    EXPECT_EQ(target.read(backupOf(record, "inside/old.txt")), "old");
    EXPECT_TRUE(target.isSymlink("inside"));

    const auto error = errorOf([&] { merge(inOrder(summary, {"absolute/refused.txt"})); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain(), "SorrelixEngine");
    EXPECT_FALSE(target.exists("real/refused.txt"));

    APFSEngine::shared().undoMergeNow(record);
    EXPECT_FALSE(target.exists("real/new.txt"));
    EXPECT_EQ(target.read("real/old.txt"), "old");
}

TEST_F(MergeTest, ABackupAreaLinkedOutOfTheTargetIsRefusedBeforeAnythingHappens) {
    Tree elsewhere;
    target.symlink(".sorrelix", elsewhere.root());
    source.file("a.txt", "a");
    const auto error = errorOf([&] { merge(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain(), "SorrelixEngine");
    EXPECT_EQ(elsewhere.list(), std::vector<std::string>{});
    EXPECT_FALSE(target.exists("a.txt"));
}

TEST_F(MergeTest, ABackupAreaLinkedInsideTheTargetCanBeMergedAndUndone) {
    target.folder("kept/backups");
    target.symlink(".sorrelix", "kept");
    source.file("x.txt", "new version");
    target.file("x.txt", "old");
    const MergeSessionRecord record = merge();
    EXPECT_EQ(target.read("kept/backups/" + record.id + "/x.txt"), "old");
    APFSEngine::shared().undoMergeNow(record);
    EXPECT_EQ(target.read("x.txt"), "old");
    EXPECT_FALSE(target.exists("kept/backups/" + record.id));
}

// ---- names that are bytes --------------------------------------------------------------

TEST_F(MergeTest, NamesThatAreNotUtf8SurviveMergeHistoryAndUndoByteForByte) {
    const std::string latin1 = "caf\xe9.txt";
    const std::string folder = "\xff\xfe";
    const std::string updated = folder + "/old\x80.txt";
    source.file(latin1, "added");
    source.file(folder + "/inner.txt", "added too");
    source.file(updated, "new version");
    target.file(updated, "old", kTime);
    const MergeSessionRecord record = merge();
    EXPECT_EQ(target.read(latin1), "added");
    EXPECT_EQ(target.read(folder + "/inner.txt"), "added too");
    EXPECT_EQ(target.read(backupOf(record, updated)), "old");

    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 1U);
    ASSERT_TRUE(history[0].addedRelativePaths.has_value());
    const std::set<std::string> stored(history[0].addedRelativePaths->begin(),
                                       history[0].addedRelativePaths->end());
    EXPECT_EQ(stored, (std::set<std::string>{latin1, folder + "/inner.txt"}));

    APFSEngine::shared().undoMergeNow(history[0]);
    EXPECT_FALSE(target.exists(latin1));
    EXPECT_FALSE(target.exists(folder + "/inner.txt"));
    EXPECT_EQ(target.read(updated), "old");
    EXPECT_DOUBLE_EQ(target.mtime(updated), kTime);
}

// ---- entries that are not regular files -------------------------------------------------

// Runs `work` on a thread of its own and stops waiting after `limit`, so that a merge that
// blocks fails the test instead of hanging the suite (the stuck thread is abandoned).
template <typename T>
std::optional<T> finishedWithin(std::chrono::seconds limit, std::function<T()> work) {
    auto task = std::make_shared<std::packaged_task<T()>>(std::move(work));
    std::future<T> result = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
    return result.get();
}

TEST_F(MergeTest, FifosSocketsAndLinksAreCopiedAsWhatTheyAreWithoutBlocking) {
    source.fifo("pipe");
    source.socket("sub/socket");
    source.symlink("link", "real.txt");
    source.symlink("dangling", "/nowhere/at/all");
    source.file("real.txt", "real");
    target.file("link", "a file the link replaces");
    const MergeSummary summary = analyze();
    const std::string sourceRoot = source.root();
    const std::string targetRoot = target.root();
    const auto outcome = finishedWithin<std::string>(std::chrono::seconds(30), [=] {
        try {
            APFSEngine::shared().executeMergeNow(sourceRoot, targetRoot, summary, {});
            return std::string("merged");
        } catch (const EngineError& error) {
            return error.description().toStdString();
        }
    });
    ASSERT_TRUE(outcome.has_value()) << "the merge was still running after 30 s";
    EXPECT_EQ(*outcome, "merged");
    EXPECT_TRUE(S_ISFIFO(lstatOf(target.path("pipe")).st_mode));
    EXPECT_TRUE(S_ISSOCK(lstatOf(target.path("sub/socket")).st_mode));
    ASSERT_TRUE(target.isSymlink("link"));
    EXPECT_EQ(target.readLink("link"), "real.txt");
    ASSERT_TRUE(target.isSymlink("dangling"));
    EXPECT_EQ(target.readLink("dangling"), "/nowhere/at/all");
    EXPECT_EQ(target.read("real.txt"), "real");
}

// ---- bad input -------------------------------------------------------------------------

TEST_F(MergeTest, AMissingOrNonFolderTargetFailsWithoutCreatingAnything) {
    source.file("a.txt", "a");
    const MergeSummary summary = analyze();
    target.file("plain-file", "not a folder");
    const std::string missing = target.path("missing");
    for (const auto& [path, code] :
         {std::pair{missing, ENOENT}, std::pair{target.path("plain-file"), ENOTDIR}}) {
        SCOPED_TRACE(path);
        const auto error = errorOf(
            [&] { APFSEngine::shared().executeMergeNow(source.root(), path, summary, {}); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->code(), code);
        EXPECT_TRUE(error->description().contains(QString::fromStdString(path)));
    }
    EXPECT_FALSE(target.exists("missing"));
    EXPECT_EQ(target.read("plain-file"), "not a folder");
    EXPECT_TRUE(APFSEngine::shared().loadSessionRecords().empty());
}

TEST_F(MergeTest, ASourceFileThatVanishedAfterTheAnalysisFailsWithItsPathAndEnoent) {
    source.file("docs/gone.txt", "soon gone");
    source.file("docs/changed.txt", "new version");
    target.file("docs/changed.txt", "old");
    const MergeSummary summary = analyze();
    ::unlink(source.path("docs/gone.txt").c_str());
    ::unlink(source.path("docs/changed.txt").c_str());
    for (const char* path : {"docs/gone.txt", "docs/changed.txt"}) {
        SCOPED_TRACE(path);
        const auto error = errorOf([&] { merge(inOrder(summary, {path})); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->domain(), "SorrelixEngine");
        EXPECT_EQ(error->code(), ENOENT);
        EXPECT_EQ(error->description(), QStringLiteral("Failed to copy %1 (errno: 2)").arg(path));
    }
    // The updated file's old version was put back where it was.
    EXPECT_EQ(target.read("docs/changed.txt"), "old");
    EXPECT_FALSE(target.exists("docs/gone.txt"));
    EXPECT_EQ(strayEntries(target, {"docs", "docs/changed.txt"}), std::vector<std::string>{});
    // Both failed merges are in the history, as failed.
    const auto history = APFSEngine::shared().loadSessionRecords();
    ASSERT_EQ(history.size(), 2U);
    for (const auto& record : history) EXPECT_EQ(record.outcome, MergeOutcome::failed);
}

TEST_F(MergeTest, AFileWhereTheMergeNeedsAFolderFailsTheItemWithEnotdir) {
    source.file("a%1/x.txt", "x");
    const MergeSummary summary = analyze();
    target.file("a%1", "a file, not a folder");
    const auto error = errorOf([&] { merge(summary); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->domain(), "SorrelixEngine");
    EXPECT_EQ(error->code(), ENOTDIR);
    EXPECT_EQ(error->description(), "Failed to copy a%1/x.txt (errno: 20)");
    EXPECT_EQ(target.read("a%1"), "a file, not a folder");
}

TEST_F(MergeTest, AnUnreadableSourceFileFailsWithEaccesAfterTheFilesBeforeIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
    source.chmod("", 0755);
    target.chmod("", 0777);
    source.file("docs/a.txt", "private");
    source.file("docs/b.txt", "public");
    source.chmod("docs/a.txt", 0600);
    const MergeSummary summary = inOrder(analyze(), {"docs/b.txt", "docs/a.txt"});
    const auto outcome = sorrelix::testing::runAsNobody([&] {
        try {
            mergeTrees(source, target, summary);
            return std::string("merged");
        } catch (const EngineError& error) {
            return error.domain().toStdString() + "|" + std::to_string(error.code()) + "|" +
                   error.description().toStdString();
        }
    });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(*outcome, "SorrelixEngine|13|Failed to copy docs/a.txt (errno: 13)");
    EXPECT_EQ(target.read("docs/b.txt"), "public");
    EXPECT_FALSE(target.exists("docs/a.txt"));
    EXPECT_EQ(strayEntries(target, {"docs", "docs/b.txt"}), std::vector<std::string>{});
}

// Paths longer than PATH_MAX cannot be named in one call: walk them one folder at a time.
UniqueFd openChain(const std::string& root, const std::string& relativeFolder, bool create) {
    UniqueFd fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::size_t start = 0;
    while (fd && start < relativeFolder.size()) {
        const auto end = relativeFolder.find('/', start);
        const std::string name = relativeFolder.substr(start, end - start);
        if (create) ::mkdirat(fd.get(), name.c_str(), 0755);
        fd = UniqueFd(::openat(fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        start = end == std::string::npos ? relativeFolder.size() : end + 1;
    }
    return fd;
}

void writeDeep(const std::string& root, const std::string& folder, const std::string& name,
               const std::string& content) {
    UniqueFd dir = openChain(root, folder, true);
    UniqueFd file(::openat(dir.get(), name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (!file || ::write(file.get(), content.data(), content.size()) !=
                     static_cast<ssize_t>(content.size())) {
        throw std::runtime_error("write " + name);
    }
}

std::optional<std::string> readDeep(const std::string& root, const std::string& folder,
                                    const std::string& name) {
    UniqueFd dir = openChain(root, folder, false);
    if (!dir) return std::nullopt;
    UniqueFd file(::openat(dir.get(), name.c_str(), O_RDONLY));
    if (!file) return std::nullopt;
    std::string content(4096, '\0');
    const ssize_t n = ::read(file.get(), content.data(), content.size());
    content.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return content;
}

TEST_F(MergeTest, PathsLongerThanPathMaxAreMergedAndUndone) {
    std::string deep;
    for (int level = 0; level < 30; ++level)
        deep += (deep.empty() ? "" : "/") + std::string(200, static_cast<char>('a' + level % 26));
    ASSERT_GT(deep.size(), std::size_t{PATH_MAX});
    writeDeep(source.root(), deep, "added.txt", "added deep down");
    writeDeep(source.root(), deep, "updated.txt", "the new version");
    writeDeep(target.root(), deep, "updated.txt", "old");

    const MergeSessionRecord record = merge();
    EXPECT_EQ(readDeep(target.root(), deep, "added.txt"), "added deep down");
    EXPECT_EQ(readDeep(target.root(), deep, "updated.txt"), "the new version");
    EXPECT_EQ(readDeep(target.root(), backupOf(record, deep), "updated.txt"), "old");
    EXPECT_EQ(record.addedRelativePaths, std::vector<std::string>{deep + "/added.txt"});

    APFSEngine::shared().undoMergeNow(APFSEngine::shared().loadSessionRecords().at(0));
    EXPECT_EQ(readDeep(target.root(), deep, "added.txt"), std::nullopt);
    EXPECT_EQ(readDeep(target.root(), deep, "updated.txt"), "old");
    EXPECT_FALSE(target.exists(".sorrelix/backups/" + record.id));
}

}  // namespace
}  // namespace sorrelix::engine
