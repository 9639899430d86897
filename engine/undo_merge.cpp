#include "undo_merge.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <unordered_set>

#include "beneath_folder.h"
#include "engine_error.h"
#include "folder_listing.h"
#include "newer_merge_guard.h"
#include "relative_path.h"
#include "target_lock.h"
#include "tree_removal.h"

namespace sorrelix::engine {

namespace {

constexpr std::string_view kBackupsInfix = "/.sorrelix/backups/";

bool existsAt(int dirFd, const std::string& name) {
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Moves the backed-up entries below one backup folder back into the target.
class Restore {
public:
    Restore(const BeneathFolder& target, const std::vector<std::string>& addedPaths)
        : target_(target), addedPaths_(addedPaths.begin(), addedPaths.end()) {}

    void folder(int backupDir, const std::string& relativeFolder) {
        for (const auto& [name, isFolder] : listFolder(backupDir)) {
            const std::string path = joinPath(relativeFolder, name);
            if (isFolder && !restoreReplacedFolder(backupDir, name, path)) {
                UniqueFd child(::openat(backupDir, name.c_str(),
                                        O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                if (child) folder(child.get(), path);
                continue;
            }
            if (!isFolder) entry(backupDir, name, path);
        }
    }

private:
    // A folder that the merge replaced by a file comes back whole, in place of that file (or
    // of nothing, once the added file that took its place is deleted). A folder still in the
    // target, also one reached through a link that stays inside, is restored into instead.
    bool restoreReplacedFolder(int backupDir, const std::string& name, const std::string& path) {
        // An added path is a file's place: a folder kept for it was replaced whole, and comes
        // back whole even where a link to another folder stands.
        if (!addedPaths_.contains(path)) {
            if (target_.openFolder(path)) return false;
            const auto split = splitParent(path);
            UniqueFd targetDir = target_.openFolder(split.parent);
            if (!targetDir || !existsAt(targetDir.get(), name)) return false;
        }
        entry(backupDir, name, path);
        return true;
    }

    void entry(int backupDir, const std::string& name, const std::string& path) {
        const auto split = splitParent(path);
        UniqueFd targetDir = target_.openFolder(split.parent);
        if (!targetDir) {
            const int error = errno;
            if (BeneathFolder::isEscapeError(error)) {
                throw EngineError(kEngineErrorDomain, error,
                                  QStringLiteral("Refused to restore %1: its folder in the target "
                                                 "is a symbolic link that leads out of it")
                                      .arg(displayPath(path)));
            }
            throw EngineError::posix(error, QStringLiteral("Could not restore %1: its folder %2 is "
                                                           "missing from the target")
                                                .arg(displayPath(path), displayPath(split.parent)));
        }
        if (existsAt(targetDir.get(), name)) {
            if (const int error = removeTree(targetDir.get(), name)) {
                throw EngineError::posix(error, QStringLiteral("Could not remove %1 to restore its "
                                                               "backed-up version")
                                                    .arg(displayPath(path)));
            }
        }
        if (::renameat(backupDir, name.c_str(), targetDir.get(), name.c_str()) != 0) {
            throw EngineError::posix(errno, QStringLiteral("Could not move %1 back from the backup "
                                                           "folder")
                                                .arg(displayPath(path)));
        }
    }

    const BeneathFolder& target_;
    const std::unordered_set<std::string> addedPaths_;
};

}  // namespace

UndoMerge::UndoMerge(MergeSessionRecord record) : record_(std::move(record)) {}

bool UndoMerge::isBackupFolderOf(const std::string& backupDir, const std::string& targetPath) {
    const std::string prefix = targetPath + std::string(kBackupsInfix);
    if (backupDir.size() != prefix.size() + 8 || !backupDir.starts_with(prefix)) return false;
    for (char c : std::string_view(backupDir).substr(prefix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

void UndoMerge::run() const {
    if (!isBackupFolderOf(record_.backupDir, record_.targetPath)) {
        throw EngineError(
            kEngineErrorDomain, EINVAL,
            QStringLiteral("Refused to undo: the merge record's backup folder %1 "
                           "does not belong to its target folder %2")
                .arg(displayPath(record_.backupDir), displayPath(record_.targetPath)));
    }
    const TargetLock lock(record_.targetPath);
    const BeneathFolder target(record_.targetPath);
    const std::string backupRelative =
        record_.backupDir.substr(record_.targetPath.size() + 1);  // ".sorrelix/backups/<id>"
    // Links that stay inside the target are followed here as during the merge, which made
    // the backup folder through them. Without the backup folder the merge was undone already
    // (or its backup removed): nothing is deleted then, since files the user has put at the
    // added places since are no merge's copies.
    UniqueFd backup = target.openFolder(backupRelative);
    if (!backup) {
        if (errno == ENOENT || errno == ENOTDIR) throw EngineError::backupNotFound();
        throw EngineError::posix(errno, QStringLiteral("Could not open the backup folder %1")
                                            .arg(displayPath(record_.backupDir)));
    }
    refuseWhileANewerMergeOverlaps(record_, target, backup.get());
    const auto addedPaths = record_.addedRelativePaths.value_or(std::vector<std::string>{});
    for (const auto& path : addedPaths) {
        if (!isSafeRelativePath(path)) continue;
        const auto split = splitParent(path);
        UniqueFd folder = target.openFolder(split.parent);
        // A merge puts files and links at these places, never folders: a folder found here is
        // one that an interrupted undo already put back, or someone else's, and stays. A file
        // that cannot be deleted is left; restoring what was replaced matters more.
        if (folder) (void)::unlinkat(folder.get(), std::string(split.name).c_str(), 0);
    }
    Restore(target, addedPaths).folder(backup.get(), {});
    const auto split = splitParent(backupRelative);
    UniqueFd backupsFolder = target.openFolder(split.parent);
    if (backupsFolder) (void)removeTree(backupsFolder.get(), std::string(split.name));
}

}  // namespace sorrelix::engine
