#include "app_state.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>
#include <QSignalSpy>
#include <QStorageInfo>
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
#include "session_history.h"
#include "sorrelix_app.h"

namespace sorrelix::app {
namespace {

using engine::APFSEngine;
using engine::EngineError;
using testing::FileTree;
using testing::ScopedConfigHome;
using testing::urlOf;
using testing::waitUntil;
using text::loc;
using Log = std::vector<std::string>;

std::string show(bool value) {
    return value ? "true" : "false";
}

template <typename T>
std::string show(const std::optional<T>& value) {
    return value ? "set" : "none";
}

// Every announced write, in order, as "property=value".
class ChangeLog {
public:
    explicit ChangeLog(AppState& state) {
        const auto record = [this, &state](auto signal, std::string name, auto value) {
            QObject::connect(&state, signal, [this, name, value, &state] {
                entries.push_back(name + "=" + value(state));
            });
        };
        record(&AppState::sourceURLChanged, "sourceURL", [](AppState& s) {
            return s.sourceURL() ? s.sourceURL()->path().toStdString() : "none";
        });
        record(&AppState::targetURLChanged, "targetURL", [](AppState& s) {
            return s.targetURL() ? s.targetURL()->path().toStdString() : "none";
        });
        record(&AppState::isAnalyzingChanged, "isAnalyzing",
               [](AppState& s) { return show(s.isAnalyzing()); });
        record(&AppState::isAnalyzedChanged, "isAnalyzed",
               [](AppState& s) { return show(s.isAnalyzed()); });
        record(&AppState::mergeSummaryChanged, "mergeSummary",
               [](AppState& s) { return show(s.mergeSummary()); });
        record(&AppState::isMergingChanged, "isMerging",
               [](AppState& s) { return show(s.isMerging()); });
        record(&AppState::progressCurrentChanged, "progressCurrent",
               [](AppState& s) { return std::to_string(s.progressCurrent()); });
        record(&AppState::progressTotalChanged, "progressTotal",
               [](AppState& s) { return std::to_string(s.progressTotal()); });
        record(&AppState::progressFileNameChanged, "progressFileName",
               [](AppState& s) { return s.progressFileName().toStdString(); });
        record(&AppState::lastSessionChanged, "lastSession",
               [](AppState& s) { return show(s.lastSession()); });
        record(&AppState::isUndoingChanged, "isUndoing",
               [](AppState& s) { return show(s.isUndoing()); });
        record(&AppState::showSuccessBannerChanged, "showSuccessBanner",
               [](AppState& s) { return show(s.showSuccessBanner()); });
        record(&AppState::alertMessageChanged, "alertMessage", [](AppState& s) {
            return s.alertMessage() ? s.alertMessage()->toStdString() : "none";
        });
    }

    Log take() { return std::exchange(entries, {}); }

    Log entries;
};

std::string alert(const QString& text) {
    return "alertMessage=" + text.toStdString();
}

class AppStateTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Work still running would outlive the state it reports to.
        EXPECT_TRUE(waitUntil([this] { return isIdle(); }));
    }

    bool isIdle() const { return !state.isAnalyzing() && !state.isMerging() && !state.isUndoing(); }

    void choosePair() {
        state.setSource(urlOf(source.root()));
        state.setTarget(urlOf(target.root()));
    }

    void analyze() {
        state.startAnalysis(false);
        ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
        ASSERT_TRUE(state.isAnalyzed()) << state.alertMessage().value_or("").toStdString();
    }

    void mergeAndReanalyze() {
        state.startMerge();
        ASSERT_TRUE(state.isMerging());
        ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
        ASSERT_TRUE(state.lastSession().has_value())
            << state.alertMessage().value_or("").toStdString();
    }

    ScopedConfigHome configHome;
    FileTree source;
    FileTree target;
    AppState state;
    ChangeLog log{state};
};

TEST_F(AppStateTest, StartsEmptyAndAnalysisNeedsBothFolders) {
    EXPECT_FALSE(state.sourceURL() || state.targetURL() || state.mergeSummary() ||
                 state.lastSession());
    EXPECT_FALSE(state.isSameFolder());
    EXPECT_FALSE(state.isReadyToAnalyze());
    EXPECT_FALSE(state.targetAvailableBytes());

    state.setSource(urlOf(source.root()));
    log.take();
    state.startAnalysis(false);
    EXPECT_EQ(log.take(), Log{});
    EXPECT_FALSE(state.isSameFolder());
    EXPECT_FALSE(state.isReadyToAnalyze());

    state.setTarget(urlOf(target.root()));
    EXPECT_TRUE(state.isReadyToAnalyze());
}

