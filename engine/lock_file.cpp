#include "lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>

namespace sorrelix::engine {

namespace {

bool sameFile(int fd, int folderFd, const std::string& name) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 &&
           ::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

LockFile::LockFile(int folderFd, std::string name, int operation)
    : folder_(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0)),
      name_(std::move(name)),
      exclusive_((operation & LOCK_EX) != 0) {
    if (!folder_) return;
    for (;;) {
        UniqueFd fd(::openat(folder_.get(), name_.c_str(),
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd) return;
        int result;
        do {
            result = ::flock(fd.get(), operation);
        } while (result != 0 && errno == EINTR);
        if (result != 0) return;
        if (sameFile(fd.get(), folder_.get(), name_)) {
            fd_ = std::move(fd);
            return;
        }
    }
}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
    if (this != &other) {
        release();
        folder_ = std::move(other.folder_);
        name_ = std::move(other.name_);
        fd_ = std::move(other.fd_);
        exclusive_ = other.exclusive_;
    }
    return *this;
}

LockFile::~LockFile() {
    release();
}

void LockFile::release() {
    if (!fd_) return;
    // A shared holder removes the file only when it is the last: then it can have it alone.
    if (exclusive_ || ::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
        (void)::unlinkat(folder_.get(), name_.c_str(), 0);
    }
    fd_.reset();
}

}  // namespace sorrelix::engine
