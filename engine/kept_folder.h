#pragma once

#include <optional>
#include <string>

#include "beneath_folder.h"
#include "undo_result.h"

namespace sorrelix::engine {

// ".sorrelix/kept/<merge id>" in the target: where undo moves what the user changed after
// the merge, under its relative path. A move within the target never copies, never fails for
// space, and keeps the file on the target's volume, where the user looks for it.
class KeptFolder {
public:
    static constexpr const char* kFolder = ".sorrelix/kept";

    KeptFolder(const BeneathFolder& target, const std::string& mergeId);

    // Moves the entry `name` of `dirFd`, whose place in the target is `relativePath`; throws
    // EngineError when it cannot be moved.
    KeptFile keep(int dirFd, const std::string& name, const std::string& relativePath);

private:
    const BeneathFolder& target_;
    std::string relative_;
};

}  // namespace sorrelix::engine
