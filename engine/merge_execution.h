#pragma once

#include <atomic>
#include <string>

#include "apfs_engine.h"

namespace sorrelix::engine {

// Applies a summary to the target: every added and updated file is copied in, and whatever
// stands at its place is first moved into this merge's backup folder. Files are handled one
// after another in summary order; nothing is rolled back when a step fails.
//
// Every merge that makes a change is in the history, whatever becomes of it: its record is
// stored as interrupted before the first change, with a journal in the target (MergeJournal),
// and rewritten as completed, failed or stopped when the merge ends. A failed merge throws an
// EngineError that carries its record.
class MergeExecution {
public:
    MergeExecution(std::string sourcePath, std::string targetPath);
    // `stopRequested`, when given, is read between items: once set, the merge finishes the
    // item at hand and returns its record as stopped.
    MergeSessionRecord run(const MergeSummary& summary, const ProgressCallback& onProgress,
                           const std::atomic<bool>* stopRequested = nullptr);

    static std::string newMergeId();
    static constexpr const char* kBackupsFolder = ".sorrelix/backups";

private:
    std::string sourcePath_;
    std::string targetPath_;
};

}  // namespace sorrelix::engine