TEST_F(AppStateTest, SameFolderWrittenDifferentlyIsRefused) {
    source.folder("a/b");
    source.folder("a/c");
    const std::string b = source.path("a/b");
    for (const std::string& other : {b, source.path("a/./b"), source.path("a/c/../b"), b + "/"}) {
        SCOPED_TRACE(other);
        state.setSource(urlOf(b));
        state.setTarget(urlOf(other));
        log.take();
        EXPECT_TRUE(state.isSameFolder());
        EXPECT_FALSE(state.isReadyToAnalyze());
        state.startAnalysis(false);
        EXPECT_EQ(log.take(), Log{alert(loc("alert_same_folder"))});
        state.setAlertMessage(std::nullopt);
    }
    state.setTarget(urlOf(source.path("a/c")));
    EXPECT_FALSE(state.isSameFolder());
    EXPECT_TRUE(state.isReadyToAnalyze());
}

TEST_F(AppStateTest, AnalysisPublishesItsSummaryOnTheGuiThread) {
    source.file("new.txt", "new");
    source.file("changed.txt", "new version");
    source.file("same.txt", "same");
    target.file("changed.txt", "old");
    target.file("same.txt", "same");
    choosePair();
    log.take();

    state.startAnalysis(false);
    // It returns before any result is written, and gates a second start.
    EXPECT_EQ(log.take(), Log{"isAnalyzing=true"});
    EXPECT_FALSE(state.isReadyToAnalyze());
    ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    EXPECT_EQ(log.take(), (Log{"mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
    const auto& summary = *state.mergeSummary();
    EXPECT_EQ(summary.addedCount, 1);
    EXPECT_EQ(summary.updatedCount, 1);
    EXPECT_EQ(summary.identicalCount, 1);
    EXPECT_EQ(summary.bytesToTransfer, 14);
    // Every file, and "same" read on both sides.
    EXPECT_EQ(state.analysisFilesCompared(), 3);
    EXPECT_EQ(state.analysisBytesRead(), 8);
}

TEST_F(AppStateTest, AnalysisErrorRaisesTheEnginesTextAndKeepsTheEarlierSummary) {
    source.file("a.txt", "a");
    choosePair();
    analyze();
    const std::string moved = target.root() + "-moved";
    std::filesystem::rename(target.root(), moved);
    const QString engineText =
        *APFSEngine::shared().analyzeNow(source.root(), target.root()).errorMessage;
    log.take();

    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    std::filesystem::rename(moved, target.root());
    EXPECT_EQ(log.take(), (Log{"isAnalyzing=true", "isAnalyzed=false", "isAnalyzing=false",
                               alert(engineText)}));
    EXPECT_TRUE(state.mergeSummary().has_value());
}

// The stored list applies to every analysis; one stored line that is no pattern (written by
// hand, say) stops the analysis rather than leaving out less than asked.
TEST_F(AppStateTest, AnalysisLeavesOutWhatTheStoredRulesMatchAndRefusesABadRule) {
    source.file("keep.txt", "k");
    source.file("b.tmp", "x");
    source.file("cache/a.txt", "x");
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"# scratch", "*.tmp", "cache/"}));
    choosePair();
    analyze();
    EXPECT_EQ(state.mergeSummary()->addedCount, 1);
    EXPECT_EQ(state.mergeSummary()->excludedCount, 2);

    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp", "[z-a]", "\\"}));
    log.take();
    state.startAnalysis(false);
    const auto reason = [](engine::ExcludePatternFault fault) {
        return engine::excludePatternFaultText(fault);
    };
    EXPECT_EQ(log.take(),
              (Log{"isAnalyzed=false",
                   alert(loc("alert_exclude_rules_invalid") + "\n" +
                         loc("alert_exclude_rule_item", "[z-a]",
                             reason(engine::ExcludePatternFault::reversedRange)) +
                         "\n" +
                         loc("alert_exclude_rule_item", "\\",
                             reason(engine::ExcludePatternFault::trailingBackslash)))}));
}

