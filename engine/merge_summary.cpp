#include "merge_summary.h"

namespace sorrelix::engine {

MergeSummary MergeSummary::failure(const QString& message) {
    MergeSummary summary;
    summary.errorMessage = message;
    return summary;
}

}  // namespace sorrelix::engine
