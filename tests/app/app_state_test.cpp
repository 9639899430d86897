#include "app_state.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <QDir>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apfs_engine.h"
#include "app_test_support.h"
#include "engine_error.h"
#include "exclude_rule_store.h"
#include "file_tree.h"
#include "language_manager.h"
#include "loc.h"
#include "sandbox_helper.h"
#include "sorrelix_app.h"

namespace sorrelix::app {
namespace {

using engine::APFSEngine;
using engine::EngineError;
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using testing::waitUntilIdle;
using text::loc;
using Log = std::vector<std::string>;

template <typename T>
std::string describe(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_integral_v<T>) {
        return std::to_string(value);
    } else if constexpr (std::is_same_v<T, QString>) {
        return value.toStdString();
    } else if constexpr (std::is_same_v<T, std::optional<QUrl>>) {
        return value ? value->path().toStdString() : "none";
    } else if constexpr (std::is_same_v<T, std::optional<QString>>) {
        return value ? value->toStdString() : "none";
    } else {
        return value ? "set" : "none";  // a summary or a merge record
    }
}

// Every announced write, in order, as "property=value", read when its own signal arrives.
class ChangeLog {
public:
    explicit ChangeLog(AppState& state) : state_(state) {
        record(&AppState::sourceURLChanged, "sourceURL", &AppState::sourceURL);
        record(&AppState::targetURLChanged, "targetURL", &AppState::targetURL);
        record(&AppState::isAnalyzingChanged, "isAnalyzing", &AppState::isAnalyzing);
        record(&AppState::isAnalyzedChanged, "isAnalyzed", &AppState::isAnalyzed);
        record(&AppState::mergeSummaryChanged, "mergeSummary", &AppState::mergeSummary);
        record(&AppState::isMergingChanged, "isMerging", &AppState::isMerging);
        record(&AppState::progressCurrentChanged, "progressCurrent", &AppState::progressCurrent);
        record(&AppState::progressTotalChanged, "progressTotal", &AppState::progressTotal);
        record(&AppState::progressFileNameChanged, "progressFileName", &AppState::progressFileName);
        record(&AppState::lastSessionChanged, "lastSession", &AppState::lastSession);
        record(&AppState::isUndoingChanged, "isUndoing", &AppState::isUndoing);
        record(&AppState::showSuccessBannerChanged, "showSuccessBanner",
               &AppState::showSuccessBanner);
        record(&AppState::alertMessageChanged, "alertMessage", &AppState::alertMessage);
    }

    Log take() { return std::exchange(entries_, {}); }

private:
    template <typename Getter>
    void record(void (AppState::*signal)(), const std::string& name, Getter getter) {
        QObject::connect(&state_, signal, [this, name, getter] {
            entries_.push_back(name + "=" + describe((state_.*getter)()));
        });
    }

    AppState& state_;
    Log entries_;
};

std::string alert(const QString& text) {
    return "alertMessage=" + text.toStdString();
}

class AppStateTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Work still running would outlive the state it reports to.
        EXPECT_TRUE(waitUntilIdle(state));
    }

    void choosePair() {
        state.setSource(urlOf(source.root()));
        state.setTarget(urlOf(target.root()));
        log.take();
    }

    void analyzePair() {
        choosePair();
        analyze();
    }

    // Compares the chosen pair and forgets what that announced.
    void analyze() {
        state.startAnalysis(false);
        ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
        ASSERT_TRUE(state.isAnalyzed()) << state.alertMessage().value_or("").toStdString();
        log.take();
    }

    // Merges, waits for the analysis that follows and forgets what that announced.
    void merge() {
        state.startMerge();
        ASSERT_TRUE(waitUntilIdle(state));
        ASSERT_TRUE(state.lastSession()) << state.alertMessage().value_or("").toStdString();
        log.take();
    }

    testing::ScopedConfigHome configHome;
    FileTree source;
    FileTree target;
    AppState state;
    ChangeLog log{state};
};

TEST_F(AppStateTest, AnalysisNeedsTwoDifferentFolders) {
    source.folder("a/b");
    source.folder("a/c");
    const std::string b = source.path("a/b");
    state.setSource(urlOf(b));
    state.startAnalysis(false);
    state.startMerge();
    EXPECT_EQ(log.take(), Log{"sourceURL=" + b});
    EXPECT_FALSE(state.isReadyToAnalyze());
    for (const std::string& same : {b, source.path("a/./b"), source.path("a/c/../b"), b + "/"}) {
        state.setTarget(urlOf(same));
        log.take();
        EXPECT_TRUE(state.isSameFolder()) << same;
        EXPECT_FALSE(state.isReadyToAnalyze());
        state.startAnalysis(false);
        EXPECT_EQ(log.take(), Log{alert(loc("alert_same_folder"))});
        state.setAlertMessage(std::nullopt);
    }
    state.setTarget(urlOf(source.path("a/c")));
    EXPECT_FALSE(state.isSameFolder());
    EXPECT_TRUE(state.isReadyToAnalyze());
}

