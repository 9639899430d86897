#pragma once

#include <QWidget>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

class MergeView;

// The window's content: a header (icon, title, settings menu), the merge workspace and a
// footer (safety badge and shortcut legend). Every text is looked up when it is built; the
// window builds a new one when the interface language changes.
class MainWindowView : public QWidget {
    Q_OBJECT

public:
    explicit MainWindowView(app::AppState& state, QWidget* parent = nullptr);

    MergeView& mergeView() const { return *mergeView_; }

private:
    QWidget* buildHeader();
    QWidget* buildFooter();

    MergeView* mergeView_;
};

}  // namespace sorrelix::ui
