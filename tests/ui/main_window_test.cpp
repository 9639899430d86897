#include "main_window.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
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
#include "sandbox_helper.h"
#include "settings_menu_button.h"
#include "sorrelix_version.h"
#include "window_alert.h"

namespace sorrelix::ui {
namespace {

using app::AppState;
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::AppLanguage;
using text::LanguageManager;
using text::loc;

int visibleBoxes() {
    int shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        shown += qobject_cast<QMessageBox*>(top) && top->isVisible() ? 1 : 0;
    }
    return shown;
}

// Collects the addresses the application asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

// Answers the folder chooser from a script and notes what it was asked.
class ScriptedChooser : public app::FolderChooser {
public:
    ScriptedChooser(std::deque<std::optional<QUrl>>& answers, QStringList& asked)
        : answers_(answers), asked_(asked) {}
    std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories) override {
        asked_ << prompt + (canCreateDirectories ? "+create" : "");
        std::optional<QUrl> answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    std::deque<std::optional<QUrl>>& answers_;
    QStringList& asked_;
};

// The window on screen and active, so that its shortcuts work, in English unless a test
// switches; the language the process had is restored afterwards.
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
        EXPECT_TRUE(waitUntil(
            [this] { return !state.isAnalyzing() && !state.isMerging() && !state.isUndoing(); }));
        window.reset();
        LanguageManager::shared().setSelectedLanguage(previousLanguage);
    }

    QMenu* menu(int index) const { return window->menuBar()->actions().at(index)->menu(); }
    QAction* command(const QKeySequence& shortcut) const {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->shortcut() == shortcut) return action;
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
    AppState state;
    std::unique_ptr<MainWindow> window;
    FileTree source;
    FileTree target;
};

TEST_F(MainWindowTest, MenusOfferTheWorkflowCommandsAndNothingElse) {
    QStringList titles;
    for (QAction* top : window->menuBar()->actions()) titles << top->text();
    EXPECT_EQ(titles, QStringList({loc("menu_file"), loc("menu_edit"), loc("menu_language"),
                                   loc("menu_help")}));

    // No new window, no redo: the only shortcuts are the workflow's.
    std::set<QString> shortcuts;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) shortcuts.insert(action->shortcut().toString());
    }
    EXPECT_EQ(shortcuts, (std::set<QString>{"Ctrl+O", "Ctrl+Shift+O", "Ctrl+[", "Ctrl+D", "Ctrl+Q",
                                            "Ctrl+Z", "Ctrl+H"}));
    // One history window, brought forward again by its command.
    EXPECT_EQ(command(QKeySequence("Ctrl+H"))->text(), loc("history_title") + "...");
    press(QKeySequence("Ctrl+H"));
    MergeHistoryWindow* history = window->historyWindow();
    ASSERT_TRUE(history && history->isVisible());
    history->close();
    command(QKeySequence("Ctrl+H"))->trigger();
    EXPECT_EQ(window->historyWindow(), history);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(command(QKeySequence("Ctrl+O"))->text(), loc("choose_source_prompt") + "...");
    QAction* rules = menu(1)->actions().last();
    EXPECT_EQ(rules->text(), loc("exclude_rules_title") + "...");
    rules->trigger();
    ASSERT_TRUE(window->excludeRulesDialog() && window->excludeRulesDialog()->isVisible());
    window->excludeRulesDialog()->reject();

    QStringList help;
    for (QAction* item : menu(3)->actions()) {
        if (!item->isSeparator()) help << item->text();
    }
    EXPECT_EQ(help, QStringList({loc("website_menu"), loc("support_faq_menu"), loc("privacy_menu"),
                                 QStringLiteral("About Sorrelix")}));

    const QList<QAction*> languages = menu(2)->actions();
    ASSERT_EQ(languages.size(), static_cast<qsizetype>(text::kAllAppLanguages.size()));
    for (qsizetype i = 0; i < languages.size(); ++i) {
        const AppLanguage language = text::kAllAppLanguages.at(static_cast<std::size_t>(i));
        EXPECT_EQ(languages[i]->text(), text::displayName(language));
        EXPECT_EQ(languages[i]->isChecked(), language == AppLanguage::en);
    }
}

