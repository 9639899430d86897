#include "merge_execution.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <optional>

#include <QUuid>

#include "copy_preparer.h"
#include "engine_error.h"
#include "file_copier.h"
#include "folder_cache.h"
#include "merge_journal.h"
#include "relative_path.h"
#include "rename_no_replace.h"
#include "session_history.h"
#include "target_lock.h"

namespace sorrelix::engine {

namespace {

[[noreturn]] void failFolder(int errorNumber, const std::string& relativePath,
                             std::string_view folder, const char* where) {
    if (BeneathFolder::isEscapeError(errorNumber)) {
        throw EngineError(kEngineErrorDomain, errorNumber,
                          QStringLiteral("Refused to write outside the %1 folder: the path of %2 "
                                         "goes through a symbolic link that leads out of it")
                              .arg(QString::fromLatin1(where), displayPath(relativePath)));
    }
    if (errorNumber == ENOTDIR || errorNumber == EEXIST) {
        // A file stands where the item needs a folder: no copy can succeed.
        throw EngineError::copyFailed(relativePath, ENOTDIR);
    }
    throw EngineError::posix(errorNumber,
                             QStringLiteral("Could not create the folder %1 in the %2")
                                 .arg(displayPath(folder), QString::fromLatin1(where)));
}

Occupant occupantAt(int dirFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Occupant::nothing;
    return S_ISDIR(st.st_mode) ? Occupant::folder : Occupant::fileOrLink;
}

// Works through the items of one merge with the folders held open.
class MergeRun {
public:
    MergeRun(const std::string& sourcePath, const std::string& targetPath, const std::string& id)
        : source_(sourcePath),
          target_(targetPath),
          backup_(openBackupFolder(id)),
          sourceFolders_(source_),
          targetFolders_(target_),
          backupFolders_(backup_) {}

    const BeneathFolder& source() const { return source_; }
    const BeneathFolder& target() const { return target_; }
    std::string backupPath() const { return backup_.path(); }

    // Returns what stood at the item's place (it is in the backup folder now), and what the
    // copy at the place is. `prepared` is the item's copy made ahead, if any.
    Occupant copyItem(const FileDiffItem& item, PreparedCopy& prepared, FileIdentity& copy) {
        const std::string& path = item.relativePath;
        if (!isSafeRelativePath(path)) {
            throw EngineError::copyFailed(path, EINVAL);
        }
        const auto split = splitParent(path);
        const std::string name(split.name);
        const int targetDir = targetFolders_.folder(split.parent, true);
        if (targetDir < 0) failFolder(errno, path, split.parent, "target");
        // Whatever stands at the place, for an added item as much as for an updated one, is
        // kept in the backup folder: nothing is overwritten without a copy to undo to.
        const Occupant occupant = occupantAt(targetDir, name);
        int backupDir = -1;
        if (occupant != Occupant::nothing) {
            backupDir = moveToBackup(targetDir, name, path, split.parent);
        }
        const int error = placeCopy(prepared, split.parent, name, targetDir, copy);
        if (error != 0) {
            // The failed item stays as it was: its old version goes back to its place.
            if (backupDir >= 0) {
                renameNoReplace(backupDir, name, targetDir, name);
            }
            throw EngineError::copyFailed(path, error);
        }
        return occupant;
    }

private:
    BeneathFolder openBackupFolder(const std::string& id) {
        const std::string relative = std::string(MergeExecution::kBackupsFolder) + "/" + id;
        UniqueFd fd = target_.makeFolders(relative);
        if (!fd) {
            const int error = errno;
            if (BeneathFolder::isEscapeError(error)) {
                throw EngineError(kEngineErrorDomain, error,
                                  QStringLiteral("Refused to create the backup folder: %1 in the "
                                                 "target is a symbolic link")
                                      .arg(displayPath(".sorrelix")));
            }
            throw EngineError::posix(error,
                                     QStringLiteral("Could not create the backup folder %1")
                                         .arg(displayPath(joinPath(target_.path(), relative))));
        }
        return BeneathFolder(std::move(fd), joinPath(target_.path(), relative));
    }

    // Links the prepared copy, or copies the item now: when it was not prepared, or was
    // prepared on another file system than its folder's (a mount inside the target).
    int placeCopy(PreparedCopy& prepared, std::string_view parent, const std::string& name,
                  int targetDir, FileIdentity& copy) {
        // A copy that failed ahead fails in its turn, after the same steps as one made now.
        if (prepared.state == PreparedCopy::State::failed) return prepared.error;
        if (prepared.state == PreparedCopy::State::ready) {
            const int error = FileCopier::publish(prepared, targetDir, name);
            if (error == 0) copy = prepared.identity;
            if (error != EXDEV) return error;
        }
        const int sourceDir = sourceFolders_.folder(parent, false);
        return sourceDir < 0 ? errno : copier_.copy(sourceDir, name, targetDir, name, copy);
    }

