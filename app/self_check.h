#pragma once

#include <QString>
#include <cstdio>

#include "merge_session_record.h"
#include "merge_summary.h"

namespace sorrelix::app {

// The built-in end-to-end check of the merge engine on a scratch folder pair. It prints a
// fixed transcript and either returns (all checks held) or ends the process itself.
class SelfCheck {
public:
    explicit SelfCheck(std::FILE* out = stdout);

    // Blocks the calling thread; must not be called on a thread whose event loop the engine needs.
    void run();

    // "<temp>/SorrelixTest_<UUID in upper case>"
    static QString makeScratchRoot();

private:
    void prepareFixtures() const;
    void testAnalyze();
    void testMerge();
    void testUndo();
    void print(const char* line) const;
    [[noreturn]] void failCheck() const;
    [[noreturn]] void failScope(const QString& description) const;

    std::FILE* out_;
    QString root_;
    QString source_;
    QString target_;
    engine::MergeSummary summary_;
    engine::MergeSessionRecord record_;
};

}  // namespace sorrelix::app
