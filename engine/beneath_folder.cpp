#include "beneath_folder.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <cerrno>

#include "deep_open.h"
#include "engine_error.h"
#include "relative_path.h"

namespace sorrelix::engine {

namespace {

int openBeneathOnce(int rootFd, const std::string& path, std::uint64_t flags, bool allowLinks) {
    open_how how{};
    how.flags = flags | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    if (!allowLinks) how.resolve |= RESOLVE_NO_SYMLINKS;
    long fd;
    do {
        fd = syscall(SYS_openat2, rootFd, path.c_str(), &how, sizeof how);
    } while (fd < 0 && errno == EAGAIN);
    return static_cast<int>(fd);
}

// Paths longer than one call allows are opened piece by piece, each piece beneath the last.
int openBeneath(int rootFd, std::string_view relativePath, std::uint64_t flags, bool allowLinks) {
    auto open = [&](int dirFd, const std::string& path) {
        return openBeneathOnce(dirFd, path, flags, allowLinks);
    };
    if (flags & O_PATH) return openDeep(rootFd, relativePath, open).release();
    // Intermediate pieces only need to be held, not read.
    auto openPiece = [&](int dirFd, const std::string& path) {
        return openBeneathOnce(dirFd, path, O_PATH | O_DIRECTORY, allowLinks);
    };
    UniqueFd whole(openBeneathOnce(rootFd, relativePath.empty() ? "." : std::string(relativePath),
                                   flags, allowLinks));
    if (whole || errno != ENAMETOOLONG) return whole.release();
    const auto split = relativePath.rfind('/');
    if (split == std::string_view::npos) return -1;
    UniqueFd parent = openDeep(rootFd, relativePath.substr(0, split), openPiece);
    if (!parent) return -1;
    return openBeneathOnce(parent.get(), std::string(relativePath.substr(split + 1)), flags,
                           allowLinks);
}

}  // namespace

BeneathFolder::BeneathFolder(const std::string& path) : path_(path) {
    fd_.reset(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd_) {
        throw EngineError::posix(
            errno, QStringLiteral("Could not open the folder %1").arg(displayPath(path)));
    }
}

BeneathFolder::BeneathFolder(UniqueFd fd, std::string path)
    : fd_(std::move(fd)), path_(std::move(path)) {}

UniqueFd BeneathFolder::openFolder(std::string_view relativePath, bool allowLinks) const {
    return UniqueFd(openBeneath(fd_.get(), relativePath, O_PATH | O_DIRECTORY, allowLinks));
}

UniqueFd BeneathFolder::openFolderForListing(std::string_view relativePath, bool allowLinks) const {
    return UniqueFd(openBeneath(fd_.get(), relativePath, O_RDONLY | O_DIRECTORY, allowLinks));
}

UniqueFd BeneathFolder::makeFolders(std::string_view relativePath) const {
    UniqueFd existing = openFolder(relativePath);
    if (existing || errno != ENOENT) return existing;
    // Find the deepest component that exists, then create the rest one by one. Each new
    // component is opened without following links, so nothing swapped in can redirect us.
    const auto split = splitParent(relativePath);
    UniqueFd parent = split.parent.empty() ? openFolder({}) : makeFolders(split.parent);
    if (!parent) return parent;
    const std::string name(split.name);
    if (::mkdirat(parent.get(), name.c_str(), 0777) != 0 && errno != EEXIST) return UniqueFd();
    return UniqueFd(openBeneath(parent.get(), name, O_PATH | O_DIRECTORY, false));
}

bool BeneathFolder::isEscapeError(int errorNumber) {
    return errorNumber == EXDEV || errorNumber == ELOOP;
}

}  // namespace sorrelix::engine
