#include "folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "relative_path.h"
#include "unique_fd.h"

namespace sorrelix::engine {

std::vector<std::pair<std::string, bool>> listFolder(int dirFd) {
    std::vector<std::pair<std::string, bool>> entries;
    const int listingFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listingFd < 0 ? nullptr : ::fdopendir(listingFd);
    if (listing == nullptr) {
        if (listingFd >= 0) ::close(listingFd);
        return entries;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        entries.emplace_back(std::string(name), S_ISDIR(st.st_mode));
    }
    ::closedir(listing);
    return entries;
}

namespace {
void collectEntries(int dirFd, const std::string& prefix, std::vector<std::string>& paths) {
    for (const auto& [name, isFolder] : listFolder(dirFd)) {
        const std::string path = joinPath(prefix, name);
        if (!isFolder) {
            paths.push_back(path);
            continue;
        }
        const UniqueFd child(
            ::openat(dirFd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (child) collectEntries(child.get(), path, paths);
    }
}
}  // namespace

std::vector<std::string> listEntriesBelow(int dirFd) {
    std::vector<std::string> paths;
    collectEntries(dirFd, {}, paths);
    return paths;
}

}  // namespace sorrelix::engine
