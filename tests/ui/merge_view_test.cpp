#include "merge_view.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "apfs_engine.h"
#include "app_state.h"
#include "app_test_support.h"
#include "busy_spinner.h"
#include "diff_list_view.h"
#include "file_tree.h"
#include "folder_well.h"
#include "interrupted_merge_strip.h"
#include "loc.h"
#include "merge_dock.h"
#include "session_history.h"
#include "style.h"
#include "success_banner.h"
#include "swap_button.h"
#include "window_alert.h"

namespace sorrelix::ui {
namespace {

using app::AppState;
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::loc;

// The view on screen (offscreen), over a state of its own; analyses and merges it started
// are over before the state goes.
class MergeViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.show(); }
    void TearDown() override {
        EXPECT_TRUE(waitUntil(
            [this] { return !state.isAnalyzing() && !state.isMerging() && !state.isUndoing(); }));
    }

    std::string centre() const {
        for (const char* name :
             {"dropGuidePanel", "readyPanel", "scanningPanel", "inSyncPanel", "differencesPanel"}) {
            if (view.findChild<QWidget*>(name)->isVisibleTo(&view)) return name;
        }
        return "none";
    }
    std::string dock() const {
        for (const char* name : {"successBanner", "stoppedBanner", "mergeDock"}) {
            if (view.findChild<QWidget*>(name)->isVisibleTo(&view)) return name;
        }
        return "none";
    }
    bool stripShown() const {
        return view.findChild<QWidget*>("sameFolderStrip")->isVisibleTo(&view);
    }
    QString label(const char* name) const { return view.findChild<QLabel*>(name)->text(); }
    SwapButton& swap() const { return *view.findChild<SwapButton*>(); }
    bool swapDimmed() const { return swap().symbolColor() != style::primaryText(swap().palette()); }
    void analyse() {
        state.startAnalysis(false);
        ASSERT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
    }

    AppState state;
    MergeView view{state};
};

