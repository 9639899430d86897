#pragma once

#include <string>

#include "unique_fd.h"

namespace sorrelix::engine {

// A flock() on a file of our own, held for the object's lifetime and removed afterwards when
// nobody else holds it, so lock files do not pile up. A lock belongs to its open file
// description: two objects exclude each other within one process as across processes, and
// a lock ends when its holder dies.
//
// Removing a lock file races with another holder that opened it just before: after taking a
// lock, the holder checks that the name still leads to the file it locked, and starts over
// when it does not.
class LockFile {
public:
    LockFile() = default;
    // `operation` is LOCK_SH or LOCK_EX, with LOCK_NB not to wait. Not held when the file
    // cannot be made or the file system has no locks; errno says why.
    LockFile(int folderFd, std::string name, int operation);
    LockFile(LockFile&&) noexcept = default;
    LockFile& operator=(LockFile&& other) noexcept;
    ~LockFile();

    bool isHeld() const { return fd_.valid(); }

private:
    void release();

    UniqueFd folder_;
    std::string name_;
    UniqueFd fd_;
    bool exclusive_ = false;
};

}  // namespace sorrelix::engine