    // Returns the backup folder that now holds the occupant.
    int moveToBackup(int targetDir, const std::string& name, const std::string& path,
                     std::string_view parent) {
        const int backupDir = backupFolders_.folder(parent, true);
        if (backupDir < 0) failFolder(errno, path, parent, "backup");
        if (renameNoReplace(targetDir, name, backupDir, name) != 0) {
            throw EngineError::posix(
                errno,
                QStringLiteral("Could not move %1 into the backup folder").arg(displayPath(path)));
        }
        return backupDir;
    }

    BeneathFolder source_;
    BeneathFolder target_;
    BeneathFolder backup_;
    FolderCache sourceFolders_;
    FolderCache targetFolders_;
    FolderCache backupFolders_;
    FileCopier copier_;
};

// Copies the work list in order; returns completed, or stopped when asked to between items.
MergeOutcome copyAll(MergeRun& merge, const std::vector<const FileDiffItem*>& work,
                     CopyPreparer& preparer, MergeJournal& journal, std::vector<std::string>& added,
                     const ProgressCallback& onProgress, const std::atomic<bool>* stopRequested) {
    const auto total = static_cast<std::int64_t>(work.size());
    for (std::size_t index = 0; index < work.size(); ++index) {
        if (stopRequested != nullptr && stopRequested->load()) return MergeOutcome::stopped;
        const FileDiffItem& item = *work[index];
        if (onProgress) onProgress(static_cast<std::int64_t>(index) + 1, total, item.relativePath);
        PreparedCopy prepared = preparer.take(index);
        FileIdentity copy;
        const Occupant occupant = merge.copyItem(item, prepared, copy);
        journal.recordCopy(index, occupant, copy);
        // Undo deletes the listed places, then moves the backup back. A file or link that was
        // replaced comes back over the copy by itself, and must not be listed: an undo run
        // again after an interruption would delete it once restored. A replaced folder is
        // listed, so that the copy in its place (even a link into the target) goes first.
        if (occupant != Occupant::fileOrLink) added.push_back(item.relativePath);
    }
    return MergeOutcome::completed;
}

}  // namespace

MergeExecution::MergeExecution(std::string sourcePath, std::string targetPath)
    : sourcePath_(std::move(sourcePath)), targetPath_(std::move(targetPath)) {}

std::string MergeExecution::newMergeId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).left(8).toLower().toStdString();
}

MergeSessionRecord MergeExecution::run(const MergeSummary& summary,
                                       const ProgressCallback& onProgress,
                                       const std::atomic<bool>* stopRequested) {
    // Held until the record is saved, so the history lists merges into one target in the
    // order their file operations happened: the order in which undo must reverse them.
    const TargetLock lock(targetPath_);
    const std::string id = newMergeId();
    MergeRun merge(sourcePath_, targetPath_, id);
    std::vector<const FileDiffItem*> work;
    for (const auto& item : summary.items) {
        if (item.kind != FileDiffKind::identical) work.push_back(&item);
    }
    MergeSessionRecord record{id,
                              Date::now(),
                              sourcePath_,
                              targetPath_,
                              summary.addedCount,
                              summary.updatedCount,
                              merge.backupPath(),
                              std::vector<std::string>{},
                              MergeOutcome::interrupted};
    // Copying starts while the journal is being flushed: what it makes stays invisible until
    // the items' turns.
    std::optional<CopyPreparer> preparer(std::in_place, merge.source(), merge.target(), work);
    MergeJournal journal(merge.target(), record, work);
    SessionHistory::save(record);

    // How the merge ended goes to its journal and replaces its record in the history.
    auto end = [&](MergeOutcome outcome) {
        // Copies made ahead and never linked give their space back before the last writes.
        preparer.reset();
        record.outcome = outcome;
        journal.finish(outcome);
        SessionHistory::replace(record);
    };
    try {
        end(copyAll(merge, work, *preparer, journal, *record.addedRelativePaths, onProgress,
                    stopRequested));
    } catch (EngineError& error) {
        end(MergeOutcome::failed);
        error.setFailedMerge(record);
        throw;
    } catch (...) {
        end(MergeOutcome::failed);
        throw;
    }
    return record;
}

}  // namespace sorrelix::engine
