#include "newer_merge_guard.h"

#include <QString>
#include <optional>
#include <unordered_set>

#include "beneath_folder.h"
#include "engine_error.h"
#include "folder_listing.h"
#include "merged_places.h"
#include "relative_path.h"
#include "session_history.h"
#include "undo_merge.h"

namespace sorrelix::engine {

namespace {

using Places = std::unordered_set<std::string>;

// The places a merge changed: where it put copies and what it set aside in its backup.
Places placesChangedBy(const MergeSessionRecord& record, const BeneathFolder& target,
                       int backupDir) {
    Places places;
    for (auto& path : MergedPlaces(record, target, backupDir).changedPaths()) {
        places.insert(std::move(path));
    }
    for (auto& path : listEntriesBelow(backupDir)) places.insert(std::move(path));
    return places;
}

bool isNewerMergeIntoSameFolder(const MergeSessionRecord& other, const MergeSessionRecord& record) {
    return other.id != record.id && other.targetPath == record.targetPath &&
           other.timestamp > record.timestamp &&
           UndoMerge::isBackupFolderOf(other.backupDir, other.targetPath);
}

}  // namespace

void refuseWhileANewerMergeOverlaps(const MergeSessionRecord& record, const BeneathFolder& target,
                                    int backupDir) {
    std::optional<Places> ours;  // listed only when a newer merge stands
    for (const auto& newer : SessionHistory::load()) {
        if (!isNewerMergeIntoSameFolder(newer, record)) continue;
        const UniqueFd newerBackup = target.openFolder(UndoMerge::backupRelativeOf(newer));
        if (!newerBackup) continue;  // undone already
        if (!ours) ours = placesChangedBy(record, target, backupDir);
        for (const auto& path : placesChangedBy(newer, target, newerBackup.get())) {
            if (!ours->contains(path)) continue;
            throw EngineError(kEngineErrorDomain, kNewerMergeOverlapsCode,
                              QStringLiteral("Refused to undo: the newer merge %1 into this folder "
                                             "changed %2 again; undo that merge first")
                                  .arg(QString::fromStdString(newer.id), displayPath(path)));
        }
    }
}

}  // namespace sorrelix::engine
