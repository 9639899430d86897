#pragma once

#include <QMainWindow>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The application's single window: the menu bar (File, Edit, language, Help) around the
// window content, which is rebuilt whenever the interface language changes.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(app::AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

private:
    struct Menus;
    void buildMenus();
    void retranslateMenus();
    void refreshCommands();
    void rebuildContent();
    void chooseFolder(bool source);

    app::AppState& state_;
    Menus* menus_;
};

}  // namespace sorrelix::ui
