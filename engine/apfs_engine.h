#pragma once

#include <QFuture>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis_progress.h"
#include "exclude_rules.h"
#include "merge_session_record.h"
#include "merge_summary.h"
#include "undo_result.h"

class QThreadPool;

namespace sorrelix::engine {

// (current, total, relativePath); called on the merge's worker thread.
using ProgressCallback =
    std::function<void(std::int64_t current, std::int64_t total, const std::string& relativePath)>;

// The merge engine. Stateless: every operation works on the file system and the history
// store only, so operations may run concurrently. Folders are absolute paths as raw bytes.
// The asynchronous forms run on the engine's own thread pool and never need the GUI thread.
class APFSEngine {
public:
    static APFSEngine& shared();

    // The progress, when given, receives the walk's counts, and its cancellation stops the
    // walk at its next entry; the summary of a cancelled analysis carries the cancel text.
    QFuture<MergeSummary> analyze(const std::string& sourcePath, const std::string& targetPath,
                                  std::shared_ptr<AnalysisProgress> progress = {},
                                  ExcludeRules rules = {});
    // Setting `stopRequested` stops the merge after the file at hand; it then returns its
    // record as stopped. A failed merge throws an EngineError that carries its record.
    QFuture<MergeSessionRecord> executeMerge(
        const std::string& sourcePath, const std::string& targetPath, MergeSummary summary,
        ProgressCallback onProgress, std::shared_ptr<const std::atomic<bool>> stopRequested = {});
    QFuture<UndoResult> undoMerge(MergeSessionRecord record);

    // Blocking forms, for the command-line tool, the self-check and tests.
    // Entries the rules match are left out of the summary (none by default).
    MergeSummary analyzeNow(const std::string& sourcePath, const std::string& targetPath,
                            AnalysisProgress* progress = nullptr,
                            const ExcludeRules& rules = {}) const;
    MergeSessionRecord executeMergeNow(const std::string& sourcePath, const std::string& targetPath,
                                       const MergeSummary& summary,
                                       const ProgressCallback& onProgress,
                                       const std::atomic<bool>* stopRequested = nullptr) const;
    UndoResult undoMergeNow(const MergeSessionRecord& record) const;

    std::vector<MergeSessionRecord> loadSessionRecords() const;
    // Merges into the target that began and never ended (killed, power cut), newest first:
    // each can be undone like any other. A short look into the target's engine folder.
    std::vector<MergeSessionRecord> interruptedMerges(const std::string& targetPath) const;

    static bool isJunkFile(std::string_view relativePath, std::string_view fileName);

private:
    APFSEngine();
    QThreadPool* pool_;
};

// A folder path as the engine uses it: absolute, without trailing "/" (but "/" stays "/").
std::string normalizedFolderPath(std::string path);

}  // namespace sorrelix::engine
