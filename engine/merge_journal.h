#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <optional>
#include <string>
#include <vector>

#include "beneath_folder.h"
#include "file_diff_item.h"
#include "file_identity.h"
#include "merge_session_record.h"

namespace sorrelix::engine {

// The log a merge keeps inside its target, at ".sorrelix/journals/<id>": the merge's record
// and its whole work list, made durable before the first change, then one line per item
// copied, saying what stood at the place and what the copy is, and a last line with the
// outcome. From it undo knows which places a merge reached, also after a kill or a power cut,
// and which files are still the merge's copies.
//
// Only the head is flushed to disk (two fsync calls); the item lines and the last line are
// written in batches without. Whatever a crash loses of them, undo finds from the target itself:
// the backup folder says what was replaced, and a copy is known by being the source's file.
class MergeJournal {
public:
    static constexpr const char* kFolder = ".sorrelix/journals";

    // Throws EngineError when the journal cannot be written: nothing has changed yet then.
    MergeJournal(const BeneathFolder& target, const MergeSessionRecord& record,
                 const std::vector<const FileDiffItem*>& work);
    ~MergeJournal();
    MergeJournal(const MergeJournal&) = delete;
    MergeJournal& operator=(const MergeJournal&) = delete;

    void recordCopy(std::size_t index, Occupant occupant, const FileIdentity& copy);
    void finish(MergeOutcome outcome);

private:
    void flush();

    UniqueFd fd_;
    QByteArray pending_;
};

// A journal as read back.
struct MergeJournalContents {
    struct Copy {
        Occupant occupant;
        FileIdentity identity;
    };

    MergeSessionRecord record;
    std::vector<std::string> paths;           // the work list, in order
    std::vector<bool> added;                  // per path: the analysis found nothing there
    std::vector<std::optional<Copy>> copies;  // per path: the copy made, as far as logged
    std::optional<MergeOutcome> ending;       // none while running, or when it was killed
};

// None when the target holds no readable journal of that merge.
std::optional<MergeJournalContents> readMergeJournal(const BeneathFolder& target,
                                                     const std::string& mergeId);
void removeMergeJournal(const BeneathFolder& target, const std::string& mergeId);

}  // namespace sorrelix::engine
