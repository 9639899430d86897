#include "merge_view.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <climits>
#include <string>

#include "app_state.h"
#include "app_test_support.h"
#include "file_tree.h"
#include "folder_well.h"
#include "interrupted_merge_strip.h"
#include "loc.h"
#include "merge_dock.h"
#include "style.h"
#include "success_banner.h"
#include "swap_button.h"
#include "window_alert.h"

namespace sorrelix::ui {
namespace {

using testing::analyzePair;
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::loc;

// The view on screen (offscreen), over a state of its own; analyses and merges it started
// are over before the state goes.
class MergeViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.show(); }
    void TearDown() override { EXPECT_TRUE(testing::waitUntilIdle(state)); }

    std::string firstShown(std::initializer_list<const char*> names) const {
        for (const char* name : names) {
            if (shown(name)) return name;
        }
        return "none";
    }
    std::string centre() const {
        return firstShown(
            {"dropGuidePanel", "readyPanel", "scanningPanel", "inSyncPanel", "differencesPanel"});
    }
    std::string dock() const { return firstShown({"successBanner", "stoppedBanner", "mergeDock"}); }
    bool shown(const char* name) const {
        return view.findChild<QWidget*>(name)->isVisibleTo(&view);
    }
    QString label(const char* name) const { return view.findChild<QLabel*>(name)->text(); }
    QPushButton& button(const char* name) const { return *view.findChild<QPushButton*>(name); }
    SwapButton& swap() const { return *view.findChild<SwapButton*>(); }
    bool swapDimmed() const { return swap().symbolColor() != style::primaryText(swap().palette()); }
    QMessageBox* alertBox() const { return view.findChild<WindowAlert*>()->box(); }

    FileTree source;
    FileTree target;
    app::AppState state;
    MergeView view{state};
};

TEST_F(MergeViewTest, FollowsTheWorkflowFromEmptyToMergedAndUndone) {
    source.file("new.txt", "fresh");
    source.file("docs/changed.txt", "version two", 1'800'000'000.0);
    target.file("docs/changed.txt", "version one");
    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_EQ(dock(), "none");

    // One folder: both wells compact, nothing to analyse, swap possible but dimmed.
    view.sourceWell().folderSelected(urlOf(source.root()));
    EXPECT_TRUE(view.targetWell().isCompact());
    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_TRUE(swap().isEnabled());
    EXPECT_TRUE(swapDimmed());
    // The same folder spelled differently: warning, no ready panel.
    view.targetWell().folderSelected(urlOf(source.root() + "/./"));
    EXPECT_TRUE(shown("sameFolderStrip"));
    EXPECT_EQ(centre(), "dropGuidePanel");
    view.targetWell().folderSelected(urlOf(target.root()));
    EXPECT_FALSE(shown("sameFolderStrip"));
    EXPECT_EQ(centre(), "readyPanel");
    EXPECT_FALSE(swapDimmed());

    button("startAnalysisButton").click();
    EXPECT_EQ(centre(), "scanningPanel");
    EXPECT_FALSE(swap().isEnabled());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    EXPECT_EQ(label("scanningProgress"), loc("scanning_progress", "2", state.formatBytes(0)));
    EXPECT_EQ(centre(), "differencesPanel");
    EXPECT_EQ(dock(), "mergeDock");
    EXPECT_EQ(label("updatedCount"), loc("diff_updated", 1));

    // The progress column takes the buttons' place from the first moment of the merge; it
    // redraws once the reports queued so far are through: here, the first one.
    button("mergeButton").click();
    QCoreApplication::sendPostedEvents(view.findChild<MergeDock*>(), QEvent::MetaCall);
    EXPECT_EQ(label("progressCaption"), loc("syncing_progress", 0, 2));
    EXPECT_FALSE(shown("mergeButton"));
    ASSERT_TRUE(waitUntil([this] { return state.showSuccessBanner() && state.isAnalyzed(); }));
    EXPECT_EQ(centre(), "inSyncPanel");
    EXPECT_EQ(dock(), "successBanner");
    auto& banner = *view.findChild<SuccessBanner*>("successBanner");
    EXPECT_TRUE(banner.revealButton().isVisibleTo(&view));

    // Undo from the banner, which cannot start a second undo while the first runs. A copy
    // edited since the merge is kept aside, and the alert offers to show where.
    target.file("new.txt", "edited after the merge");
    const std::string kept = target.path(".sorrelix/kept/" + state.lastSession()->id);
    banner.undoButton().click();
    EXPECT_FALSE(banner.undoButton().isEnabled());
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("docs/changed.txt"), "version one");
    EXPECT_EQ(dock(), "mergeDock");
    EXPECT_EQ(centre(), "differencesPanel");
    ASSERT_TRUE(alertBox());
    EXPECT_TRUE(alertBox()->text().startsWith(loc("alert_undo_success")));
    EXPECT_TRUE(alertBox()->text().contains(QString::fromStdString(kept)));
    QPushButton* showKept = view.findChild<WindowAlert*>()->showKeptButton();
    ASSERT_TRUE(showKept);
    testing::UrlCatcher folders(QStringLiteral("file"));
    showKept->click();
    EXPECT_EQ(folders.next(), urlOf(kept));
    EXPECT_FALSE(state.alertMessage());  // the button closes the alert, and the folder goes too
    EXPECT_FALSE(state.alertKeptFolder());
}

// Stop ends the merge after the file at hand; its banner stands in the success banner's place,
// counts what was copied and undoes it.
TEST_F(MergeViewTest, StopShowsTheStoppedBannerWhoseUndoRestoresTheTarget) {
    for (int i = 0; i < 2000; ++i) source.file("f" + std::to_string(i) + ".txt", "new");
    target.file("f1.txt", "old");
    ASSERT_TRUE(analyzePair(state, source.root(), target.root()));
    button("mergeButton").click();
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
}

