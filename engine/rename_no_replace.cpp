#include "rename_no_replace.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>

namespace sorrelix::engine {

int renameNoReplace(int fromDir, const std::string& name, int toDir, const std::string& newName) {
    if (::renameat2(fromDir, name.c_str(), toDir, newName.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    struct stat info {};
    if (::fstatat(toDir, newName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromDir, name.c_str(), toDir, newName.c_str());
}

}  // namespace sorrelix::engine
