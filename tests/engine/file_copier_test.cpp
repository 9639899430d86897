#include "file_copier.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <random>
#include <thread>

#include "file_tree.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;

using Tree = FileTree;

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

UniqueFd folderOf(const FileTree& tree, const std::string& relative = {}) {
    UniqueFd fd(::open(tree.path(relative).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd) throw std::runtime_error("open " + tree.path(relative));
    return fd;
}

struct stat lstatOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) throw std::runtime_error("lstat " + path);
    return st;
}

long long freeBytes(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) throw std::runtime_error("statvfs " + path);
    return static_cast<long long>(info.f_bfree) * static_cast<long long>(info.f_frsize);
}

// Runs `work` on a thread of its own and gives up waiting after `limit`, so that a copy that
// blocks fails the test instead of hanging the suite (the stuck thread is abandoned).
std::optional<int> finishedWithin(std::chrono::seconds limit, std::function<int()> work) {
    auto task = std::make_shared<std::packaged_task<int()>>(std::move(work));
    std::future<int> result = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
    return result.get();
}

int copyInto(FileCopier& copier, int from, const std::string& name, int to,
             const std::string& newName) {
    FileIdentity made;
    return copier.copy(from, name, to, newName, made);
}

class FileCopierTest : public ::testing::Test {
protected:
    // Every copy made must be the entry the copier says it made (undo recognises it so).
    int copy(const std::string& from, const std::string& to) {
        FileIdentity made;
        const int error =
            copier.copy(folderOf(source).get(), from, folderOf(target).get(), to, made);
        struct stat info {};
        if (error == 0 && ::lstat(target.path(to).c_str(), &info) == 0) {
            EXPECT_TRUE(made.matches(info)) << to;
        }
        return error;
    }

    Tree source;
    Tree target;
    FileCopier copier;
};

// ---- regular files ---------------------------------------------------------------------

