#pragma once

#include <string>

#include "analysis_progress.h"
#include "exclude_rules.h"
#include "merge_summary.h"

namespace sorrelix::engine {

// Compares a source tree with a target tree and classifies every source file. The walk
// runs on several threads, one folder at a time each, and the items keep the order of a
// single depth-first walk. A given progress receives the walk's counts as it goes; once its
// cancellation is requested, every thread stops at its next entry and run() returns a
// summary that carries the cancel text as its error.
class FolderAnalysis {
public:
    // Source entries that `rules` exclude are left out before anything else is looked at;
    // an excluded folder is never entered.
    FolderAnalysis(std::string sourcePath, std::string targetPath,
                   AnalysisProgress* progress = nullptr, const ExcludeRules* rules = nullptr);
    MergeSummary run() const;

    static constexpr std::int64_t kContentCheckLimit = 10485760;
    static constexpr double kTimeToleranceSeconds = 1.0;

private:
    std::string sourcePath_;
    std::string targetPath_;
    AnalysisProgress* progress_;
    const ExcludeRules* rules_;
};

}  // namespace sorrelix::engine
