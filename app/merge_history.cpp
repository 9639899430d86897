#include "merge_history.h"

#include <sys/stat.h>

#include <QtConcurrent/QtConcurrentRun>

#include "apfs_engine.h"
#include "undo_merge.h"

namespace sorrelix::app {

namespace {
bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
}  // namespace

QFuture<std::vector<MergeHistoryEntry>> MergeHistory::load() {
    return QtConcurrent::run(&MergeHistory::loadNow);
}

std::vector<MergeHistoryEntry> MergeHistory::loadNow() {
    std::vector<MergeHistoryEntry> entries;
    for (auto& record : engine::APFSEngine::shared().loadSessionRecords()) {
        const MergeHistoryEntry::Backup backup = backupOf(record);
        entries.push_back({std::move(record), backup});
    }
    return entries;
}

MergeHistoryEntry::Backup MergeHistory::backupOf(const engine::MergeSessionRecord& record) {
    if (!isFolder(record.targetPath)) return MergeHistoryEntry::Backup::targetMissing;
    // A record whose backup folder lies outside its target is refused by undo: none to offer.
    const bool present = engine::UndoMerge::isBackupFolderOf(record.backupDir, record.targetPath) &&
                         isFolder(record.backupDir);
    return present ? MergeHistoryEntry::Backup::present : MergeHistoryEntry::Backup::gone;
}

}  // namespace sorrelix::app
