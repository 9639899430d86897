#include "kept_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>

#include "engine_error.h"
#include "relative_path.h"

namespace sorrelix::engine {

namespace {

// File systems without the flag get a look first, then a plain rename.
int renameNoReplace(int fromDir, const std::string& name, int toDir, const std::string& newName) {
    if (::renameat2(fromDir, name.c_str(), toDir, newName.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    struct stat info {};
    if (::fstatat(toDir, newName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(fromDir, name.c_str(), toDir, newName.c_str()) == 0 ? 0 : errno;
}

}  // namespace

KeptFolder::KeptFolder(const BeneathFolder& target, const std::string& mergeId)
    : target_(target), relative_(std::string(kFolder) + "/" + mergeId) {}

KeptFile KeptFolder::keep(int dirFd, const std::string& name, const std::string& relativePath) {
    const auto split = splitParent(relativePath);
    const std::string keptFolder =
        split.parent.empty() ? relative_ : joinPath(relative_, split.parent);
    const UniqueFd folder = target_.makeFolders(keptFolder);
    int error = folder ? 0 : errno;
    // An undo run again may find an earlier kept file under the name: nothing replaces it.
    std::string keptName = name;
    for (int attempt = 1; error == 0; ++attempt) {
        const int moved = renameNoReplace(dirFd, name, folder.get(), keptName);
        if (moved == 0) {
            const std::string keptRelative = joinPath(keptFolder, keptName);
            return {relativePath, joinPath(target_.path(), keptRelative)};
        }
        error = moved == EEXIST && attempt < 1000 ? 0 : moved;
        keptName = name + "." + std::to_string(attempt);
    }
    throw EngineError::posix(error, QStringLiteral("Could not set aside %1, changed since the "
                                                   "merge, in %2")
                                        .arg(displayPath(relativePath), displayPath(relative_)));
}

}  // namespace sorrelix::engine
