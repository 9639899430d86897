#pragma once

#include "merge_session_record.h"
#include "undo_result.h"

namespace sorrelix::engine {

// Reverts one merge from its record: deletes the files it added, moves the files it
// replaced back from its backup folder, then removes that folder. Every path is resolved
// beneath the record's target folder; a record that points elsewhere is refused.
//
// Only the merge's own copies are deleted or replaced. A file at one of its places that is no
// longer the copy the merge made (the user edited, replaced or saved over it since) is moved
// into the kept folder instead, and listed in the result. Merges that did not finish are
// undone from their journal the same way.
class UndoMerge {
public:
    explicit UndoMerge(MergeSessionRecord record);
    UndoResult run() const;

    static bool isBackupFolderOf(const std::string& backupDir, const std::string& targetPath);
    // The backup folder below the target, e.g. ".sorrelix/backups/<id>"; only for records
    // that isBackupFolderOf accepts.
    static std::string backupRelativeOf(const MergeSessionRecord& record);
    // Where an undo of the merge puts the files it keeps, as an absolute path.
    static std::string keptFolderOf(const MergeSessionRecord& record);

private:
    MergeSessionRecord record_;
};

}  // namespace sorrelix::engine
