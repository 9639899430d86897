#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "file_diff_item.h"

namespace sorrelix::engine {

// The result of one folder analysis and the input of a merge.
struct MergeSummary {
    std::int64_t addedCount = 0;
    std::int64_t updatedCount = 0;
    std::int64_t identicalCount = 0;
    std::int64_t bytesToTransfer = 0;
    std::vector<FileDiffItem> items;
    std::optional<QString> errorMessage;
    // Source entries an exclude rule matched, files and folders alike (junk is not counted);
    // what lies inside a folder left out is never seen, so it counts once. Last, so that
    // summaries built from the six values above keep compiling.
    std::int64_t excludedCount = 0;

    bool hasChanges() const { return addedCount > 0 || updatedCount > 0; }
    // Appends the item and counts it, with its bytes when the merge would copy it.
    void add(FileDiffItem item);

    static MergeSummary failure(const QString& message);
};

}  // namespace sorrelix::engine