TEST_F(MainWindowTest, DisabledCommandsIgnoreTheirShortcuts) {
    QAction* start = command(QKeySequence("Ctrl+D"));
    QAction* undo = command(QKeySequence("Ctrl+Z"));
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(undo->isEnabled());
    press(QKeySequence("Ctrl+D"));
    press(QKeySequence("Ctrl+Z"));
    EXPECT_FALSE(state.isAnalyzing());

    chooseReadyPair();
    EXPECT_TRUE(start->isEnabled());
    press(QKeySequence("Ctrl+["));
    EXPECT_EQ(state.sourceURL(), urlOf(target.root()));
    press(QKeySequence("Ctrl+["));
    press(QKeySequence("Ctrl+D"));
    EXPECT_TRUE(state.isAnalyzing());
    EXPECT_FALSE(start->isEnabled());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));

    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return state.lastSession() && state.isAnalyzed(); }));
    EXPECT_TRUE(undo->isEnabled());
    press(QKeySequence("Ctrl+Z"));
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession(); }));
    EXPECT_FALSE(target.exists("new.txt"));
    EXPECT_FALSE(undo->isEnabled());
}

// After a failed merge the alert says that Ctrl+Z takes back what was copied; Ctrl+Z does so
// even from the search field, and never undoes the typed text instead.
TEST_F(MainWindowTest, CtrlZUndoesAFailedMergeEvenFromTheSearchField) {
    source.file("a.txt", "a");
    source.file("b.txt", "b");
    state.setSource(urlOf(source.root()));
    state.setTarget(urlOf(target.root()));
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    std::filesystem::remove(source.path("b.txt"));
    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isMerging(); }));
    ASSERT_TRUE(state.lastSession());  // a.txt may or may not have come first
    EXPECT_TRUE(
        state.alertMessage().value_or("").endsWith("\n\n" + loc("alert_merge_failed_undo")));
    state.setAlertMessage(std::nullopt);
    window->activateWindow();  // the desktop's part, once the alert is gone
    ASSERT_TRUE(waitUntil([this] { return QApplication::activeWindow() == window.get(); }));

    auto* search = workspace().diffList().findChild<QLineEdit*>();
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("a"));
    QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([this] { return !state.lastSession() && !state.isUndoing(); }));
    EXPECT_FALSE(target.exists("a.txt"));
    state.setAlertMessage(std::nullopt);
    QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);  // nothing left to undo
    EXPECT_EQ(search->text(), QStringLiteral("a"));
}

// An undo that kept files the user changed says so, with one button that shows them.
TEST_F(MainWindowTest, UndoAlertShowsTheKeptFiles) {
    chooseReadyPair();
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return state.lastSession() && state.isAnalyzed(); }));
    target.file("new.txt", "edited after the merge");
    const std::string kept = target.path(".sorrelix/kept/" + state.lastSession()->id);
    state.undoLastMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isUndoing() && state.alertMessage(); }));
    const auto* alert = workspace().findChild<WindowAlert*>();
    ASSERT_TRUE(waitUntil([&] { return alert->box() != nullptr; }));
    EXPECT_TRUE(alert->box()->text().contains(QString::fromStdString(kept)));
    ASSERT_TRUE(alert->showKeptButton());
    EXPECT_EQ(alert->showKeptButton()->text(), loc("show_kept_files"));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    alert->showKeptButton()->click();
    const bool shown = waitUntil([&] { return !catcher.opened.isEmpty(); });
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(catcher.opened.front(), urlOf(kept));
    EXPECT_FALSE(state.alertMessage());  // the button closes the alert as well
}

