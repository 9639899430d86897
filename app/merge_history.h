#pragma once

#include <QFuture>
#include <vector>

#include "merge_session_record.h"

namespace sorrelix::app {

// One stored merge as the history window lists it: the record, and what is left of it on
// disk, which says whether it can still be undone.
struct MergeHistoryEntry {
    enum class Backup {
        present,        // the backup folder is there: undo can run
        gone,           // the target is there but the backup folder is not: undone
        targetMissing,  // the target folder itself is gone (or unmounted)
    };
    engine::MergeSessionRecord record;
    Backup backup = Backup::gone;

    bool canUndo() const { return backup == Backup::present; }
};

// The stored history, newest first, with each backup folder looked up. The history store
// can be changed by other processes at any time (the command-line tool), so it is read
// afresh on every load; the load touches the disk and so runs on a worker thread.
class MergeHistory {
public:
    static QFuture<std::vector<MergeHistoryEntry>> load();
    static std::vector<MergeHistoryEntry> loadNow();
    static MergeHistoryEntry::Backup backupOf(const engine::MergeSessionRecord& record);
};

}  // namespace sorrelix::app
