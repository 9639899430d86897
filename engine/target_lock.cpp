#include "target_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace sorrelix::engine {

// flock() locks belong to the open file description: a descriptor of our own per lock makes
// two threads of one process exclude each other as two processes do. The lock ends when the
// descriptor closes, also when the process dies.
TargetLock::TargetLock(const std::string& targetPath)
    : fd_(::open(targetPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_) return;  // the merge or undo itself reports the missing folder
    int result;
    do {
        result = ::flock(fd_.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    held_ = result == 0;
}

}  // namespace sorrelix::engine
