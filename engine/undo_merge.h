#pragma once

#include "merge_session_record.h"

namespace sorrelix::engine {

// Reverts one merge from its record: deletes the files it added, moves the files it
// replaced back from its backup folder, then removes that folder. Every path is resolved
// beneath the record's target folder; a record that points elsewhere is refused.
class UndoMerge {
public:
    explicit UndoMerge(MergeSessionRecord record);
    void run() const;

    static bool isBackupFolderOf(const std::string& backupDir, const std::string& targetPath);

private:
    MergeSessionRecord record_;
};

}  // namespace sorrelix::engine