// The window's command line names the folders: the first --source and the first --target,
// relative to the working folder; the source is set first.
TEST_F(AppStateTest, CommandLineFolders) {
    const std::string cwd = QDir::currentPath().toStdString();
    const std::vector<std::pair<QStringList, Log>> rows = {
        {{"--target", "/b", "--source", "/a"}, {"sourceURL=/a", "targetURL=/b"}},
        {{"--source", "/a", "--source", "/c", "--target"}, {"sourceURL=/a"}},
        {{"--source", "sub/dir"}, {"sourceURL=" + cwd + "/sub/dir"}},
        {{"--source", "/tmp/a b/é#?%"}, {"sourceURL=/tmp/a b/é#?%"}},
        {{"--source", "", "--Target", "/a", "--target=/b"}, {}}};
    for (const auto& [arguments, expected] : rows) {
        AppState fresh;
        ChangeLog freshLog(fresh);
        SorrelixApp::applyCommandLineFolders(QStringList{"sorrelix"} + arguments, fresh);
        EXPECT_EQ(freshLog.take(), expected) << arguments.join(' ').toStdString();
    }
}

// The summary, or the engine's error with the earlier summary kept.
TEST_F(AppStateTest, AnalysisPublishesItsOutcomeOnTheGuiThread) {
    source.file("new.txt", "new");
    source.file("changed.txt", "new version");
    source.file("same.txt", "same");
    target.file("changed.txt", "old");
    target.file("same.txt", "same");
    choosePair();
    state.startAnalysis(false);
    // It returns before any result is written, and gates a second start.
    EXPECT_EQ(log.take(), Log{"isAnalyzing=true"});
    EXPECT_FALSE(state.isReadyToAnalyze());
    ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    EXPECT_EQ(log.take(), (Log{"mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
    // Every file, and "same" read on both sides.
    EXPECT_EQ(state.analysisFilesCompared(), 3);
    EXPECT_EQ(state.analysisBytesRead(), 8);

    const std::string moved = target.root() + "-moved";
    std::filesystem::rename(target.root(), moved);
    const auto failed = APFSEngine::shared().analyzeNow(source.root(), target.root());
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    std::filesystem::rename(moved, target.root());
    EXPECT_EQ(log.take(), (Log{"isAnalyzing=true", "isAnalyzed=false", "isAnalyzing=false",
                               alert(*failed.errorMessage)}));
    EXPECT_TRUE(state.mergeSummary().has_value());
}

// The stored list applies to every analysis; a stored line that is no pattern (written by
// hand, say) stops the analysis rather than leaving out less than asked.
TEST_F(AppStateTest, AnalysisLeavesOutWhatTheStoredRulesMatchAndRefusesABadRule) {
    source.file("keep.txt", "k");
    source.file("b.tmp", "x");
    source.file("cache/a.txt", "x");
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"# scratch", "*.tmp", "cache/"}));
    analyzePair();
    EXPECT_EQ(state.mergeSummary()->addedCount, 1);
    EXPECT_EQ(state.mergeSummary()->excludedCount, 2);

    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp", "[z-a]"}));
    state.startAnalysis(false);
    const QString reason = excludePatternFaultText(engine::ExcludePatternFault::reversedRange);
    EXPECT_EQ(log.take(),
              (Log{"isAnalyzed=false", alert(loc("alert_exclude_rules_invalid") + "\n" +
                                             loc("alert_exclude_rule_item", "[z-a]", reason))}));
}

