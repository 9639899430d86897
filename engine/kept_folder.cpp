#include "kept_folder.h"

#include <cerrno>

#include "engine_error.h"
#include "relative_path.h"
#include "rename_no_replace.h"

namespace sorrelix::engine {

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
        const int moved = renameNoReplace(dirFd, name, folder.get(), keptName) == 0 ? 0 : errno;
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