TEST_F(AppStateTest, CancelledAnalysisIsNeverPublished) {
    source.file("a.txt", "a");
    choosePair();
    QSignalSpy dropped(&state, &AppState::cancelledAnalysisDropped);
    log.take();

    state.startAnalysis(false);
    state.cancelAnalysis();
    EXPECT_EQ(log.take(),
              (Log{"isAnalyzing=true", "isAnalyzing=false", alert(loc("alert_cancel_analysis"))}));
    ASSERT_TRUE(waitUntil([&] { return dropped.count() == 1; }));
    EXPECT_EQ(log.take(), Log{});
    EXPECT_FALSE(state.mergeSummary().has_value());

    // With nothing running, cancelling raises nothing.
    state.setAlertMessage(std::nullopt);
    log.take();
    state.cancelAnalysis();
    EXPECT_EQ(log.take(), Log{});
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

// A long walk shows its count as it goes; Cancel stops the walk itself, long before its end,
// and the count with it.
TEST_F(AppStateTest, CountMovesWhileAnalysingAndCancelStopsTheWalk) {
    // 64 GiB to read in all: seconds, on any machine, against the count's quarter second.
    constexpr std::int64_t kFileBytes = 8 << 20;
    constexpr int kNames = 4000;
    testing::makeSlowToComparePair(source, target, kNames, kFileBytes);
    choosePair();
    QSignalSpy dropped(&state, &AppState::cancelledAnalysisDropped);
    const std::int64_t readBefore = bytesReadByProcess();

    state.startAnalysis(false);
    EXPECT_EQ(state.analysisFilesCompared(), 0);
    ASSERT_TRUE(waitUntil([this] { return state.analysisFilesCompared() > 0; }));
    EXPECT_TRUE(state.isAnalyzing());
    state.cancelAnalysis();
    const std::int64_t shown = state.analysisFilesCompared();
    ASSERT_TRUE(waitUntil([&] { return dropped.count() == 1; }));
    EXPECT_LT(bytesReadByProcess() - readBefore, kNames * kFileBytes);  // half of the walk
    EXPECT_EQ(state.analysisFilesCompared(), shown);
    EXPECT_FALSE(state.mergeSummary().has_value());
}

TEST_F(AppStateTest, NewAnalysisReplacesARunningOne) {
    source.file("a.txt", "a");
    choosePair();
    QSignalSpy dropped(&state, &AppState::cancelledAnalysisDropped);
    log.take();

    state.startAnalysis(false);
    state.startAnalysis(false);
    EXPECT_EQ(log.take(), (Log{"isAnalyzing=true", "isAnalyzing=false",
                               alert(loc("alert_cancel_analysis")), "isAnalyzing=true"}));
    ASSERT_TRUE(waitUntil([&] { return dropped.count() == 1 && state.isAnalyzed(); }));
    EXPECT_EQ(log.take(), (Log{"mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
}

TEST_F(AppStateTest, FolderChangesDropTheResultButNotARunningAnalysis) {
    source.file("a.txt", "a");
    FileTree other;
    choosePair();
    analyze();
    log.take();

    state.setTarget(urlOf(other.root()));
    EXPECT_EQ(log.take(),
              (Log{"targetURL=" + other.root(), "mergeSummary=none", "isAnalyzed=false"}));

    analyze();
    log.take();
    state.swapFolders();
    EXPECT_EQ(log.take(), (Log{"sourceURL=" + other.root(), "targetURL=" + source.root(),
                               "mergeSummary=none", "isAnalyzed=false"}));

    state.startAnalysis(false);
    log.take();
    state.swapFolders();  // refused while analysing
    EXPECT_EQ(log.take(), Log{});
    state.setSource(urlOf(other.root() + "/"));  // does not cancel: the result still arrives
    ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    EXPECT_TRUE(state.isAnalyzed());
    EXPECT_TRUE(state.mergeSummary().has_value());
}

TEST_F(AppStateTest, MergeReportsEveryProgressStepInOrderThenAnalysesAgain) {
    for (const char* name : {"a.txt", "b.txt", "c/d.txt"}) source.file(name, name);
    source.file("e.txt", "new version");
    target.file("e.txt", "old");
    choosePair();
    analyze();
    const std::vector<engine::FileDiffItem> items = state.mergeSummary()->items;
    log.take();

    state.startMerge();
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressTotal=4"}));
    EXPECT_EQ(state.progressCurrent(), 0);
    EXPECT_FALSE(state.isReadyToAnalyze());
    state.swapFolders();  // refused while merging
    EXPECT_EQ(log.take(), Log{});

    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    Log expected;
    std::int64_t step = 0;
    for (const auto& item : items) {
        if (item.kind == engine::FileDiffKind::identical) continue;
        expected.push_back("progressCurrent=" + std::to_string(++step));
        expected.push_back("progressFileName=" + item.relativePath);
    }
    ASSERT_EQ(step, 4);
    for (const char* entry :
         {"lastSession=set", "isMerging=false", "showSuccessBanner=true", "isAnalyzing=true",
          "isAnalyzed=false", "mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}) {
        expected.push_back(entry);
    }
    EXPECT_EQ(log.take(), expected);
    EXPECT_EQ(state.lastSession()->id, APFSEngine::shared().loadSessionRecords().front().id);
    EXPECT_FALSE(state.mergeSummary()->hasChanges());
    EXPECT_EQ(target.read("c/d.txt"), "c/d.txt");
    EXPECT_EQ(SandboxHelper::shared().activeAccessCount(), 0);

    // A cleared well leaves the merge on offer for undo.
    state.setSource(std::nullopt);
    EXPECT_EQ(log.take(), (Log{"sourceURL=none", "mergeSummary=none", "isAnalyzed=false",
                               "showSuccessBanner=false"}));
    EXPECT_TRUE(state.lastSession().has_value());
}

TEST_F(AppStateTest, MergeWithoutChangesDoesNothing) {
    source.file("same.txt", "same");
    target.file("same.txt", "same");
    choosePair();
    state.startMerge();  // no summary yet
    analyze();
    log.take();
    state.startMerge();
    EXPECT_EQ(log.take(), Log{});
}

// The failed merge becomes the last merge, so that undo takes back what it copied.
TEST_F(AppStateTest, FailedMergeRaisesItsDescriptionAndCanBeUndone) {
    source.file("a.txt", "a");
    choosePair();
    analyze();
    std::filesystem::remove(source.path("a.txt"));
    log.take();

    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isMerging(); }));
    const QString description = EngineError::copyFailed("a.txt", ENOENT).description();
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressTotal=1", "progressCurrent=1",
                               "progressFileName=a.txt", "lastSession=set", "isMerging=false",
                               alert(loc("alert_merge_failed", description) + "\n\n" +
                                     loc("alert_merge_failed_undo"))}));
    ASSERT_TRUE(state.lastSession().has_value());
    EXPECT_EQ(state.lastSession()->outcome, engine::MergeOutcome::failed);
    EXPECT_TRUE(state.mergeSummary().has_value());
    EXPECT_EQ(SandboxHelper::shared().activeAccessCount(), 0);
    state.undoLastMerge();
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    EXPECT_FALSE(state.lastSession().has_value());
    EXPECT_FALSE(
        target.exists(".sorrelix/backups/" + APFSEngine::shared().loadSessionRecords()[0].id));
}

