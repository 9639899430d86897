#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "date.h"
#include "merge_outcome.h"

namespace sorrelix::engine {

// One performed merge: what the history stores and what undo consumes.
struct MergeSessionRecord {
    std::string id;
    Date timestamp;
    std::string sourcePath;
    std::string targetPath;
    std::int64_t addedCount = 0;
    std::int64_t updatedCount = 0;
    std::string backupDir;
    // Absent in records written by older versions; always present (maybe empty) in new ones.
    std::optional<std::vector<std::string>> addedRelativePaths;
    // Stored as "outcome"; records written before merges could end otherwise read as completed.
    MergeOutcome outcome = MergeOutcome::completed;
};

}  // namespace sorrelix::engine
