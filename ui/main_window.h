#pragma once

#include <QMainWindow>
#include <QPointer>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

class ExcludeRulesDialog;
class MergeHistoryWindow;

// The application's single window: the menu bar (File, Edit, language, Help) around the
// window content, which is rebuilt whenever the interface language changes. It opens at its
// last size and place, and owns the one merge history window and the exclude rules dialog.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(app::AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    static constexpr const char* kGeometryKey = "WindowGeometry";
    static constexpr QSize kDefaultSize{960, 680};

    // Opens (or brings forward) the merge history window.
    void showHistory();
    // The history window once opened, or null.
    MergeHistoryWindow* historyWindow() const;
    // Opens the exclude rules dialog on the stored list (or brings the open one forward).
    void showExcludeRules();
    // The open exclude rules dialog, or null.
    ExcludeRulesDialog* excludeRulesDialog() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Menus;
    void buildMenus();
    void retranslateMenus();
    void refreshCommands();
    void rebuildContent();
    void chooseFolder(bool source);
    void restoreWindowGeometry();
    void saveWindowGeometry();

    app::AppState& state_;
    Menus* menus_;
    QPointer<MergeHistoryWindow> history_;
    QPointer<ExcludeRulesDialog> excludeRules_;
};

}  // namespace sorrelix::ui