// A merge that never ended (a crash) is offered for undo while its target is chosen.
TEST_F(MergeViewTest, InterruptedMergeStripOffersItsUndo) {
    source.file("a.txt", "new");
    testing::mergeNow(source, target, engine::MergeOutcome::interrupted);
    auto& strip = *view.findChild<InterruptedMergeStrip*>();
    view.targetWell().folderSelected(urlOf(target.root()));
    ASSERT_TRUE(waitUntil([&] { return strip.isVisibleTo(&view); }));
    state.setTarget(urlOf(source.root()));  // another folder: gone at once
    EXPECT_FALSE(strip.isVisibleTo(&view));
    state.setTarget(urlOf(target.root()));
    ASSERT_TRUE(waitUntil([&] { return strip.isVisibleTo(&view); }));
    strip.undoButton().click();
    ASSERT_TRUE(waitUntil([&] { return !strip.isVisibleTo(&view) && !state.isUndoing(); }));
    EXPECT_FALSE(target.exists("a.txt"));
    EXPECT_EQ(state.alertMessage(), loc("alert_undo_success"));
}

TEST_F(MergeViewTest, ShowsInSyncAndTheDockByWhatTheAnalysisFound) {
    source.folder("empty");
    target.folder("empty");
    source.file("emptyFile/empty.txt", "");
    target.folder("emptyFile");
    const struct {
        const char* pair;
        std::string centre, dock;
    } cases[] = {{"empty", "inSyncPanel", "none"}, {"emptyFile", "differencesPanel", "mergeDock"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        ASSERT_TRUE(analyzePair(state, source.path(c.pair), target.path(c.pair)));
        EXPECT_EQ(centre(), c.centre);
        EXPECT_EQ(dock(), c.dock);
        EXPECT_FALSE(shown("transferSize"));
    }
    state.setSource(std::nullopt);  // a folder change drops the result
    EXPECT_EQ(centre(), "dropGuidePanel");
    EXPECT_EQ(dock(), "none");
}

// Advice only: the merge stays on offer.
TEST_F(MergeViewTest, WarnsWhenTheTargetVolumeIsTooSmall) {
    const std::string tiny = testing::tinyScratchDir();
    if (tiny.empty()) GTEST_SKIP() << "no small scratch file system";
    const testing::ScratchLock lock(tiny);
    const FileTree small(tiny);
    source.file("large.bin", std::string(8 * 1024 * 1024, 'x'));
    ASSERT_TRUE(analyzePair(state, source.root(), small.root()));
    const std::int64_t available = state.targetAvailableBytes().value_or(-1);
    EXPECT_EQ(label("dockStatus"), loc("warning_disk_space", state.formatBytes(8 * 1024 * 1024),
                                       state.formatBytes(available)));
    EXPECT_TRUE(shown("mergeButton"));
}

TEST(ProgressSteps, FitsSixtyFourBitCountsIntoTheBar) {
    constexpr std::int64_t kHuge = 4'000'000'000'000LL;
    const struct {
        std::int64_t current, total;
        int value, maximum;
    } cases[] = {{0, 0, 0, 1},
                 {3, 10, 3, 10},
                 {12, 10, 10, 10},
                 {-1, 5, 0, 5},
                 {kHuge / 2, kHuge, 5'000, 10'000},
                 {kHuge, kHuge, 10'000, 10'000}};
    for (const auto& c : cases) {
        const ProgressSteps steps = progressSteps(c.current, c.total);
        EXPECT_EQ(steps.value, c.value) << c.current << " of " << c.total;
        EXPECT_EQ(steps.maximum, c.maximum) << c.current << " of " << c.total;
    }
    EXPECT_LE(progressSteps(INT_MAX, INT_MAX + 1LL).maximum, INT_MAX);
}

TEST_F(MergeViewTest, AlertClosesWithItsButtonOrEscapeAndFollowsTheMessage) {
    state.setAlertMessage(QStringLiteral("<b>not markup</b>"));
    ASSERT_TRUE(alertBox());
    EXPECT_EQ(alertBox()->textFormat(), Qt::PlainText);
    ASSERT_EQ(alertBox()->buttons().size(), 1);
    alertBox()->buttons().front()->click();
    EXPECT_FALSE(state.alertMessage());
    EXPECT_FALSE(alertBox());

    state.setAlertMessage(QStringLiteral("first"));
    QMessageBox* first = alertBox();
    state.setAlertMessage(QStringLiteral("second"));
    EXPECT_EQ(alertBox(), first);
    EXPECT_EQ(alertBox()->text(), QStringLiteral("second"));
    QTest::keyClick(alertBox(), Qt::Key_Escape);
    EXPECT_FALSE(state.alertMessage());
    state.setAlertMessage(QStringLiteral("closed by the window"));
    alertBox()->close();
    EXPECT_FALSE(state.alertMessage());
    state.setAlertMessage(QStringLiteral("withdrawn"));  // by the state: nothing written back
    state.setAlertMessage(std::nullopt);
    EXPECT_FALSE(alertBox());

    // Taken off screen, the view takes its box along and the message waits for its return.
    state.setAlertMessage(QStringLiteral("later"));
    view.hide();
    EXPECT_FALSE(alertBox());
    view.show();
    ASSERT_TRUE(alertBox());
    int onScreen = 0;
    for (const QMessageBox* any : view.findChildren<QMessageBox*>()) onScreen += any->isVisible();
    EXPECT_EQ(onScreen, 1);
}

}  // namespace
}  // namespace sorrelix::ui
