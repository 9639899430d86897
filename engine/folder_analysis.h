#pragma once

#include <string>

#include "merge_summary.h"

namespace sorrelix::engine {

// Compares a source tree with a target tree and classifies every source file. The walk
// runs on several threads, one folder at a time each, and the items keep the order of a
// single depth-first walk.
class FolderAnalysis {
public:
    FolderAnalysis(std::string sourcePath, std::string targetPath);
    MergeSummary run() const;

    static constexpr std::int64_t kContentCheckLimit = 10485760;
    static constexpr double kTimeToleranceSeconds = 1.0;

private:
    std::string sourcePath_;
    std::string targetPath_;
};

}  // namespace sorrelix::engine
