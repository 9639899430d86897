#include "merge_summary.h"

namespace sorrelix::engine {

MergeSummary MergeSummary::failure(const QString& message) {
    MergeSummary summary;
    summary.errorMessage = message;
    return summary;
}

void MergeSummary::add(FileDiffItem item) {
    switch (item.kind) {
        case FileDiffKind::added:
            ++addedCount;
            bytesToTransfer += item.sourceSize;
            break;
        case FileDiffKind::updated:
            ++updatedCount;
            bytesToTransfer += item.sourceSize;
            break;
        case FileDiffKind::identical:
            ++identicalCount;
            break;
    }
    items.push_back(std::move(item));
}

}  // namespace sorrelix::engine