// Stop ends the merge after the file at hand; the stopped merge is the last merge, with no
// success banner, and undo gives the target back.
TEST_F(AppStateTest, AStoppedMergeIsTheLastMergeAndIsUndone) {
    for (int i = 0; i < 2000; ++i) source.file("f" + std::to_string(i) + ".txt", "new");
    target.file("f1.txt", "old");
    choosePair();
    analyze();
    state.startMerge();
    state.stopMerge();
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    ASSERT_TRUE(state.lastSession().has_value());
    EXPECT_EQ(state.lastSession()->outcome, engine::MergeOutcome::stopped);
    EXPECT_LT(state.progressCurrent(), 2000);
    EXPECT_FALSE(state.showSuccessBanner());
    // Its banner counts what was copied, and stays through the analysis that follows.
    EXPECT_EQ(state.stoppedMerge(), (AppState::StoppedMerge{state.progressCurrent(), 2000}));
    state.undoLastMerge();
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    EXPECT_FALSE(state.stoppedMerge());
    EXPECT_EQ(target.read("f1.txt"), "old");
    EXPECT_FALSE(target.exists("f0.txt"));
}

// A copy the user changed after the merge is kept, and the alert says where.
TEST_F(AppStateTest, UndoSaysWhereTheFilesChangedSinceTheMergeWent) {
    source.file("a.txt", "new");
    choosePair();
    analyze();
    mergeAndReanalyze();
    target.file("a.txt", "edited since");
    const std::string id = state.lastSession()->id;
    state.undoLastMerge();
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    const QString keptFolder = QString::fromStdString(target.path(".sorrelix/kept/" + id));
    EXPECT_EQ(state.alertMessage(),
              loc("alert_undo_success") + "\n\n" + loc("alert_undo_kept_files", 1, keptFolder));
    EXPECT_EQ(target.read(".sorrelix/kept/" + id + "/a.txt"), "edited since");
    EXPECT_EQ(state.alertKeptFolder(), urlOf(keptFolder.toStdString()));
    state.setAlertMessage(std::nullopt);  // the folder goes with its alert
    EXPECT_FALSE(state.alertKeptFolder());
}