TEST_F(MainWindowTest, ChoosesFoldersFromTheFileMenu) {
    std::deque<std::optional<QUrl>> answers = {urlOf(source.root()), std::nullopt,
                                               urlOf(target.root())};
    QStringList asked;
    app::SandboxHelper::shared().setFolderChooser(
        std::make_unique<ScriptedChooser>(answers, asked));
    press(QKeySequence("Ctrl+O"));
    press(QKeySequence("Ctrl+O"));  // cancelled: the source stays
    press(QKeySequence("Ctrl+Shift+O"));
    app::SandboxHelper::shared().setFolderChooser(nullptr);
    EXPECT_EQ(asked, QStringList({loc("choose_source_prompt") + "+create",
                                  loc("choose_source_prompt") + "+create",
                                  loc("choose_target_prompt") + "+create"}));
    EXPECT_EQ(state.sourceURL(), urlOf(source.root()));
    EXPECT_EQ(state.targetURL(), urlOf(target.root()));
}

TEST_F(MainWindowTest, ReturnPressesTheVisibleDefaultButtonButNotFromTheSearchField) {
    press(QKeySequence(Qt::Key_Return));
    EXPECT_FALSE(state.isAnalyzing());

    chooseReadyPair();
    press(QKeySequence(Qt::Key_Return));
    EXPECT_TRUE(state.isAnalyzing());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));

    auto* search = workspace().diffList().findChild<QLineEdit*>();
    ASSERT_TRUE(search);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_FALSE(state.isMerging());

    window->centralWidget()->setFocus();
    press(QKeySequence(Qt::Key_Enter));
    EXPECT_TRUE(state.isMerging());
    ASSERT_TRUE(waitUntil([this] { return state.showSuccessBanner() && state.isAnalyzed(); }));
    EXPECT_EQ(target.read("new.txt"), "fresh");
}

TEST_F(MainWindowTest, LanguageSwitchRebuildsContentAndKeepsTheWorkflow) {
    chooseReadyPair();
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    workspace().diffList().setSearchText(QStringLiteral("new"));
    workspace().diffList().setFilterKind(engine::FileDiffKind::added);
    state.setAlertMessage(QStringLiteral("still there"));
    const QString englishFile = menu(0)->title();
    QPointer<QWidget> oldContent = window->centralWidget();

    // From the gear menu inside the content that the switch replaces.
    auto* gear = window->findChild<SettingsMenuButton*>();
    QMenu* gearLanguages = gear->menu()->actions().front()->menu();
    ASSERT_TRUE(waitUntil([] { return visibleBoxes() == 1; }));
    gearLanguages->actions().at(6)->trigger();  // Deutsch
    ASSERT_EQ(LanguageManager::shared().selectedLanguage(), QStringLiteral("de"));
    ASSERT_TRUE(waitUntil([&] { return oldContent.isNull(); }));

    EXPECT_EQ(menu(0)->title(), loc("menu_file"));
    EXPECT_NE(menu(0)->title(), englishFile);
    EXPECT_TRUE(menu(2)->actions().at(6)->isChecked());
    EXPECT_FALSE(menu(2)->actions().at(1)->isChecked());
    EXPECT_EQ(workspace().sourceWell().url(), urlOf(source.root()));
    EXPECT_EQ(workspace().targetWell().url(), urlOf(target.root()));
    EXPECT_TRUE(workspace().findChild<QWidget*>("differencesPanel")->isVisible());
    EXPECT_EQ(workspace().diffList().searchText(), QString());
    EXPECT_FALSE(workspace().diffList().filterKind());
    auto* gearAfter = window->findChild<SettingsMenuButton*>();
    EXPECT_EQ(gearAfter->toolTip(), loc("settings_menu"));
    // The alert moves to the new content: never two boxes, and the message stays.
    EXPECT_LE(visibleBoxes(), 1);
    ASSERT_TRUE(waitUntil([] { return visibleBoxes() == 1; }));
    EXPECT_EQ(state.alertMessage(), QStringLiteral("still there"));

    // And back from the menu bar.
    menu(2)->actions().at(1)->trigger();
    EXPECT_EQ(menu(0)->title(), englishFile);
    EXPECT_TRUE(menu(2)->actions().at(1)->isChecked());
    EXPECT_EQ(state.mergeSummary()->addedCount, 1);
}

