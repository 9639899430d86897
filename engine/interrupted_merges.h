#pragma once

#include <string>
#include <vector>

#include "merge_session_record.h"

namespace sorrelix::engine {

// The merges into a target that began and never ended (the process was killed, or the power
// went), newest first: the history keeps them as interrupted (or, where it lost them, their
// journals in the target have no last line), and no merge or undo holds the target now. Each is the
// record the history keeps of it, or, where the history lost it, the record its journal began with;
// either is undone like any other.
std::vector<MergeSessionRecord> findInterruptedMerges(const std::string& targetPath);

}  // namespace sorrelix::engine