TEST_F(FileCopierTest, CopiesBytesModeAndTimesUnderTheNewName) {
    const std::string bytes = randomBytes(3 << 20, 1);  // more than one buffer of a plain copy
    source.file("data.bin", bytes, 1'700'000'000.25);
    source.chmod("data.bin", 0751);
    source.file("empty", "");
    source.chmod("empty", 0);
    EXPECT_EQ(copy("data.bin", "copy.bin"), 0);
    EXPECT_EQ(copy("empty", "empty copy"), 0);
    EXPECT_EQ(target.read("copy.bin"), bytes);
    EXPECT_EQ(target.mode("copy.bin"), 0751U);
    EXPECT_DOUBLE_EQ(target.mtime("copy.bin"), 1'700'000'000.25);
    EXPECT_EQ(target.read("empty copy"), "");
    EXPECT_EQ(target.mode("empty copy"), 0U);
    EXPECT_EQ(target.list(), (std::vector<std::string>{"copy.bin", "empty copy"}));
}

TEST_F(FileCopierTest, ReplacesAnExistingFileInOneStepWithTheSourcesMode) {
    source.file("doc.txt", "the new version");
    source.chmod("doc.txt", 0644);
    target.file("doc.txt", "old");
    target.chmod("doc.txt", 0600);
    // A reader of the old file keeps seeing it whole: the copy never writes into it.
    const UniqueFd reader(::open(target.path("doc.txt").c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(copy("doc.txt", "doc.txt"), 0);
    EXPECT_EQ(target.read("doc.txt"), "the new version");
    EXPECT_EQ(target.mode("doc.txt"), 0644U);
    char old[8] = {};
    EXPECT_EQ(::pread(reader.get(), old, sizeof old, 0), 3);
    EXPECT_STREQ(old, "old");
    EXPECT_EQ(target.list(), std::vector<std::string>{"doc.txt"});
}

TEST_F(FileCopierTest, FailuresReturnTheErrnoAndLeaveNothingBehind) {
    source.file("file.txt", "content");
    source.folder("folder");
    target.file("busy/inside.txt", "kept");
    EXPECT_EQ(copy("missing.txt", "missing.txt"), ENOENT);
    EXPECT_EQ(copy("folder", "folder"), EISDIR);
    // A folder at the destination is not something a file copy may replace.
    EXPECT_NE(copy("file.txt", "busy"), 0);
    EXPECT_EQ(target.read("busy/inside.txt"), "kept");
    EXPECT_EQ(target.list(), (std::vector<std::string>{"busy", "busy/inside.txt"}));
}

TEST_F(FileCopierTest, NamesThatAreNotUtf8AreCopiedAsTheyAre) {
    source.file("caf\xe9", "bytes");
    EXPECT_EQ(copy("caf\xe9", "\xff\xfe"), 0);
    EXPECT_EQ(target.read("\xff\xfe"), "bytes");
}

// ---- links and special files ------------------------------------------------------------

TEST_F(FileCopierTest, LinksAreCopiedAsLinksWithTheirTextNeverFollowed) {
    source.symlink("relative", "../somewhere/else");
    source.symlink("absolute", "/etc/passwd");
    target.file("absolute", "an existing file the link replaces");
    EXPECT_EQ(copy("relative", "relative"), 0);
    EXPECT_EQ(copy("absolute", "absolute"), 0);
    ASSERT_TRUE(target.isSymlink("relative"));
    EXPECT_EQ(target.readLink("relative"), "../somewhere/else");
    ASSERT_TRUE(target.isSymlink("absolute"));
    EXPECT_EQ(target.readLink("absolute"), "/etc/passwd");
    EXPECT_EQ(target.list(), (std::vector<std::string>{"absolute", "relative"}));
}

TEST_F(FileCopierTest, FifosSocketsAndDevicesAreMadeAgainWithoutOpeningThem) {
    source.fifo("pipe");
    source.chmod("pipe", 0620);
    source.socket("socket");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(source.path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    const int sourceDir = folderOf(source).release();
    const int targetDir = folderOf(target).release();
    auto copier = std::make_shared<FileCopier>();
    const auto result = finishedWithin(std::chrono::seconds(30), [=] {
        int error = copyInto(*copier, sourceDir, "pipe", targetDir, "pipe");
        if (error == 0) error = copyInto(*copier, sourceDir, "socket", targetDir, "socket");
        if (error == 0 && root) error = copyInto(*copier, sourceDir, "null", targetDir, "null");
        ::close(sourceDir);
        ::close(targetDir);
        return error;
    });
    ASSERT_TRUE(result.has_value()) << "copying special files was still running after 30 s";
    EXPECT_EQ(*result, 0);
    EXPECT_TRUE(S_ISFIFO(lstatOf(target.path("pipe")).st_mode));
    EXPECT_EQ(target.mode("pipe"), 0620U);
    EXPECT_TRUE(S_ISSOCK(lstatOf(target.path("socket")).st_mode));
    if (root) {
        const struct stat device = lstatOf(target.path("null"));
        EXPECT_TRUE(S_ISCHR(device.st_mode));
        EXPECT_EQ(device.st_rdev, makedev(1, 3));
    }
}

// ---- file systems -------------------------------------------------------------------------

TEST(FileCopierFileSystemTest, ClonesOnXfsAndStopsTryingWhereClonesAreImpossible) {
    const std::string xfs = sorrelix::testing::xfsScratchDir();
    const std::string ext4 = sorrelix::testing::ext4ScratchDir();
    if (xfs.empty() || ext4.empty()) GTEST_SKIP() << "needs the XFS and ext4 scratch mounts";
    const sorrelix::testing::ScratchLock xfsLock(xfs);
    const sorrelix::testing::ScratchLock ext4Lock(ext4);
    Tree xfsSource(xfs), xfsTarget(xfs), ext4Source(ext4), ext4Target(ext4);
    const std::string bytes = randomBytes(1 << 20, 2);
    xfsSource.file("a", bytes);
    ext4Source.file("a", bytes);
    ext4Source.file("b", bytes + "b");

    FileCopier cloning;
    ASSERT_EQ(copyInto(cloning, folderOf(xfsSource).get(), "a", folderOf(xfsTarget).get(), "a"), 0);
    EXPECT_EQ(cloning.clonedFiles(), 1);
    EXPECT_TRUE(cloning.clonesSupported());

    FileCopier copying;
    for (const char* name : {"a", "b"}) {
        ASSERT_EQ(
            copyInto(copying, folderOf(ext4Source).get(), name, folderOf(ext4Target).get(), name),
            0);
        EXPECT_EQ(ext4Target.read(name), ext4Source.read(name));
    }
    EXPECT_FALSE(copying.clonesSupported());
    EXPECT_EQ(copying.clonedFiles(), 0);
    // Across file systems neither clones nor in-kernel copies work: plain reads and writes do.
    ASSERT_EQ(copyInto(copying, folderOf(ext4Source).get(), "b", folderOf(xfsTarget).get(), "b"),
              0);
    EXPECT_EQ(xfsTarget.read("b"), bytes + "b");
}

TEST(FileCopierFileSystemTest, AFullDiskFailsWithEnospcAndKeepsTheOldDestination) {
    const std::string tiny = sorrelix::testing::tinyScratchDir();
    if (tiny.empty()) GTEST_SKIP() << "SORRELIX_TINY_DIR is not set: no small tmpfs";
    const sorrelix::testing::ScratchLock lock(tiny);
    Tree source;
    Tree target(tiny);
    target.file("big.bin", "old");
    target.file("filler", randomBytes(2 << 20, 3));
    source.file("big.bin", randomBytes(3 << 20, 4));
    const long long before = freeBytes(target.root());
    FileCopier copier;
    EXPECT_EQ(
        copyInto(copier, folderOf(source).get(), "big.bin", folderOf(target).get(), "big.bin"),
        ENOSPC);
    EXPECT_EQ(target.read("big.bin"), "old");
    EXPECT_EQ(target.list(), (std::vector<std::string>{"big.bin", "filler"}));
    EXPECT_EQ(freeBytes(target.root()), before);
}

// ---- permissions --------------------------------------------------------------------------

TEST_F(FileCopierTest, WithoutPermissionTheCopyFailsWithEacces) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
    source.chmod("", 0755);
    target.chmod("", 0755);  // not writable by nobody
    source.file("secret", "s");
    source.chmod("secret", 0600);
    source.file("public", "p");
    source.chmod("public", 0644);
    const auto outcome = sorrelix::testing::runAsNobody([&] {
        FileCopier unprivileged;
        const UniqueFd from = folderOf(source);
        const UniqueFd to = folderOf(target);
        return std::to_string(copyInto(unprivileged, from.get(), "secret", to.get(), "secret")) +
               " " +
               std::to_string(copyInto(unprivileged, from.get(), "public", to.get(), "public"));
    });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(*outcome, "13 13");
    EXPECT_EQ(target.list(), std::vector<std::string>{});
}

}  // namespace
}  // namespace sorrelix::engine