TEST_F(MergeViewTest, FollowsTheWorkflowFromEmptyToMergedAndUndone) {
    FileTree source;
    FileTree target;
    source.file("new.txt", "fresh");
    source.file("docs/changed.txt", "version two", 1'800'000'000.0);
    target.file("docs/changed.txt", "version one");

    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_EQ(dock(), "none");
    EXPECT_FALSE(stripShown());
    EXPECT_FALSE(view.sourceWell().isCompact());

    // One folder: both wells compact, nothing to analyse, swap possible but dimmed.
    view.sourceWell().folderSelected(urlOf(source.root()));
    EXPECT_EQ(state.sourceURL(), urlOf(source.root()));
    EXPECT_TRUE(view.sourceWell().isCompact());
    EXPECT_TRUE(view.targetWell().isCompact());
    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_TRUE(swap().isEnabled());
    EXPECT_TRUE(swapDimmed());

    // The same folder spelled differently: warning, no ready panel.
    view.targetWell().folderSelected(urlOf(source.root() + "/./"));
    EXPECT_TRUE(stripShown());
    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_TRUE(swapDimmed());

    view.targetWell().folderSelected(urlOf(target.root()));
    EXPECT_EQ(view.targetWell().url(), urlOf(target.root()));
    EXPECT_FALSE(stripShown());
    EXPECT_EQ(centre(), "readyPanel");
    EXPECT_FALSE(swapDimmed());

    view.findChild<QPushButton*>("startAnalysisButton")->click();
    EXPECT_EQ(centre(), "scanningPanel");
    EXPECT_FALSE(swap().isEnabled());
    // A spinner that turns only while it shows, and the counts as they come.
    const auto& spinner = *view.findChild<BusySpinner*>("scanningSpinner");
    EXPECT_TRUE(spinner.isTurning());
    EXPECT_EQ(spinner.accessibleName(), loc("scanning_title"));
    EXPECT_EQ(label("scanningProgress"), loc("scanning_progress", "0", state.formatBytes(0)));
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    EXPECT_FALSE(spinner.isTurning());
    EXPECT_EQ(label("scanningProgress"), loc("scanning_progress", "2", state.formatBytes(0)));
    EXPECT_EQ(centre(), "differencesPanel");
    // Outside the rounded outline, the corner shows the window, not the list's square fill.
    auto& differences = *view.findChild<QWidget*>("differencesPanel");
    const QImage picture = differences.grab().toImage();
    for (const QPoint corner : {QPoint(1, 1), QPoint(picture.width() - 2, picture.height() - 2)}) {
        EXPECT_EQ(picture.pixelColor(corner), style::windowBackground(differences.palette()));
    }
    EXPECT_EQ(dock(), "mergeDock");
    EXPECT_EQ(label("addedCount"), loc("diff_added", 1));
    EXPECT_EQ(label("updatedCount"), loc("diff_updated", 1));
    EXPECT_EQ(label("transferSize"),
              QStringLiteral("· ") + loc("diff_transfer", state.formatBytes(16)));
    EXPECT_EQ(label("dockStatus"), loc("apfs_ready_subtitle"));

    // The progress column takes the buttons' place, from the first moment of the merge.
    view.findChild<QPushButton*>("mergeButton")->click();
    // The column redraws once the reports queued so far are through: here, the first one.
    QCoreApplication::sendPostedEvents(view.findChild<MergeDock*>(), QEvent::MetaCall);
    const auto* bar = view.findChild<QProgressBar*>("mergeProgress");
    EXPECT_TRUE(bar->isVisibleTo(&view));
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(label("progressCaption"), loc("syncing_progress", 0, 2));
    EXPECT_FALSE(view.findChild<QPushButton*>("mergeButton")->isVisibleTo(&view));
    ASSERT_TRUE(waitUntil([this] { return state.showSuccessBanner() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("new.txt"), "fresh");
    EXPECT_EQ(centre(), "inSyncPanel");
    EXPECT_EQ(dock(), "successBanner");
    auto& banner = *view.findChild<SuccessBanner*>("successBanner");
    EXPECT_TRUE(banner.revealButton().isVisibleTo(&view));
    EXPECT_TRUE(banner.undoButton().isVisibleTo(&view));
    // At the window's usual width the subtitle takes the free room rather than wrapping.
    view.resize(960, 600);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const auto* subtitle = banner.findChild<QLabel*>("bannerSubtitle");
    EXPECT_LT(subtitle->height(), 2 * subtitle->fontMetrics().lineSpacing());

    // Undo from the banner: the button cannot start a second undo while the first runs.
    banner.undoButton().click();
    EXPECT_FALSE(banner.undoButton().isEnabled());
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("docs/changed.txt"), "version one");
    EXPECT_FALSE(target.exists("new.txt"));
    EXPECT_EQ(dock(), "mergeDock");
    EXPECT_EQ(centre(), "differencesPanel");
    EXPECT_EQ(state.alertMessage(), loc("alert_undo_success"));
}

// Stop ends the merge after the file at hand; its banner stands in the success banner's place,
// counts what was copied and undoes it.
TEST_F(MergeViewTest, StopShowsTheStoppedBannerWhoseUndoRestoresTheTarget) {
    FileTree source;
    FileTree target;
    for (int i = 0; i < 2000; ++i) source.file("f" + std::to_string(i) + ".txt", "new");
    target.file("f1.txt", "old");
    state.setSource(urlOf(source.root()));
    state.setTarget(urlOf(target.root()));
    analyse();
    view.findChild<QPushButton*>("mergeButton")->click();
    auto& stop = view.findChild<MergeDock*>()->stopButton();
    ASSERT_TRUE(stop.isVisibleTo(&view));
    stop.click();
    EXPECT_FALSE(stop.isEnabled());
    ASSERT_TRUE(waitUntil([this] { return state.stoppedMerge() && state.isAnalyzed(); }));
    EXPECT_EQ(dock(), "stoppedBanner");
    auto& banner = *view.findChild<SuccessBanner*>("stoppedBanner");
    EXPECT_EQ(banner.title().text(), loc("stopped_title", state.progressCurrent(), 2000));
    banner.undoButton().click();
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("f1.txt"), "old");
    EXPECT_FALSE(target.exists("f0.txt"));
    EXPECT_EQ(dock(), "mergeDock");
}

TEST_F(MergeViewTest, InterruptedMergeStripOffersItsUndo) {
    FileTree source;
    FileTree target;
    source.file("a.txt", "new");
    auto& engine = engine::APFSEngine::shared();
    engine::MergeSessionRecord record = engine.executeMergeNow(
        source.root(), target.root(), engine.analyzeNow(source.root(), target.root()), {});
    record.outcome = engine::MergeOutcome::interrupted;  // as a merge killed midway stays
    engine::SessionHistory::replace(record);
    auto& strip = *view.findChild<InterruptedMergeStrip*>();
    EXPECT_FALSE(strip.isVisibleTo(&view));

    view.targetWell().folderSelected(urlOf(target.root()));
    ASSERT_TRUE(waitUntil([&] { return strip.isVisibleTo(&view); }));
    strip.undoButton().click();
    ASSERT_TRUE(waitUntil([&] { return !strip.isVisibleTo(&view) && !state.isUndoing(); }));
    EXPECT_FALSE(target.exists("a.txt"));
}

TEST_F(MergeViewTest, ShowsInSyncAndTheDockByWhatTheAnalysisFound) {
    struct Case {
        const char* name;
        std::vector<std::string> sourceFiles;
        std::vector<std::string> targetFiles;
        std::string centre;
        std::string dock;
        bool transferShown;
    };
    const std::vector<Case> cases = {
        {"identical only", {"same.txt"}, {"same.txt"}, "inSyncPanel", "none", false},
        {"both empty", {}, {}, "inSyncPanel", "none", false},
        {"an empty new file", {"empty.txt"}, {}, "differencesPanel", "mergeDock", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileTree source;
        FileTree target;
        for (const std::string& name : c.sourceFiles)
            source.file(name, name == "empty.txt" ? "" : "x");
        for (const std::string& name : c.targetFiles) target.file(name, "x");
        state.setSource(urlOf(source.root()));
        state.setTarget(urlOf(target.root()));
        analyse();
        EXPECT_EQ(centre(), c.centre);
        EXPECT_EQ(dock(), c.dock);
        EXPECT_EQ(view.findChild<QLabel*>("transferSize")->isVisibleTo(&view), c.transferShown);
        // A folder change drops the result.
        state.setSource(std::nullopt);
        EXPECT_EQ(centre(), "dropGuidePanel");
        EXPECT_EQ(dock(), "none");
    }
}

TEST_F(MergeViewTest, WarnsWhenTheTargetVolumeIsTooSmall) {
    const std::string tiny = testing::tinyScratchDir();
    if (tiny.empty()) GTEST_SKIP() << "no small scratch file system";
    const testing::ScratchLock lock(tiny);
    FileTree source;
    FileTree target(tiny);
    source.file("large.bin", std::string(8 * 1024 * 1024, 'x'));
    state.setSource(urlOf(source.root()));
    state.setTarget(urlOf(target.root()));
    analyse();
    const std::optional<std::int64_t> available = state.targetAvailableBytes();
    ASSERT_TRUE(available);
    EXPECT_EQ(label("dockStatus"), loc("warning_disk_space", state.formatBytes(8 * 1024 * 1024),
                                       state.formatBytes(*available)));
    // Advice only: the merge stays on offer.
    EXPECT_TRUE(view.findChild<QPushButton*>("mergeButton")->isVisibleTo(&view));
}

TEST(ProgressSteps, FitsSixtyFourBitCountsIntoTheBar) {
    struct Case {
        std::int64_t current, total;
        int value, maximum;
    };
    constexpr std::int64_t kHuge = 4'000'000'000'000LL;
    const std::array<Case, 6> cases = {{
        {0, 0, 0, 1},
        {3, 10, 3, 10},
        {12, 10, 10, 10},
        {-1, 5, 0, 5},
        {kHuge / 2, kHuge, 5'000, 10'000},
        {kHuge, kHuge, 10'000, 10'000},
    }};
    for (const Case& c : cases) {
        const ProgressSteps steps = progressSteps(c.current, c.total);
        EXPECT_EQ(steps.value, c.value) << c.current << " of " << c.total;
        EXPECT_EQ(steps.maximum, c.maximum) << c.current << " of " << c.total;
    }
    EXPECT_LE(progressSteps(INT_MAX, INT_MAX + 1LL).maximum, INT_MAX);
}

TEST_F(MergeViewTest, AlertClosesWithItsButtonOrEscapeAndFollowsTheMessage) {
    const auto box = [this] { return view.findChild<WindowAlert*>()->box(); };
    state.setAlertMessage(QStringLiteral("<b>not markup</b>"));
    ASSERT_TRUE(box());
    EXPECT_EQ(box()->text(), QStringLiteral("<b>not markup</b>"));
    EXPECT_EQ(box()->textFormat(), Qt::PlainText);
    EXPECT_EQ(box()->windowTitle(), loc("app_name"));
    ASSERT_EQ(box()->buttons().size(), 1);
    box()->buttons().front()->click();
    EXPECT_FALSE(state.alertMessage());
    EXPECT_FALSE(box());

    state.setAlertMessage(QStringLiteral("first"));
    QMessageBox* shown = box();
    state.setAlertMessage(QStringLiteral("second"));
    EXPECT_EQ(box(), shown);
    EXPECT_EQ(box()->text(), QStringLiteral("second"));
    QTest::keyClick(box(), Qt::Key_Escape);
    EXPECT_FALSE(state.alertMessage());

    state.setAlertMessage(QStringLiteral("closed by the window"));
    box()->close();
    EXPECT_FALSE(state.alertMessage());

    // Cleared by the state: the box goes, nothing is written back.
    state.setAlertMessage(QStringLiteral("withdrawn"));
    state.setAlertMessage(std::nullopt);
    EXPECT_FALSE(box());

    // Taken off screen, the view takes its box along and the message waits for its return.
    state.setAlertMessage(QStringLiteral("later"));
    ASSERT_TRUE(box());
    view.hide();
    EXPECT_FALSE(box());
    view.show();
    ASSERT_TRUE(box());
    EXPECT_EQ(state.alertMessage(), QStringLiteral("later"));
    int onScreen = 0;
    for (const QMessageBox* any : view.findChildren<QMessageBox*>()) onScreen += any->isVisible();
    EXPECT_EQ(onScreen, 1);
}

}  // namespace
}  // namespace sorrelix::ui
