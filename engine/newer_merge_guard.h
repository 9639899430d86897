#pragma once

#include "merge_session_record.h"

namespace sorrelix::engine {

class BeneathFolder;

inline constexpr int kNewerMergeOverlapsCode = 409;

// Undoing a merge while a newer merge into the same folder still stands, one that put in place
// or set aside some of the same files, would lose data: the restore replaces the newer merge's
// copy, and undoing the newer merge afterwards deletes the restored original to put back the
// older merge's copy. Such an undo is refused (EngineError, code 409) until the newer merge is
// undone. A newer merge stands while its backup folder exists. `backupDir` is the record's own
// backup folder, held open.
void refuseWhileANewerMergeOverlaps(const MergeSessionRecord& record, const BeneathFolder& target,
                                    int backupDir);

}  // namespace sorrelix::engine
