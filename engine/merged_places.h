#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "beneath_folder.h"
#include "file_identity.h"
#include "merge_journal.h"
#include "merge_session_record.h"

namespace sorrelix::engine {

// The places of the target that one merge put copies at, as far as undo can know them: from
// the merge's journal where the target holds it, else from its record.
class MergedPlaces {
public:
    // `backup` is the merge's backup folder, held open.
    MergedPlaces(const MergeSessionRecord& record, const BeneathFolder& target, int backup);

    // Places where nothing or a folder stood, whose copies undo deletes, in merge order.
    const std::vector<std::string>& addedPaths() const { return addedPaths_; }
    bool isAdded(const std::string& path) const { return addedSet_.contains(path); }
    // What the merge's copy at a place was, when its journal says so.
    std::optional<FileIdentity> copyAt(const std::string& path) const;
    // Every place the merge is known to have changed: for the check against newer merges.
    std::vector<std::string> changedPaths() const;

private:
    void addFromJournal(const MergeJournalContents& journal, int backup);
    void add(const std::string& path, Occupant occupant, std::optional<FileIdentity> copy);

    std::vector<std::string> addedPaths_;
    std::unordered_set<std::string> addedSet_;
    std::unordered_map<std::string, FileIdentity> copies_;
    bool fromJournal_ = false;
};

}  // namespace sorrelix::engine
