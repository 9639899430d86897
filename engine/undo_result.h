#pragma once

#include <string>
#include <vector>

namespace sorrelix::engine {

// A file that the user changed after the merge, found where undo had to delete or replace
// the merge's copy: set aside instead, never deleted.
struct KeptFile {
    std::string relativePath;  // its place in the target
    std::string keptPath;      // the absolute path it has now
};

// What an undo did besides restoring the target.
struct UndoResult {
    std::vector<KeptFile> keptFiles;
};

}  // namespace sorrelix::engine
