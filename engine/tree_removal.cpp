#include "tree_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "unique_fd.h"

namespace sorrelix::engine {

namespace {

std::vector<std::string> listNames(int dirFd) {
    std::vector<std::string> names;
    const int listingFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) return names;
    DIR* listing = ::fdopendir(listingFd);
    if (listing == nullptr) {
        ::close(listingFd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(listing);
    return names;
}

}  // namespace

int removeTree(int dirFd, const std::string& name) {
    if (::unlinkat(dirFd, name.c_str(), 0) == 0) return 0;
    const int unlinkError = errno;
    if (unlinkError != EISDIR && unlinkError != EPERM) return unlinkError;
    // O_NOFOLLOW: a link swapped in for the folder is not a way out of it.
    UniqueFd folder(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) return errno == ENOTDIR || errno == ELOOP ? unlinkError : errno;
    int firstError = 0;
    for (const auto& child : listNames(folder.get())) {
        const int error = removeTree(folder.get(), child);
        if (firstError == 0) firstError = error;
    }
    if (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) != 0 && firstError == 0) firstError = errno;
    return firstError;
}

}  // namespace sorrelix::engine
