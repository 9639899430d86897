#pragma once

#include <string>

#include "apfs_engine.h"

namespace sorrelix::engine {

// Applies a summary to the target: every added and updated file is copied in, and whatever
// stands at its place is first moved into this merge's backup folder. Files are handled one
// after another in summary order; nothing is rolled back when a step fails.
class MergeExecution {
public:
    MergeExecution(std::string sourcePath, std::string targetPath);
    MergeSessionRecord run(const MergeSummary& summary, const ProgressCallback& onProgress);

    static std::string newMergeId();
    static constexpr const char* kBackupsFolder = ".sorrelix/backups";

private:
    std::string sourcePath_;
    std::string targetPath_;
};

}  // namespace sorrelix::engine
