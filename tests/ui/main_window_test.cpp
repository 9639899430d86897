#include "main_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <set>

#include "app_language.h"
#include "app_settings.h"
#include "app_state.h"
#include "app_test_support.h"
#include "diff_list_view.h"
#include "elided_label.h"
#include "exclude_rules_dialog.h"
#include "file_tree.h"
#include "folder_well.h"
#include "language_manager.h"
#include "loc.h"
#include "main_window_view.h"
#include "merge_history_window.h"
#include "merge_view.h"
#include "settings_menu_button.h"

namespace sorrelix::ui {
namespace {

using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::AppLanguage;
using text::LanguageManager;
using text::loc;

auto visibleBoxes() {
    return std::ranges::count_if(QApplication::topLevelWidgets(), [](const QWidget* top) {
        return qobject_cast<const QMessageBox*>(top) && top->isVisible();
    });
}

// The window on screen and active, so that its shortcuts work, in English; the language the
// process had is restored afterwards.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LanguageManager::shared().setLanguage(AppLanguage::en);
        window = std::make_unique<MainWindow>(state);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        EXPECT_TRUE(testing::waitUntilIdle(state));
        window.reset();
        LanguageManager::shared().setSelectedLanguage(previousLanguage);
    }

    QMenu* menu(int index) const { return window->menuBar()->actions().at(index)->menu(); }
    QAction* command(const char* shortcut) const {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->shortcut() == QKeySequence(shortcut)) return action;
        }
        return nullptr;
    }
    void press(const QKeySequence& keys) { QTest::keySequence(window.get(), keys); }
    MergeView& workspace() const {
        return static_cast<MainWindowView*>(window->centralWidget())->mergeView();
    }
    void chooseReadyPair() {
        source.file("new.txt", "fresh");
        state.setSource(urlOf(source.root()));
        state.setTarget(urlOf(target.root()));
    }

    const QString previousLanguage = LanguageManager::shared().selectedLanguage();
    app::AppState state;
    std::unique_ptr<MainWindow> window;
    FileTree source;
    FileTree target;
};

TEST_F(MainWindowTest, MenusOfferTheWorkflowCommandsAndNothingElse) {
    // No new window, no redo: the only shortcuts are the workflow's.
    std::set<QString> shortcuts;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) shortcuts.insert(action->shortcut().toString());
    }
    ASSERT_EQ(shortcuts, (std::set<QString>{"Ctrl+O", "Ctrl+Shift+O", "Ctrl+[", "Ctrl+D", "Ctrl+Q",
                                            "Ctrl+Z", "Ctrl+H"}));
    // One history window, brought forward again by its command.
    press(QKeySequence("Ctrl+H"));
    MergeHistoryWindow* history = window->historyWindow();
    ASSERT_TRUE(history && history->isVisible());
    history->close();
    command("Ctrl+H")->trigger();
    EXPECT_EQ(window->historyWindow(), history);
    EXPECT_TRUE(history->isVisible());
    menu(1)->actions().last()->trigger();
    ASSERT_TRUE(window->excludeRulesDialog() && window->excludeRulesDialog()->isVisible());
    window->excludeRulesDialog()->reject();
}

// Return presses the visible default button, but not from the search field; Ctrl+Z undoes
// the merge even from there, and never undoes the typed text instead. Disabled commands
// ignore their shortcuts.
TEST_F(MainWindowTest, KeyboardDrivesTheWorkflow) {
    QAction* start = command("Ctrl+D");
    QAction* undo = command("Ctrl+Z");
    ASSERT_TRUE(start && undo);
    for (const char* keys : {"Ctrl+D", "Return", "Ctrl+Z"}) press(QKeySequence(keys));
    EXPECT_FALSE(state.isAnalyzing());

    chooseReadyPair();
    press(QKeySequence("Ctrl+["));
    EXPECT_EQ(state.sourceURL(), urlOf(target.root()));
    press(QKeySequence("Ctrl+["));
    press(QKeySequence(Qt::Key_Return));
    EXPECT_TRUE(state.isAnalyzing());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    press(QKeySequence("Ctrl+D"));
    EXPECT_TRUE(state.isAnalyzing());
    EXPECT_FALSE(start->isEnabled());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));

    auto* search = workspace().diffList().findChild<QLineEdit*>();
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("n"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_FALSE(state.isMerging());
    window->centralWidget()->setFocus();
    press(QKeySequence(Qt::Key_Enter));
    EXPECT_TRUE(state.isMerging());
    ASSERT_TRUE(waitUntil([this] { return state.showSuccessBanner() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("new.txt"), "fresh");
    EXPECT_TRUE(undo->isEnabled());

    search->setFocus();
    QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession() && !state.isUndoing(); }));
    EXPECT_FALSE(target.exists("new.txt"));
    EXPECT_FALSE(undo->isEnabled());
    state.setAlertMessage(std::nullopt);
    QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);  // nothing left to undo
    EXPECT_EQ(search->text(), QStringLiteral("n"));
}

