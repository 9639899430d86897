#include "undo_merge.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

#include "beneath_folder.h"
#include "engine_error.h"
#include "entry_comparison.h"
#include "folder_analysis.h"
#include "folder_listing.h"
#include "kept_folder.h"
#include "merge_journal.h"
#include "merged_places.h"
#include "newer_merge_guard.h"
#include "relative_path.h"
#include "target_lock.h"
#include "tree_removal.h"

namespace sorrelix::engine {

namespace {

constexpr std::string_view kBackupsInfix = ".sorrelix/backups/";

bool lstatAt(int dirFd, const std::string& name, struct stat& info) {
    return ::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// Tells the merge's copies from what the user put at their places since.
class CopyCheck {
public:
    CopyCheck(const MergeSessionRecord& record, const MergedPlaces& places)
        : sourcePath_(record.sourcePath), places_(places) {}

    bool isMergeCopy(int dirFd, const std::string& name, const std::string& path,
                     const struct stat& info) {
        if (const auto copy = places_.copyAt(path)) return copy->matches(info);
        return isSourceFile(dirFd, name, path, info);
    }

private:
    // Without the journal's word, a copy is what it was copied from: the source's file at
    // the same place, by type, size, time and content.
    bool isSourceFile(int dirFd, const std::string& name, const std::string& path,
                      const struct stat& info) {
        if (!source_) {
            source_ = std::make_unique<UniqueFd>(
                ::open(sourcePath_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        }
        if (!*source_) return false;
        const BeneathFolder source(UniqueFd(::fcntl(source_->get(), F_DUPFD_CLOEXEC, 0)),
                                   sourcePath_);
        const auto split = splitParent(path);
        const UniqueFd sourceDir = source.openFolder(split.parent);
        const std::string sourceName(split.name);
        struct stat sourceInfo {};
        if (!sourceDir || !lstatAt(sourceDir.get(), sourceName, sourceInfo)) return false;
        if (sourceInfo.st_size != info.st_size) return false;
        const Date sourceDate = Date::fromTimespec(sourceInfo.st_mtim);
        if (sourceDate.secondsApartFrom(Date::fromTimespec(info.st_mtim)) >=
            FolderAnalysis::kTimeToleranceSeconds) {
            return false;
        }
        return comparison_.sameContent(sourceDir.get(), sourceName.c_str(), sourceInfo, dirFd,
                                       name.c_str(), info);
    }

    std::string sourcePath_;
    const MergedPlaces& places_;
    std::unique_ptr<UniqueFd> source_;
    EntryComparison comparison_;
};

// Clears the places where the merge put a copy: its copy is deleted, anything else is kept.
class PlaceClearing {
public:
    PlaceClearing(const BeneathFolder& target, CopyCheck& check, KeptFolder& kept,
                  UndoResult& result)
        : target_(target), check_(check), kept_(kept), result_(result) {}

    // An added place: a folder found here is one that an interrupted undo already put back,
    // or someone else's, and stays. A copy that cannot be deleted is left; restoring what
    // was replaced matters more.
    void clearAdded(const std::string& path) {
        const auto split = splitParent(path);
        const UniqueFd folder = target_.openFolder(split.parent);
        const std::string name(split.name);
        struct stat info {};
        if (!folder || !lstatAt(folder.get(), name, info) || S_ISDIR(info.st_mode)) return;
        if (check_.isMergeCopy(folder.get(), name, path, info)) {
            (void)::unlinkat(folder.get(), name.c_str(), 0);
        } else {
            result_.keptFiles.push_back(kept_.keep(folder.get(), name, path));
        }
    }

    // A place a backed-up entry goes back to: whatever stands there makes room for it.
    void clearForRestore(int targetDir, const std::string& name, const std::string& path) {
        struct stat info {};
        if (!lstatAt(targetDir, name, info)) return;
        if (!S_ISDIR(info.st_mode) && check_.isMergeCopy(targetDir, name, path, info)) {
            if (::unlinkat(targetDir, name.c_str(), 0) == 0) return;
            throw EngineError::posix(errno, QStringLiteral("Could not remove %1 to restore its "
                                                           "backed-up version")
                                                .arg(displayPath(path)));
        }
        result_.keptFiles.push_back(kept_.keep(targetDir, name, path));
    }

private:
    const BeneathFolder& target_;
    CopyCheck& check_;
    KeptFolder& kept_;
    UndoResult& result_;
};

// Moves the backed-up entries below one backup folder back into the target.
class Restore {
public:
    Restore(const BeneathFolder& target, const MergedPlaces& places, PlaceClearing& clearing)
        : target_(target), places_(places), clearing_(clearing) {}

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
        if (!places_.isAdded(path)) {
            if (target_.openFolder(path)) return false;
            const auto split = splitParent(path);
            UniqueFd targetDir = target_.openFolder(split.parent);
            struct stat info {};
            if (!targetDir || !lstatAt(targetDir.get(), std::string(split.name), info)) {
                return false;
            }
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
        clearing_.clearForRestore(targetDir.get(), name, path);
        if (::renameat(backupDir, name.c_str(), targetDir.get(), name.c_str()) != 0) {
            throw EngineError::posix(errno, QStringLiteral("Could not move %1 back from the backup "
                                                           "folder")
                                                .arg(displayPath(path)));
        }
    }

    const BeneathFolder& target_;
    const MergedPlaces& places_;
    PlaceClearing& clearing_;
};

// The target folder, or the 404 when it is gone: with it went the backup folder.
BeneathFolder openTarget(const std::string& targetPath) {
    UniqueFd fd(::open(targetPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd && (errno == ENOENT || errno == ENOTDIR)) throw EngineError::backupNotFound();
    return BeneathFolder(targetPath);
}

}  // namespace

UndoMerge::UndoMerge(MergeSessionRecord record) : record_(std::move(record)) {}

bool UndoMerge::isBackupFolderOf(const std::string& backupDir, const std::string& targetPath) {
    const std::string prefix = joinPath(targetPath, kBackupsInfix);
    if (backupDir.size() != prefix.size() + 8 || !backupDir.starts_with(prefix)) return false;
    for (char c : std::string_view(backupDir).substr(prefix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

std::string UndoMerge::backupRelativeOf(const MergeSessionRecord& record) {
    const std::string prefix = joinPath(record.targetPath, kBackupsInfix);
    return std::string(kBackupsInfix) + record.backupDir.substr(prefix.size());
}

std::string UndoMerge::keptFolderOf(const MergeSessionRecord& record) {
    return joinPath(record.targetPath, std::string(KeptFolder::kFolder) + "/" + record.id);
}

UndoResult UndoMerge::run() const {
    if (!isBackupFolderOf(record_.backupDir, record_.targetPath)) {
        throw EngineError(
            kEngineErrorDomain, EINVAL,
            QStringLiteral("Refused to undo: the merge record's backup folder %1 "
                           "does not belong to its target folder %2")
                .arg(displayPath(record_.backupDir), displayPath(record_.targetPath)));
    }
    const TargetLock lock(record_.targetPath);
    const BeneathFolder target = openTarget(record_.targetPath);
    const std::string backupRelative = backupRelativeOf(record_);
    // Links that stay inside the target are followed here as during the merge, which made
    // the backup folder through them. Without the backup folder the merge was undone already
    // (or its backup removed): nothing is deleted then, since files the user has put at the
    // added places since are no merge's copies.
    UniqueFd backup = target.openFolder(backupRelative);
    if (!backup) {
        if (errno == ENOENT || errno == ENOTDIR) {
            // An undo killed after removing the backup folder leaves its journal: with nothing
            // left to undo, it only says so.
            removeMergeJournal(target, record_.id);
            throw EngineError::backupNotFound();
        }
        throw EngineError::posix(errno, QStringLiteral("Could not open the backup folder %1")
                                            .arg(displayPath(record_.backupDir)));
    }
    refuseWhileANewerMergeOverlaps(record_, target, backup.get());
    const MergedPlaces places(record_, target, backup.get());
    CopyCheck check(record_, places);
    KeptFolder kept(target, record_.id);
    UndoResult result;
    PlaceClearing clearing(target, check, kept, result);
    for (const auto& path : places.addedPaths()) clearing.clearAdded(path);
    Restore(target, places, clearing).folder(backup.get(), {});
    const auto split = splitParent(backupRelative);
    UniqueFd backupsFolder = target.openFolder(split.parent);
    if (backupsFolder) (void)removeTree(backupsFolder.get(), std::string(split.name));
    removeMergeJournal(target, record_.id);
    return result;
}

}  // namespace sorrelix::engine
