#include "merge_outcome.h"

namespace sorrelix::engine {

std::string_view rawValue(MergeOutcome outcome) {
    switch (outcome) {
        case MergeOutcome::completed:
            return "completed";
        case MergeOutcome::failed:
            return "failed";
        case MergeOutcome::stopped:
            return "stopped";
        case MergeOutcome::interrupted:
            break;
    }
    return "interrupted";
}

MergeOutcome mergeOutcomeFromRawValue(std::string_view raw) {
    for (const MergeOutcome outcome :
         {MergeOutcome::completed, MergeOutcome::failed, MergeOutcome::stopped}) {
        if (raw == rawValue(outcome)) return outcome;
    }
    return MergeOutcome::interrupted;
}

}  // namespace sorrelix::engine