TEST_F(AppStateTest, AReplacedAnalysisIsNeverPublished) {
    source.file("a.txt", "a");
    choosePair();
    QSignalSpy dropped(&state, &AppState::cancelledAnalysisDropped);
    state.startAnalysis(false);
    state.startAnalysis(false);
    EXPECT_EQ(log.take(), (Log{"isAnalyzing=true", "isAnalyzing=false",
                               alert(loc("alert_cancel_analysis")), "isAnalyzing=true"}));
    ASSERT_TRUE(waitUntil([&] { return dropped.count() == 1 && state.isAnalyzed(); }));
    EXPECT_EQ(log.take(), (Log{"mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
}

// Bytes this process has read so far, whichever thread read them.
std::int64_t bytesReadByProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    throw std::runtime_error("no rchar in /proc/self/io");
}

// A long walk shows its count as it goes; Cancel stops the walk itself, long before its end.
TEST_F(AppStateTest, CountMovesWhileAnalysingAndCancelStopsTheWalk) {
    constexpr std::int64_t kFileBytes = 8 << 20;  // 64 GiB to read in all
    constexpr int kNames = 4000;
    testing::makeSlowToComparePair(source, target, kNames, kFileBytes);
    choosePair();
    QSignalSpy dropped(&state, &AppState::cancelledAnalysisDropped);
    const std::int64_t readBefore = bytesReadByProcess();
    state.startAnalysis(false);
    EXPECT_EQ(state.analysisFilesCompared(), 0);
    ASSERT_TRUE(waitUntil([this] { return state.analysisFilesCompared() > 0; }));
    state.cancelAnalysis();
    const std::int64_t shown = state.analysisFilesCompared();
    EXPECT_EQ(log.take(),
              (Log{"isAnalyzing=true", "isAnalyzing=false", alert(loc("alert_cancel_analysis"))}));
    ASSERT_TRUE(waitUntil([&] { return dropped.count() == 1; }));
    EXPECT_LT(bytesReadByProcess() - readBefore, kNames * kFileBytes);  // half of the walk
    EXPECT_EQ(state.analysisFilesCompared(), shown);
    EXPECT_FALSE(state.mergeSummary().has_value());  // never published
    state.setAlertMessage(std::nullopt);
    log.take();
    state.cancelAnalysis();  // with nothing running, nothing to say
    EXPECT_EQ(log.take(), Log{});
}

TEST_F(AppStateTest, FolderChangesDropTheResultButNotARunningAnalysis) {
    source.file("a.txt", "a");
    FileTree other;
    analyzePair();
    state.setTarget(urlOf(other.root()));
    EXPECT_EQ(log.take(),
              (Log{"targetURL=" + other.root(), "mergeSummary=none", "isAnalyzed=false"}));
    analyze();
    state.swapFolders();
    EXPECT_EQ(log.take(), (Log{"sourceURL=" + other.root(), "targetURL=" + source.root(),
                               "mergeSummary=none", "isAnalyzed=false"}));
    state.startAnalysis(false);
    log.take();
    state.swapFolders();  // refused while analysing
    EXPECT_EQ(log.take(), Log{});
    state.setSource(urlOf(other.root() + "/"));  // does not cancel: the result still arrives
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
}

TEST_F(AppStateTest, MergeReportsEveryProgressStepInOrderThenAnalysesAgain) {
    for (const char* name : {"a.txt", "b.txt", "c/d.txt"}) source.file(name, name);
    source.file("e.txt", "new version");
    target.file("e.txt", "old");
    analyzePair();
    const std::vector<engine::FileDiffItem> items = state.mergeSummary()->items;
    state.startMerge();
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressTotal=4"}));
    EXPECT_EQ(state.progressCurrent(), 0);
    EXPECT_FALSE(state.isReadyToAnalyze());
    state.swapFolders();  // refused while merging
    EXPECT_EQ(log.take(), Log{});

    ASSERT_TRUE(waitUntilIdle(state));
    Log expected;
    for (const auto& item : items) {
        if (item.kind == engine::FileDiffKind::identical) continue;
        expected.push_back("progressCurrent=" + std::to_string(expected.size() / 2 + 1));
        expected.push_back("progressFileName=" + item.relativePath);
    }
    expected.insert(expected.end(), {"lastSession=set", "isMerging=false", "showSuccessBanner=true",
                                     "isAnalyzing=true", "isAnalyzed=false", "mergeSummary=set",
                                     "isAnalyzing=false", "isAnalyzed=true"});
    EXPECT_EQ(log.take(), expected);
    EXPECT_EQ(state.lastSession()->id, APFSEngine::shared().loadSessionRecords().front().id);
    EXPECT_FALSE(state.mergeSummary()->hasChanges());
    EXPECT_EQ(SandboxHelper::shared().activeAccessCount(), 0);

    state.startMerge();             // nothing left to merge
    state.setSource(std::nullopt);  // a cleared well leaves the merge on offer for undo
    EXPECT_EQ(log.take(), (Log{"sourceURL=none", "mergeSummary=none", "isAnalyzed=false",
                               "showSuccessBanner=false"}));
    EXPECT_TRUE(state.lastSession().has_value());
}

// The failed merge becomes the last merge, so that undo takes back what it copied.
TEST_F(AppStateTest, FailedMergeRaisesItsDescriptionAndCanBeUndone) {
    source.file("a.txt", "a");
    analyzePair();
    std::filesystem::remove(source.path("a.txt"));
    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isMerging(); }));
    const QString description = EngineError::copyFailed("a.txt", ENOENT).description();
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressTotal=1", "progressCurrent=1",
                               "progressFileName=a.txt", "lastSession=set", "isMerging=false",
                               alert(loc("alert_merge_failed", description) + "\n\n" +
                                     loc("alert_merge_failed_undo"))}));
    EXPECT_EQ(state.lastSession()->outcome, engine::MergeOutcome::failed);
    EXPECT_TRUE(state.mergeSummary().has_value());
    const std::string backup = state.lastSession()->backupDir;
    state.undoLastMerge();
    ASSERT_TRUE(waitUntilIdle(state));
    EXPECT_FALSE(state.lastSession().has_value());
    EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(AppStateTest, UndoRestoresTheTargetThenAnalysesAgainOrKeepsTheMergeForAnotherTry) {
    source.file("a.txt", "new");
    target.file("a.txt", "old");
    analyzePair();
    merge();
    state.undoLastMerge();
    EXPECT_EQ(log.take(), Log{"isUndoing=true"});
    ASSERT_TRUE(waitUntilIdle(state));
    EXPECT_EQ(log.take(),
              (Log{"lastSession=none", "showSuccessBanner=false", "isUndoing=false",
                   alert(loc("alert_undo_success")), "isAnalyzing=true", "isAnalyzed=false",
                   "mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
    EXPECT_EQ(target.read("a.txt"), "old");
    EXPECT_EQ(state.mergeSummary()->updatedCount, 1);
    state.undoLastMerge();  // nothing left to undo
    EXPECT_EQ(log.take(), Log{});

    // A failed undo keeps the merge for another try.
    merge();
    std::filesystem::remove_all(state.lastSession()->backupDir);
    state.undoLastMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isUndoing(); }));
    EXPECT_EQ(log.take(),
              (Log{"isUndoing=true", "isUndoing=false",
                   alert(loc("alert_undo_failed", EngineError::backupNotFound().description()))}));
    EXPECT_TRUE(state.lastSession().has_value());
    EXPECT_TRUE(state.showSuccessBanner());
}

