#include "file_metadata.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace sorrelix::engine {

namespace {

bool isUnsupported(int errorNumber) {
    return errorNumber == ENOTSUP || errorNumber == EPERM || errorNumber == EACCES;
}

// Attributes the destination's file system or our privileges cannot take are dropped, as
// cp -a does; a failure to read the source's attributes is an error.
int copyExtendedAttributes(int sourceFd, int targetFd, bool& any) {
    ssize_t listSize = ::flistxattr(sourceFd, nullptr, 0);
    any = listSize > 0;
    if (listSize == 0) return 0;
    if (listSize < 0) return errno == ENOTSUP ? 0 : errno;
    std::vector<char> names(static_cast<std::size_t>(listSize));
    listSize = ::flistxattr(sourceFd, names.data(), names.size());
    if (listSize < 0) return errno;
    std::vector<char> value;
    for (const char* name = names.data(); name < names.data() + listSize;
         name += std::strlen(name) + 1) {
        ssize_t valueSize = ::fgetxattr(sourceFd, name, nullptr, 0);
        if (valueSize < 0) continue;  // vanished meanwhile
        value.resize(static_cast<std::size_t>(valueSize));
        valueSize = ::fgetxattr(sourceFd, name, value.data(), value.size());
        if (valueSize < 0) continue;
        if (::fsetxattr(targetFd, name, value.data(), static_cast<std::size_t>(valueSize), 0) !=
                0 &&
            !isUnsupported(errno)) {
            return errno;
        }
    }
    return 0;
}

}  // namespace

int copyOwner(const struct stat& sourceStat, int targetFd, ino_t& targetInode, bool& modeToSet) {
    struct stat targetStat {};
    if (::fstat(targetFd, &targetStat) != 0) return errno;
    targetInode = targetStat.st_ino;
    const bool ownerDiffers =
        targetStat.st_uid != sourceStat.st_uid || targetStat.st_gid != sourceStat.st_gid;
    if (ownerDiffers && ::fchown(targetFd, sourceStat.st_uid, sourceStat.st_gid) != 0 &&
        errno != EPERM) {
        return errno;
    }
    // A change of owner may clear the set-ID bits; a file made with the right mode keeps it.
    modeToSet = ownerDiffers || (targetStat.st_mode & 07777) != (sourceStat.st_mode & 07777);
    return 0;
}

int copyAttributesModeAndTimes(int sourceFd, const struct stat& sourceStat, int targetFd,
                               bool modeToSet) {
    bool attributesCopied = false;
    if (const int error = copyExtendedAttributes(sourceFd, targetFd, attributesCopied)) {
        return error;
    }
    // An access list changes the mode too, so the mode is set again after one.
    if ((modeToSet || attributesCopied) && ::fchmod(targetFd, sourceStat.st_mode & 07777) != 0) {
        return errno;
    }
    const timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    if (::futimens(targetFd, times) != 0) return errno;
    return 0;
}

}  // namespace sorrelix::engine