TEST_F(MainWindowTest, LanguageChosenInTheGearPopupReplacesTheContentHoldingThePopup) {
    QPointer<QWidget> oldContent = window->centralWidget();
    auto* gear = window->findChild<SettingsMenuButton*>();
    // The popup runs its own event loop; the choice is made from inside it, by keyboard.
    bool chosen = false;
    QTimer::singleShot(0, [&chosen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Right);
        auto* languages = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (languages && languages != menu) {
            languages->setActiveAction(languages->actions().at(6));  // Deutsch
            QTest::keyClick(languages, Qt::Key_Return);
            chosen = true;
        }
        if (QWidget* left = QApplication::activePopupWidget()) left->close();
        if (QApplication::activePopupWidget()) menu->close();
    });
    gear->showMenu();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(LanguageManager::shared().selectedLanguage(), QStringLiteral("de"));
    ASSERT_TRUE(waitUntil([&] { return oldContent.isNull(); }));
    EXPECT_EQ(window->findChild<SettingsMenuButton*>()->toolTip(), loc("settings_menu"));
}

TEST_F(MainWindowTest, EveryLanguageFitsTheSmallestWindow) {
    for (const AppLanguage language : text::kAllAppLanguages) {
        SCOPED_TRACE(text::rawValue(language).toStdString());
        LanguageManager::shared().setLanguage(language);
        window->resize(1, 1);
        QTest::qWait(1);  // the new content is laid out once it shows
        ASSERT_GE(window->centralWidget()->width(), 720);
        for (auto* label :
             window->centralWidget()->findChild<QWidget*>("footer")->findChildren<QLabel*>()) {
            if (label->objectName() == QStringLiteral("securityBadge")) {
                // The badge gives way, visibly shortened rather than cut off.
                const QString shown = static_cast<ElidedLabel*>(label)->displayedText();
                EXPECT_TRUE(shown == label->text() || shown.endsWith(QStringLiteral("…")));
            } else {
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, SizeAboutPanelAndWebPages) {
    // A first start opens at a comfortable size, later ones as the window was last closed.
    EXPECT_EQ(window->size(), MainWindow::kDefaultSize);
    window->resize(1010, 710);
    window->close();
    MainWindow reopened(state);
    EXPECT_EQ(reopened.size(), QSize(1010, 710));
    text::openAppSettings()->remove(QString::fromLatin1(MainWindow::kGeometryKey));
    window->show();

    // The content keeps its 720 x 520 whatever the menu bar takes.
    window->resize(300, 200);
    EXPECT_GE(window->centralWidget()->width(), 720);
    EXPECT_GE(window->centralWidget()->height(), 520);
    window->resize(1600, 1200);
    EXPECT_EQ(window->size(), QSize(1600, 1200));

    // Both about items show the one panel, which does not block the window.
    menu(3)->actions().back()->trigger();
    auto* gear = window->findChild<SettingsMenuButton*>();
    gear->menu()->actions().back()->trigger();
    const QList<QMessageBox*> panels = window->findChildren<QMessageBox*>();
    ASSERT_EQ(panels.size(), 1);
    EXPECT_FALSE(panels.front()->isModal());
    for (const char* shown : {"100% Offline APFS Folder Sync", SORRELIX_VERSION}) {
        EXPECT_TRUE(panels.front()->text().contains(QLatin1String(shown))) << shown;
    }
    panels.front()->close();

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    for (QAction* item : menu(3)->actions().mid(0, 3)) item->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(catcher.opened,
              QList<QUrl>({QUrl("https://sorrelix.app"), QUrl("https://sorrelix.app/support.html"),
                           QUrl("https://sorrelix.app/privacy.html")}));
}

}  // namespace
}  // namespace sorrelix::ui

#include "main_window_test.moc"
