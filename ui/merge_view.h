#pragma once

#include <QWidget>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

class DiffListView;
class FolderWell;

// The working area: the folder pair with the swap button, the same-folder and interrupted-merge
// strips, the panel that follows the workflow (drop guide, ready, scanning, in sync,
// differences), the dock (pending merge, progress, success or stopped banner) and the window's
// single alert. A function of the state: it holds no workflow data, and every action is one
// call on the state.
class MergeView : public QWidget {
    Q_OBJECT

public:
    explicit MergeView(app::AppState& state, QWidget* parent = nullptr);
    ~MergeView() override;

    FolderWell& sourceWell() const;
    FolderWell& targetWell() const;
    DiffListView& diffList() const;

private:
    struct Parts;
    Parts* parts_;

    void buildFolderRow();
    void buildCentre();
    void buildDock();
    void connectState();
    void refreshFolders();
    void refreshCentre();
    void refreshDock();
    // Return and Enter press whichever default button shows, unless a text field has focus.
    void pressDefaultButton();
};

}  // namespace sorrelix::ui
