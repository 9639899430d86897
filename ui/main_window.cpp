#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSettings>

#include "about_panel.h"
#include "app_settings.h"
#include "app_state.h"
#include "exclude_rules_dialog.h"
#include "language_manager.h"
#include "language_menu.h"
#include "loc.h"
#include "main_window_view.h"
#include "merge_history_window.h"
#include "sandbox_helper.h"
#include "web_pages.h"

namespace sorrelix::ui {

using app::AppState;
using text::loc;

struct MainWindow::Menus {
    QMenu* file = nullptr;
    QAction* chooseSource = nullptr;
    QAction* chooseTarget = nullptr;
    QAction* swap = nullptr;
    QAction* startAnalysis = nullptr;
    QAction* quit = nullptr;
    QMenu* edit = nullptr;
    QAction* undo = nullptr;
    QAction* history = nullptr;
    QAction* excludeRules = nullptr;
    QMenu* language = nullptr;
    QMenu* help = nullptr;
    QAction* website = nullptr;
    QAction* support = nullptr;
    QAction* privacy = nullptr;
    QAction* about = nullptr;
};

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), menus_(new Menus) {
    setWindowTitle(QStringLiteral("Sorrelix"));
    // No minimum of its own: the layout keeps the window large enough for the content's
    // 720 x 520 and the menu bar above it.
    setCentralWidget(new MainWindowView(state_, this));
    restoreWindowGeometry();
    buildMenus();
    retranslateMenus();
    refreshCommands();
    for (const auto signal :
         {&AppState::sourceURLChanged, &AppState::targetURLChanged, &AppState::isAnalyzingChanged,
          &AppState::isMergingChanged, &AppState::lastSessionChanged}) {
        connect(&state_, signal, this, &MainWindow::refreshCommands);
    }
    connect(&text::LanguageManager::shared(), &text::LanguageManager::selectedLanguageChanged, this,
            [this] {
                rebuildContent();
                retranslateMenus();
            });
    // Quitting from the menu closes no window: the geometry is saved on the way out as well.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::saveWindowGeometry);
}

MainWindow::~MainWindow() {
    delete menus_;
}

void MainWindow::buildMenus() {
    Menus& m = *menus_;
    m.file = menuBar()->addMenu(QString());
    m.chooseSource = m.file->addAction(QString(), this, [this] { chooseFolder(true); });
    m.chooseSource->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m.chooseTarget = m.file->addAction(QString(), this, [this] { chooseFolder(false); });
    m.chooseTarget->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m.file->addSeparator();
    m.swap = m.file->addAction(QString(), this, [this] { state_.swapFolders(); });
    m.swap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    m.startAnalysis = m.file->addAction(QString(), this, [this] { state_.startAnalysis(false); });
    m.startAnalysis->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m.file->addSeparator();
    m.quit = m.file->addAction(QString(), qApp, &QApplication::quit);
    m.quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m.quit->setMenuRole(QAction::QuitRole);

    // Undo reverts the last merge; there is no other undo and no redo.
    m.edit = menuBar()->addMenu(QString());
    m.undo = m.edit->addAction(QString(), this, [this] { state_.undoLastMerge(); });
    m.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.edit->addSeparator();
    m.history = m.edit->addAction(QString(), this, &MainWindow::showHistory);
    m.history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m.excludeRules = m.edit->addAction(QString(), this, &MainWindow::showExcludeRules);

    m.language = menuBar()->addMenu(QString());
    new LanguageMenu(*m.language);

    m.help = menuBar()->addMenu(QString());
    m.website = m.help->addAction(QString(), [] { openWebPage(WebPage::home); });
    m.support = m.help->addAction(QString(), [] { openWebPage(WebPage::support); });
    m.privacy = m.help->addAction(QString(), [] { openWebPage(WebPage::privacy); });
    m.help->addSeparator();
    m.about =
        m.help->addAction(QStringLiteral("About Sorrelix"), this, [this] { showAboutPanel(this); });
    m.about->setMenuRole(QAction::AboutRole);
}

void MainWindow::retranslateMenus() {
    Menus& m = *menus_;
    const QString ellipsis = QStringLiteral("...");
    m.file->setTitle(loc("menu_file"));
    m.chooseSource->setText(loc("choose_source_prompt") + ellipsis);
    m.chooseTarget->setText(loc("choose_target_prompt") + ellipsis);
    m.swap->setText(loc("swap_tooltip"));
    m.startAnalysis->setText(loc("start_analysis"));
    m.quit->setText(loc("quit_menu"));
    m.edit->setTitle(loc("menu_edit"));
    m.undo->setText(loc("undo_button"));
    m.history->setText(loc("history_title") + ellipsis);
    m.excludeRules->setText(loc("exclude_rules_title") + ellipsis);
    m.language->setTitle(loc("menu_language"));
    m.help->setTitle(loc("menu_help"));
    m.website->setText(loc("website_menu"));
    m.support->setText(loc("support_faq_menu"));
    m.privacy->setText(loc("privacy_menu"));
}

void MainWindow::refreshCommands() {
    menus_->startAnalysis->setEnabled(state_.isReadyToAnalyze());
    menus_->undo->setEnabled(state_.lastSession().has_value());
}

void MainWindow::rebuildContent() {
    // The change may come from a menu inside the old content, so that content goes only once
    // control is back in the event loop. Hidden at once, it takes its alert box along; the new
    // content shows the alert again.
    if (QWidget* old = centralWidget()) {
        old->hide();
        takeCentralWidget();
        old->deleteLater();
    }
    setCentralWidget(new MainWindowView(state_, this));
}

void MainWindow::showHistory() {
    if (!history_) history_ = new MergeHistoryWindow(state_, this);
    history_->show();
    history_->raise();
    history_->activateWindow();
    history_->reload();
}

MergeHistoryWindow* MainWindow::historyWindow() const {
    return history_;
}

void MainWindow::showExcludeRules() {
    // A new dialog each time reads the list as stored now (the command-line tool shares it).
    if (!excludeRules_) {
        excludeRules_ = new ExcludeRulesDialog(state_, this);
        excludeRules_->setAttribute(Qt::WA_DeleteOnClose);
    }
    excludeRules_->open();
    excludeRules_->raise();
    excludeRules_->activateWindow();
}

ExcludeRulesDialog* MainWindow::excludeRulesDialog() const {
    return excludeRules_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveWindowGeometry();
    QMainWindow::closeEvent(event);
}

void MainWindow::restoreWindowGeometry() {
    const QByteArray saved = text::openAppSettings()->value(kGeometryKey).toByteArray();
    // A first start opens at a comfortable size rather than the smallest the content allows.
    if (saved.isEmpty() || !restoreGeometry(saved)) resize(kDefaultSize);
}

void MainWindow::saveWindowGeometry() {
    text::openAppSettings()->setValue(kGeometryKey, saveGeometry());
}

void MainWindow::chooseFolder(bool source) {
    const char* prompt = source ? "choose_source_prompt" : "choose_target_prompt";
    const std::optional<QUrl> folder =
        app::SandboxHelper::shared().chooseFolder(loc(prompt), /*canCreateDirectories=*/true);
    if (!folder) return;
    if (source) {
        state_.setSource(folder);
    } else {
        state_.setTarget(folder);
    }
}

}  // namespace sorrelix::ui