// A merge that never ended (a crash) is offered for undo as soon as its target is chosen,
// also from the command line, and no longer once undone.
TEST_F(AppStateTest, AnInterruptedMergeOfTheTargetIsOfferedUntilUndone) {
    source.file("a.txt", "new");
    target.file("a.txt", "old");
    engine::MergeSessionRecord record = APFSEngine::shared().executeMergeNow(
        source.root(), target.root(), APFSEngine::shared().analyzeNow(source.root(), target.root()),
        {});
    record.outcome = engine::MergeOutcome::interrupted;
    engine::SessionHistory::replace(record);
    FileTree other;

    SorrelixApp::applyCommandLineFolders({"sorrelix", "--target", target.root().c_str()}, state);
    ASSERT_TRUE(waitUntil([this] { return state.interruptedMerge().has_value(); }));
    EXPECT_EQ(state.interruptedMerge()->id, record.id);
    state.setTarget(urlOf(other.root()));  // another folder: gone at once
    EXPECT_FALSE(state.interruptedMerge());
    state.setTarget(urlOf(target.root()));
    ASSERT_TRUE(waitUntil([this] { return state.interruptedMerge().has_value(); }));

    state.undoMerge(*state.interruptedMerge());
    ASSERT_TRUE(waitUntil([this] { return isIdle() && !state.interruptedMerge(); }));
    EXPECT_EQ(target.read("a.txt"), "old");
    EXPECT_EQ(state.alertMessage(), loc("alert_undo_success"));
}

TEST_F(AppStateTest, UndoRestoresTheTargetThenAnalysesAgain) {
    source.file("a.txt", "new");
    target.file("a.txt", "old");
    choosePair();
    analyze();
    mergeAndReanalyze();
    log.take();

    state.undoLastMerge();
    EXPECT_EQ(log.take(), Log{"isUndoing=true"});
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    EXPECT_EQ(log.take(),
              (Log{"lastSession=none", "showSuccessBanner=false", "isUndoing=false",
                   alert(loc("alert_undo_success")), "isAnalyzing=true", "isAnalyzed=false",
                   "mergeSummary=set", "isAnalyzing=false", "isAnalyzed=true"}));
    EXPECT_EQ(target.read("a.txt"), "old");
    EXPECT_EQ(state.mergeSummary()->updatedCount, 1);

    state.undoLastMerge();  // nothing left to undo
    EXPECT_EQ(log.take(), Log{});
}

TEST_F(AppStateTest, FailedUndoKeepsTheSessionForAnotherTry) {
    source.file("a.txt", "a");
    choosePair();
    analyze();
    mergeAndReanalyze();
    std::filesystem::remove_all(state.lastSession()->backupDir);
    log.take();

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
    choosePair();
    analyze();
    mergeAndReanalyze();
    source.file("b.txt", "b");
    analyze();
    log.take();

    state.startMerge();
    state.startMerge();
    state.undoLastMerge();
    // The total stays 1, so only the current step and the file name are written anew.
    EXPECT_EQ(log.take(), (Log{"isMerging=true", "progressCurrent=0", "progressFileName="}));
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    EXPECT_EQ(APFSEngine::shared().loadSessionRecords().size(), 2u);

    source.file("c.txt", "c");
    analyze();
    log.take();
    state.undoLastMerge();
    state.undoLastMerge();
    state.startMerge();
    EXPECT_EQ(log.take(), Log{"isUndoing=true"});
    ASSERT_TRUE(waitUntil([this] { return isIdle(); }));
    EXPECT_FALSE(target.exists("b.txt"));
    EXPECT_TRUE(target.exists("a.txt"));
}

