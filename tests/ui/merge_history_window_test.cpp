#include "merge_history_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "apfs_engine.h"
#include "app_state.h"
#include "app_test_support.h"
#include "engine_error.h"
#include "file_tree.h"
#include "language_manager.h"
#include "loc.h"
#include "merge_history_model.h"

namespace sorrelix::ui {
namespace {

using testing::mergeNow;
using testing::waitUntil;
using text::loc;

// Records of every outcome made by the real engine in a history of the test's own, newest
// first: interrupted, failed, stopped, and two completed merges of one file.
class MergeHistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        languages.setSelectedLanguage(QStringLiteral("en"));
        source.file("a.txt", "one");
        older = mergeNow(source, target);
        source.file("a.txt", "two", 1'800'000'000.0);
        newer = mergeNow(source, target);  // replaces the older merge's copy
        for (const auto outcome : {engine::MergeOutcome::stopped, engine::MergeOutcome::failed,
                                   engine::MergeOutcome::interrupted}) {
            otherSource.file(std::to_string(int(outcome)) + ".txt", "x");
            mergeNow(otherSource, otherTarget, outcome);
        }
        window.show();
        window.reload();
        ASSERT_TRUE(waitUntil([this] { return window.model().rowCount() > 0; }));
    }
    void TearDown() override {
        EXPECT_TRUE(waitUntil([this] { return !state.isUndoing(); }));
        languages.setSelectedLanguage(previousLanguage);
    }

    QString rowText(int row) const {
        return window.model().data(window.model().index(row), Qt::DisplayRole).toString();
    }
    // What became of the merge: the end of a row's second line, after its counts.
    QString statusOf(int row) const {
        return rowText(row).section(QLatin1Char('\n'), 1).section(QStringLiteral(" · "), 2);
    }

    text::LanguageManager& languages = text::LanguageManager::shared();
    const QString previousLanguage = languages.selectedLanguage();
    testing::ScopedConfigHome history;
    testing::FileTree source, target, otherSource, otherTarget;
    engine::MergeSessionRecord older, newer;
    app::AppState state;
    MergeHistoryWindow window{state};
};

TEST_F(MergeHistoryWindowTest, ListsEveryOutcomeNewestFirstAndUndoesTheSelectedMerge) {
    const QString undoable = QStringLiteral(" · ") + loc("history_can_undo");
    const QStringList expected = {
        loc("history_outcome_interrupted") + undoable, loc("history_outcome_failed") + undoable,
        loc("history_outcome_stopped") + undoable, loc("history_outcome_completed") + undoable,
        loc("history_outcome_completed") + undoable};
    ASSERT_EQ(window.model().rowCount(), expected.size());
    for (int row = 0; row < expected.size(); ++row) EXPECT_EQ(statusOf(row), expected[row]);
    EXPECT_TRUE(rowText(4).contains(QString::fromStdString(source.root() + " → " + target.root())));

    // The older merge cannot go while the newer one changed the same file: the refusal shows.
    QString refusal;
    try {
        engine::APFSEngine::shared().undoMergeNow(older);
    } catch (const engine::EngineError& error) {
        refusal = error.description();
    }
    ASSERT_FALSE(refusal.isEmpty());
    window.selectRow(4);
    window.undoButton().click();
    ASSERT_TRUE(waitUntil([this] { return window.statusLine().isVisibleTo(&window); }));
    EXPECT_EQ(window.statusLine().text(), loc("alert_undo_failed", refusal));

    // The newer one goes, and stays listed as undone, with nothing left to undo or show.
    window.selectRow(3);
    window.copyButton().click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(target.root()));
    testing::UrlCatcher folders(QStringLiteral("file"));
    window.backupButton().click();
    EXPECT_EQ(folders.next(), testing::urlOf(newer.backupDir));
    window.undoButton().click();
    ASSERT_TRUE(waitUntil(
        [this] { return !state.isUndoing() && statusOf(3) == loc("history_outcome_undone"); }));
    EXPECT_FALSE(window.undoButton().isEnabled());
    EXPECT_FALSE(window.backupButton().isEnabled());
    EXPECT_EQ(target.read("a.txt"), "one");

    // The command-line tool may merge meanwhile: read again on activation, the same merge
    // stays selected.
    mergeNow(otherSource, source);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    ASSERT_TRUE(waitUntil([this] { return window.model().rowCount() == 6; }));
    EXPECT_EQ(window.list().currentIndex().row(), 4);
}

}  // namespace
}  // namespace sorrelix::ui