TEST_F(AppStateTest, NoMergeOrUndoStartsOnTopOfAnother) {
    source.file("a.txt", "a");
    analyzePair();
    merge();
    source.file("b.txt", "b");
    analyze();
    state.startMerge();
    state.startMerge();
    state.undoLastMerge();
    // The total stays 1, so only the current step and the file name are written anew.
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressCurrent=0", "progressFileName="}));
    ASSERT_TRUE(waitUntilIdle(state));
    EXPECT_EQ(APFSEngine::shared().loadSessionRecords().size(), 2u);

    source.file("c.txt", "c");
    analyze();
    state.undoLastMerge();
    state.undoLastMerge();
    state.startMerge();
    EXPECT_EQ(log.take(), Log{"isUndoing=true"});
    ASSERT_TRUE(waitUntilIdle(state));
    EXPECT_FALSE(target.exists("b.txt"));
    EXPECT_TRUE(target.exists("a.txt"));
}

// The warning needs a known, non-zero capacity below what the merge would write.
TEST_F(AppStateTest, DiskSpaceWarning) {
    EXPECT_TRUE(AppState::isDiskSpaceInsufficient(9, 10));
    for (const auto available : std::vector<std::optional<std::int64_t>>{std::nullopt, 0, -1, 10}) {
        EXPECT_FALSE(AppState::isDiskSpaceInsufficient(available, 10));
    }
    choosePair();
    struct statvfs info {};
    ASSERT_EQ(::statvfs(target.root().c_str(), &info), 0);
    // Other processes write meanwhile; the value is the unprivileged count, not f_bfree.
    EXPECT_NEAR(static_cast<double>(state.targetAvailableBytes().value_or(0)),
                static_cast<double>(info.f_bavail * info.f_frsize), 64.0 * 1024 * 1024);
    EXPECT_FALSE(state.isTargetDiskSpaceInsufficient());  // no summary
}

// Sizes in decimal units in the number format of the interface language, and volumes by name.
TEST_F(AppStateTest, SizesAndVolumes) {
    auto& languages = text::LanguageManager::shared();
    languages.setSelectedLanguage(QStringLiteral("en"));
    EXPECT_EQ(state.formatBytes(1000), QStringLiteral("1.0 kB"));
    languages.setSelectedLanguage(QStringLiteral("de"));
    EXPECT_EQ(state.formatBytes(1'234'567), QStringLiteral("1,2 MB"));
    languages.setSelectedLanguage(QStringLiteral("en"));
    EXPECT_EQ(state.volumeDescription(urlOf(target.path("missing/folder"))), loc("volume_local"));
    EXPECT_NE(state.volumeDescription(urlOf(target.root())), loc("volume_local"));
}

}  // namespace
}  // namespace sorrelix::app
