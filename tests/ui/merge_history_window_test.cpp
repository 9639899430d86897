#include "merge_history_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <atomic>
#include <filesystem>

#include "apfs_engine.h"
#include "app_state.h"
#include "app_test_support.h"
#include "engine_error.h"
#include "file_tree.h"
#include "language_manager.h"
#include "loc.h"
#include "merge_history_model.h"
#include "session_history.h"

namespace sorrelix::ui {
namespace {

using engine::APFSEngine;
using engine::MergeSessionRecord;
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::loc;

class OpenedUrls : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

MergeSessionRecord mergeNow(const FileTree& from, const FileTree& into, bool stop = false) {
    const std::atomic<bool> stopRequested(stop);
    return APFSEngine::shared().executeMergeNow(
        from.root(), into.root(), APFSEngine::shared().analyzeNow(from.root(), into.root()), {},
        &stopRequested);
}

// What became of the merge: the end of a row's second line, after its counts.
QString statusOf(const MergeHistoryWindow& window, int row) {
    const QString text = window.model().data(window.model().index(row), Qt::DisplayRole).toString();
    return text.section(QLatin1Char('\n'), 1).section(QStringLiteral(" · "), 2);
}

// Records of every outcome made by the real engine in a history of the test's own.
class MergeHistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        languages.setSelectedLanguage(QStringLiteral("en"));
        source.file("a.txt", "one");
        older = mergeNow(source, target);
        source.file("a.txt", "two", 1'800'000'000.0);
        newer = mergeNow(source, target);  // replaces the older merge's copy
        otherSource.file("s.txt", "s");
        mergeNow(otherSource, otherTarget, /*stop=*/true);
        otherSource.file("f.txt", "f");
        const auto summary =
            APFSEngine::shared().analyzeNow(otherSource.root(), otherTarget.root());
        std::filesystem::remove(otherSource.path("f.txt"));
        EXPECT_THROW(APFSEngine::shared().executeMergeNow(otherSource.root(), otherTarget.root(),
                                                          summary, {}),
                     engine::EngineError);
        otherSource.file("i.txt", "i");
        MergeSessionRecord killed = mergeNow(otherSource, otherTarget);
        killed.outcome = engine::MergeOutcome::interrupted;
        engine::SessionHistory::replace(killed);
    }
    void TearDown() override {
        EXPECT_TRUE(waitUntil([this] { return !state.isUndoing(); }));
        languages.setSelectedLanguage(previousLanguage);
    }

    void showAndLoad() {
        window.show();
        window.reload();
        ASSERT_TRUE(waitUntil([this] { return window.model().rowCount() > 0; }));
    }

    text::LanguageManager& languages = text::LanguageManager::shared();
    const QString previousLanguage = languages.selectedLanguage();
    testing::ScopedConfigHome history;
    FileTree source, target, otherSource, otherTarget;
    MergeSessionRecord older, newer;
    app::AppState state;
    MergeHistoryWindow window{state};
};

TEST_F(MergeHistoryWindowTest, ListsEveryOutcomeNewestFirstAndUndoesTheSelectedMerge) {
    showAndLoad();
    const QString undoable = QStringLiteral(" · ") + loc("history_can_undo");
    const QStringList expected = {
        loc("history_outcome_interrupted") + undoable, loc("history_outcome_failed") + undoable,
        loc("history_outcome_stopped") + undoable, loc("history_outcome_completed") + undoable,
        loc("history_outcome_completed") + undoable};
    ASSERT_EQ(window.model().rowCount(), expected.size());
    for (int row = 0; row < expected.size(); ++row) EXPECT_EQ(statusOf(window, row), expected[row]);
    EXPECT_TRUE(window.model()
                    .data(window.model().index(4), Qt::DisplayRole)
                    .toString()
                    .contains(QString::fromStdString(source.root() + " → " + target.root())));

    // The older merge cannot go while the newer one changed the same file: the refusal shows.
    QString refusal;
    try {
        APFSEngine::shared().undoMergeNow(older);
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(error.code(), 409);
        refusal = error.description();
    }
    window.selectRow(4);
    window.undoButton().click();
    ASSERT_TRUE(waitUntil([this] { return window.statusLine().isVisibleTo(&window); }));
    EXPECT_EQ(window.statusLine().text(), loc("alert_undo_failed", refusal));

    // The newer one goes, and stays listed as undone, with nothing left to undo or show.
    window.selectRow(3);
    window.copyButton().click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(target.root()));
    OpenedUrls urls;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");
    window.backupButton().click();
    const bool shown = waitUntil([&] { return !urls.opened.isEmpty(); });
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(urls.opened.front(), urlOf(newer.backupDir));
    window.undoButton().click();
    ASSERT_TRUE(waitUntil([this] {
        return !state.isUndoing() && statusOf(window, 3) == loc("history_outcome_undone");
    }));
    EXPECT_FALSE(window.undoButton().isEnabled());
    EXPECT_FALSE(window.backupButton().isEnabled());
    EXPECT_EQ(target.read("a.txt"), "one");
}

TEST_F(MergeHistoryWindowTest, ReadsTheHistoryAgainWhenActivated) {
    showAndLoad();
    window.selectRow(2);
    FileTree elsewhere;
    mergeNow(otherSource, elsewhere);  // as the command-line tool would, meanwhile
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    ASSERT_TRUE(waitUntil([this] { return window.model().rowCount() == 6; }));
    EXPECT_EQ(window.list().currentIndex().row(), 3);  // the same merge stays selected
}

}  // namespace
}  // namespace sorrelix::ui

#include "merge_history_window_test.moc"