TEST_F(MainWindowTest, ChoosesFoldersFromTheFileMenu) {
    testing::ScriptedChooser chooser({urlOf(source.root()), std::nullopt, urlOf(target.root())});
    press(QKeySequence("Ctrl+O"));
    press(QKeySequence("Ctrl+O"));  // cancelled: the source stays
    press(QKeySequence("Ctrl+Shift+O"));
    EXPECT_EQ(chooser.asked, QStringList({loc("choose_source_prompt") + "+create",
                                          loc("choose_source_prompt") + "+create",
                                          loc("choose_target_prompt") + "+create"}));
    EXPECT_EQ(state.sourceURL(), urlOf(source.root()));
    EXPECT_EQ(state.targetURL(), urlOf(target.root()));
}

// The language is chosen in the gear popup, which runs its own event loop inside the content
// that the switch replaces; the workflow and the alert carry over.
TEST_F(MainWindowTest, LanguageSwitchRebuildsContentAndKeepsTheWorkflow) {
    chooseReadyPair();
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    workspace().diffList().setSearchText(QStringLiteral("new"));
    state.setAlertMessage(QStringLiteral("still there"));
    ASSERT_TRUE(waitUntil([] { return visibleBoxes() == 1; }));
    const QString englishFile = menu(0)->title();
    QPointer<QWidget> oldContent = window->centralWidget();
    auto* gearButton = window->findChild<SettingsMenuButton*>();
    QPointer<QMenu> gear = gearButton->menu();
    QTimer::singleShot(0, [gear] {
        gear->actions().front()->menu()->actions().at(6)->trigger();  // Deutsch
        if (gear) gear->close();
    });
    gearButton->showMenu();
    ASSERT_EQ(LanguageManager::shared().selectedLanguage(), QStringLiteral("de"));
    ASSERT_TRUE(waitUntil([&] { return oldContent.isNull(); }));

    EXPECT_EQ(menu(0)->title(), loc("menu_file"));
    EXPECT_EQ(workspace().targetWell().url(), urlOf(target.root()));
    EXPECT_TRUE(workspace().findChild<QWidget*>("differencesPanel")->isVisible());
    EXPECT_EQ(workspace().diffList().searchText(), QString());
    // The alert moves to the new content: never two boxes, and the message stays.
    EXPECT_LE(visibleBoxes(), 1);
    ASSERT_TRUE(waitUntil([] { return visibleBoxes() == 1; }));
    EXPECT_EQ(state.alertMessage(), QStringLiteral("still there"));

    menu(2)->actions().at(1)->trigger();  // and back from the menu bar
    EXPECT_EQ(menu(0)->title(), englishFile);
    EXPECT_EQ(state.mergeSummary()->addedCount, 1);
}

// The badge gives way, visibly shortened rather than cut off; every other label fits.
TEST_F(MainWindowTest, EveryLanguageFitsTheSmallestWindow) {
    window->resize(1, 1);
    for (const AppLanguage language : text::kAllAppLanguages) {
        LanguageManager::shared().setLanguage(language);
        QTest::qWait(1);  // the new content is laid out once it shows
        QWidget* footer = window->centralWidget()->findChild<QWidget*>("footer");
        for (auto* label : footer->findChildren<QLabel*>()) {
            const auto* badge = qobject_cast<ElidedLabel*>(label);
            EXPECT_TRUE(badge ? badge->displayedText() == label->text() ||
                                    badge->displayedText().endsWith(QStringLiteral("…"))
                              : label->width() >= label->sizeHint().width())
                << text::rawValue(language).toStdString() << ": " << label->text().toStdString();
        }
    }
}

// A first start opens at a comfortable size, later ones as the window was last closed; the
// content keeps its 720 x 520 whatever the menu bar takes.
TEST_F(MainWindowTest, SizeAndAboutPanel) {
    EXPECT_EQ(window->size(), MainWindow::kDefaultSize);
    window->resize(1010, 710);
    window->close();
    EXPECT_EQ(MainWindow(state).size(), QSize(1010, 710));
    text::openAppSettings()->remove(QString::fromLatin1(MainWindow::kGeometryKey));
    window->show();
    window->resize(300, 200);
    EXPECT_GE(window->centralWidget()->width(), 720);
    EXPECT_GE(window->centralWidget()->height(), 520);
    // Both about items show the one panel, which does not block the window.
    menu(3)->actions().back()->trigger();
    window->findChild<SettingsMenuButton*>()->menu()->actions().back()->trigger();
    const QList<QMessageBox*> panels = window->findChildren<QMessageBox*>();
    ASSERT_EQ(panels.size(), 1);
    EXPECT_FALSE(panels.front()->isModal());
    panels.front()->close();
}

}  // namespace
}  // namespace sorrelix::ui
