#include "file_copier.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <random>

#include "file_tree.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

UniqueFd folderOf(const FileTree& tree) {
    UniqueFd fd(::open(tree.root().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd) throw std::runtime_error("open " + tree.root());
    return fd;
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

// Copies `from` of `source` to `to` in `target`; every copy made must be the entry the copier
// says it made (undo recognises it so).
int copyBetween(FileCopier& copier, const FileTree& source, const std::string& from,
                const FileTree& target, const std::string& to) {
    FileIdentity made;
    const int error = copier.copy(folderOf(source).get(), from, folderOf(target).get(), to, made);
    struct stat info {};
    if (error == 0 && ::lstat(target.path(to).c_str(), &info) == 0) {
        EXPECT_TRUE(made.matches(info)) << to;
    }
    return error;
}

class FileCopierTest : public ::testing::Test {
protected:
    int copy(const std::string& from, const std::string& to) {
        return copyBetween(copier, source, from, target, to);
    }

    FileTree source;
    FileTree target;
    FileCopier copier;
};

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

// A device node is made anew: opening it would copy what the device gives, not the node.
TEST_F(FileCopierTest, DeviceNodesAreMadeAgain) {
    if (::geteuid() != 0) GTEST_SKIP() << "making device nodes needs root";
    ASSERT_EQ(::mknod(source.path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_EQ(copy("null", "null"), 0);
    const struct stat device = lstatOf(target.path("null"));
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    EXPECT_EQ(device.st_rdev, makedev(1, 3));
}

// ---- on every kind of file system: clones on XFS, in-kernel copies elsewhere ----------------

struct Place {
    const char* name;
    std::string (*directory)();
    std::optional<bool> clones;  // unknown for /tmp
};

long long freeBytes(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ::syncfs(fd.get());  // delayed allocation shows in the free count only once written
    struct statvfs info {};
    if (::fstatvfs(fd.get(), &info) != 0) throw std::runtime_error("statvfs " + path);
    return static_cast<long long>(info.f_bfree) * static_cast<long long>(info.f_frsize);
}

class FileCopierOnFileSystemTest : public ::testing::TestWithParam<Place> {};

// Owner and ACLs need root to set up; bytes, mode, nanosecond times and xattrs are checked
// whoever runs the test. A clone takes hardly any room, a copy all of its own.
TEST_P(FileCopierOnFileSystemTest, CopiesBytesModeTimesOwnerXattrsAndAcls) {
    const std::string parent = GetParam().directory();
    if (parent.empty()) GTEST_SKIP() << "no " << GetParam().name << " mount (scratch-fs.sh)";
    const sorrelix::testing::ScratchLock lock(parent);
    const FileTree source(parent);
    const FileTree target(parent);
    const std::string bytes = randomBytes(3 << 20, 1);  // more than one buffer of a plain copy
    source.file("data.bin", bytes);
    source.file("empty", "");
    source.chmod("empty", 0);
    const std::string data = source.path("data.bin");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::lchown(data.c_str(), 1234, 1234), 0);
        ASSERT_EQ(std::system(("setfacl -m u:4321:rw,g:4321:r '" + data + "'").c_str()), 0);
    }
    source.chmod("data.bin", 04751);  // after chown, which drops the set-user-id bit
    ASSERT_EQ(::lsetxattr(data.c_str(), "user.test", "value\0x", 7, 0), 0);
    const timespec times[2] = {{1'600'000'000, 5}, {1'700'000'000, 123'456'789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, data.c_str(), times, 0), 0);

    const long long before = freeBytes(target.root());
    FileCopier copier;
    ASSERT_EQ(copyBetween(copier, source, "data.bin", target, "copy.bin"), 0);
    if (GetParam().clones) {
        const long long used = before - freeBytes(target.root());
        EXPECT_TRUE(*GetParam().clones ? used < (1 << 20) : used >= (3 << 20)) << used;
    }
    ASSERT_EQ(copyBetween(copier, source, "empty", target, "empty copy"), 0);
    const struct stat copy = lstatOf(target.path("copy.bin"));
    EXPECT_EQ(target.read("copy.bin"), bytes);
    EXPECT_EQ(copy.st_mode & 07777, 04751U);
    EXPECT_EQ(copy.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(copy.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_EQ(xattrOf(target.path("copy.bin"), "user.test"), std::string("value\0x", 7));
    EXPECT_EQ(target.read("empty copy"), "");
    EXPECT_EQ(target.mode("empty copy"), 0U);
    if (!root) return;
    EXPECT_EQ(copy.st_uid, 1234U);
    EXPECT_EQ(copy.st_gid, 1234U);
    const std::string acl = xattrOf(data, "system.posix_acl_access");
    ASSERT_NE(acl, "<none>");
    EXPECT_EQ(xattrOf(target.path("copy.bin"), "system.posix_acl_access"), acl);
}

INSTANTIATE_TEST_SUITE_P(Places, FileCopierOnFileSystemTest,
                         ::testing::Values(Place{"TMP", [] { return std::string("/tmp"); }, {}},
                                           Place{"XFS", &sorrelix::testing::xfsScratchDir, true},
                                           Place{"EXT4", &sorrelix::testing::ext4ScratchDir,
                                                 false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorrelix::engine
