#pragma once

#include <string_view>

namespace sorrelix::engine {

// How a merge ended. A merge is stored as interrupted before its first change and rewritten
// when it ends, so a merge whose process died keeps that outcome.
enum class MergeOutcome { completed, failed, stopped, interrupted };

// "completed", "failed", "stopped", "interrupted": the stored form.
std::string_view rawValue(MergeOutcome outcome);
// A value written by a later version that this one does not know reads as interrupted: the
// merge may not have done all it meant to, and undo works from the target either way.
MergeOutcome mergeOutcomeFromRawValue(std::string_view raw);

}  // namespace sorrelix::engine