TEST_F(AppStateTest, DiskSpaceWarningRule) {
    EXPECT_FALSE(AppState::isDiskSpaceInsufficient(std::nullopt, 10));
    EXPECT_FALSE(AppState::isDiskSpaceInsufficient(0, 10));
    EXPECT_FALSE(AppState::isDiskSpaceInsufficient(-1, 10));
    EXPECT_FALSE(AppState::isDiskSpaceInsufficient(10, 10));
    EXPECT_TRUE(AppState::isDiskSpaceInsufficient(9, 10));
    EXPECT_FALSE(AppState::isDiskSpaceInsufficient(11, 10));
}

TEST_F(AppStateTest, AvailableBytesAreTheUsersShareOfTheTargetVolume) {
    choosePair();
    struct statvfs info {};
    ASSERT_EQ(::statvfs(target.root().c_str(), &info), 0);
    const auto available = state.targetAvailableBytes();
    ASSERT_TRUE(available.has_value());
    // Other processes write meanwhile; the value is the unprivileged count, not f_bfree.
    const auto expected = static_cast<std::int64_t>(info.f_bavail * info.f_frsize);
    EXPECT_NEAR(static_cast<double>(*available), static_cast<double>(expected), 64.0 * 1024 * 1024);
    EXPECT_FALSE(state.isTargetDiskSpaceInsufficient());  // no summary

    state.setTarget(urlOf(target.path("missing")));
    EXPECT_FALSE(state.targetAvailableBytes().has_value());
}

TEST_F(AppStateTest, SmallVolumeWarnsBeforeMerge) {
    if (testing::tinyScratchDir().empty()) GTEST_SKIP() << "no tiny scratch file system";
    // Other suites fill this file system; one at a time keeps the free space meaningful.
    const testing::ScratchLock lock(testing::tinyScratchDir());
    FileTree small(testing::tinyScratchDir());
    source.file("big.bin", std::string(6 * 1000 * 1000, 'x'));
    state.setSource(urlOf(source.root()));
    state.setTarget(urlOf(small.root()));
    analyze();
    EXPECT_TRUE(state.isTargetDiskSpaceInsufficient());
}

TEST_F(AppStateTest, FormatBytesUsesDecimalUnitsOfTheInterfaceLanguage) {
    auto& languages = text::LanguageManager::shared();
    const QString previous = languages.selectedLanguage();
    languages.setSelectedLanguage(QStringLiteral("en"));
    EXPECT_EQ(state.formatBytes(999), QStringLiteral("999 bytes"));
    EXPECT_EQ(state.formatBytes(1000), QStringLiteral("1.0 kB"));
    EXPECT_EQ(state.formatBytes(1'234'567), QStringLiteral("1.2 MB"));
    languages.setSelectedLanguage(QStringLiteral("de"));
    const bool germanTable = languages.currentTableCode() == QLatin1String("de");
    const QString german = state.formatBytes(1'234'567);
    languages.setSelectedLanguage(previous);
    if (!germanTable) GTEST_SKIP() << "the German table is not built";
    EXPECT_EQ(german, QStringLiteral("1,2 MB"));
}

TEST_F(AppStateTest, VolumeDescription) {
    EXPECT_EQ(state.volumeDescription(std::nullopt), loc("volume_local"));
    EXPECT_EQ(state.volumeDescription(urlOf(target.path("missing/folder"))), loc("volume_local"));
    const QString label = QStorageInfo(QString::fromStdString(target.root())).name();
    const QString name = label.isEmpty() ? QStringLiteral("Disk") : label;
    const QString description = state.volumeDescription(urlOf(target.root()));
    EXPECT_TRUE(description == loc("volume_internal", name) ||
                description == loc("volume_external", name))
        << description.toStdString();
}

}  // namespace
}  // namespace sorrelix::app
