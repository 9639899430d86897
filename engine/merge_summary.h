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

    bool hasChanges() const { return addedCount > 0 || updatedCount > 0; }
    // Appends the item and counts it, with its bytes when the merge would copy it.
    void add(FileDiffItem item);

    static MergeSummary failure(const QString& message);
};

}  // namespace sorrelix::engine
