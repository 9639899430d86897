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

constexpr const char* kEngineFolder = ".sorrelix";
constexpr const char* kInTargetLock = "lock";

// $XDG_RUNTIME_DIR/sorrelix-locks, or /tmp/sorrelix-locks-<uid>; none unless it is a real
// folder of this user (in /tmp another user could have put anything there first).
UniqueFd privateLockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && runtime[0] == '/'
                                   ? std::string(runtime) + "/sorrelix-locks"
                                   : "/tmp/sorrelix-locks-" + std::to_string(::geteuid());
    ::mkdir(folder.c_str(), 0700);
    UniqueFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || info.st_uid != ::geteuid() ||
        (info.st_mode & 0077) != 0) {
        return {};
    }
    return fd;
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

// The lock file name of a folder: its device and inode, so every path to it shares it.
std::optional<std::string> lockNameOf(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return std::nullopt;
    return std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) + ".lock";
}

// The engine's folder inside the target, made when missing; never a link.
UniqueFd engineFolderOf(const std::string& targetPath, bool create) {
    UniqueFd target(::open(targetPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!target) return {};
    if (create) ::mkdirat(target.get(), kEngineFolder, 0755);
    return UniqueFd(
        ::openat(target.get(), kEngineFolder, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

}  // namespace

TargetLock::TargetLock(const std::string& targetPath) {
    const UniqueFd lockFolder = privateLockFolder();
    const std::optional<std::string> target = resolvedPath(targetPath);
    if (!target) return;  // a missing target is reported by the work itself
    if (lockFolder) {
        const std::optional<std::string> targetLock = lockNameOf(*target);
        if (!targetLock) return;
        for (const std::string& folder : foldersAbove(*target)) {
            const std::optional<std::string> name = lockNameOf(folder);
            // The target seen again above itself (a bind mount) would wait for its own lock.
            if (name && *name != *targetLock) locks_.emplace_back(lockFolder.get(), *name, LOCK_SH);
        }
        locks_.emplace_back(lockFolder.get(), *targetLock, LOCK_EX);
        held_ = locks_.back().isHeld();
    }
    if (const UniqueFd engineFolder = engineFolderOf(*target, true)) {
        locks_.emplace_back(engineFolder.get(), kInTargetLock, LOCK_EX);
    }
}

bool TargetLock::isTargetBusy(const std::string& targetPath) {
    const UniqueFd engineFolder = engineFolderOf(targetPath, false);
    if (!engineFolder) return false;
    const LockFile probe(engineFolder.get(), kInTargetLock, LOCK_EX | LOCK_NB);
    return !probe.isHeld() && errno == EWOULDBLOCK;
}

}  // namespace sorrelix::engine
