#include "target_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

namespace sorrelix::engine {

namespace {

// $XDG_RUNTIME_DIR/sorrelix-locks, or /tmp/sorrelix-locks-<uid>; none unless it is a real
// folder of this user (in /tmp another user could have put anything there first).
std::optional<std::string> privateLockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && runtime[0] == '/'
                                   ? std::string(runtime) + "/sorrelix-locks"
                                   : "/tmp/sorrelix-locks-" + std::to_string(::geteuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 0077) != 0) {
        return std::nullopt;
    }
    return folder;
}

// The folder with links resolved, so that two spellings of one folder (or of its parents)
// take the same locks; none when it cannot be resolved.
std::optional<std::string> resolvedPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

// "/", "/a", "/a/b" for "/a/b/c": every folder above a resolved path.
std::vector<std::string> foldersAbove(const std::string& path) {
    std::vector<std::string> folders;
    if (path == "/") return folders;
    folders.emplace_back("/");
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        folders.push_back(path.substr(0, slash));
    }
    return folders;
}

// The lock file of a folder: named by device and inode, so every path to it shares it.
std::optional<std::string> lockFileOf(const std::string& lockFolder, const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return std::nullopt;
    return lockFolder + "/" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) +
           ".lock";
}

// flock() locks belong to the open file description: a descriptor of our own per lock makes
// two threads of one process exclude each other as two processes do. A lock ends when its
// descriptor closes, also when the process dies.
UniqueFd lock(const std::string& lockFile, int operation, bool& locked) {
    locked = false;
    UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd) return fd;
    int result;
    do {
        result = ::flock(fd.get(), operation);
    } while (result != 0 && errno == EINTR);
    locked = result == 0;
    return fd;
}

}  // namespace

TargetLock::TargetLock(const std::string& targetPath) {
    const std::optional<std::string> lockFolder = privateLockFolder();
    const std::optional<std::string> target = resolvedPath(targetPath);
    if (!lockFolder || !target) return;  // a missing target is reported by the work itself
    const std::optional<std::string> targetLock = lockFileOf(*lockFolder, *target);
    if (!targetLock) return;
    bool locked = false;
    for (const std::string& folder : foldersAbove(*target)) {
        const std::optional<std::string> file = lockFileOf(*lockFolder, folder);
        // The target seen again above itself (a bind mount) would wait for its own lock.
        if (file && *file != *targetLock) locks_.push_back(lock(*file, LOCK_SH, locked));
    }
    locks_.push_back(lock(*targetLock, LOCK_EX, locked));
    held_ = locked;
}

}  // namespace sorrelix::engine
