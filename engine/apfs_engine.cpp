#include "apfs_engine.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include "folder_analysis.h"
#include "interrupted_merges.h"
#include "merge_execution.h"
#include "session_history.h"
#include "undo_merge.h"

namespace sorrelix::engine {

APFSEngine& APFSEngine::shared() {
    static APFSEngine engine;
    return engine;
}

APFSEngine::APFSEngine() : pool_(new QThreadPool()) {
    // Analyses, merges and undos may overlap (the window and a re-analysis); each runs on
    // its own thread here, never on the GUI thread.
    pool_->setMaxThreadCount(8);
}

QFuture<MergeSummary> APFSEngine::analyze(const std::string& sourcePath,
                                          const std::string& targetPath,
                                          std::shared_ptr<AnalysisProgress> progress,
                                          ExcludeRules rules) {
    return QtConcurrent::run(pool_, [this, sourcePath, targetPath, progress = std::move(progress),
                                     rules = std::move(rules)] {
        return analyzeNow(sourcePath, targetPath, progress.get(), rules);
    });
}

QFuture<MergeSessionRecord> APFSEngine::executeMerge(
    const std::string& sourcePath, const std::string& targetPath, MergeSummary summary,
    ProgressCallback onProgress, std::shared_ptr<const std::atomic<bool>> stopRequested) {
    return QtConcurrent::run(pool_, [this, sourcePath, targetPath, summary = std::move(summary),
                                     onProgress = std::move(onProgress),
                                     stopRequested = std::move(stopRequested)] {
        return executeMergeNow(sourcePath, targetPath, summary, onProgress, stopRequested.get());
    });
}

QFuture<UndoResult> APFSEngine::undoMerge(MergeSessionRecord record) {
    return QtConcurrent::run(pool_,
                             [this, record = std::move(record)] { return undoMergeNow(record); });
}

MergeSummary APFSEngine::analyzeNow(const std::string& sourcePath, const std::string& targetPath,
                                    AnalysisProgress* progress, const ExcludeRules& rules) const {
    return FolderAnalysis(normalizedFolderPath(sourcePath), normalizedFolderPath(targetPath),
                          progress, &rules)
        .run();
}

MergeSessionRecord APFSEngine::executeMergeNow(const std::string& sourcePath,
                                               const std::string& targetPath,
                                               const MergeSummary& summary,
                                               const ProgressCallback& onProgress,
                                               const std::atomic<bool>* stopRequested) const {
    return MergeExecution(normalizedFolderPath(sourcePath), normalizedFolderPath(targetPath))
        .run(summary, onProgress, stopRequested);
}

UndoResult APFSEngine::undoMergeNow(const MergeSessionRecord& record) const {
    return UndoMerge(record).run();
}

std::vector<MergeSessionRecord> APFSEngine::loadSessionRecords() const {
    return SessionHistory::load();
}

std::vector<MergeSessionRecord> APFSEngine::interruptedMerges(const std::string& targetPath) const {
    return findInterruptedMerges(normalizedFolderPath(targetPath));
}

std::string normalizedFolderPath(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace sorrelix::engine
