#pragma once

#include "tinted_panel.h"

class QLabel;
class QPushButton;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// Shown after a merge in the dock's place: the merge is done (or was stopped, and says after
// how many files), the target can be revealed, and the merge can be undone while the state
// still holds it. The undo button is disabled while an undo runs, so a second one cannot start.
class SuccessBanner : public TintedPanel {
    Q_OBJECT

public:
    enum class Kind { completed, stopped };
    explicit SuccessBanner(app::AppState& state, Kind kind = Kind::completed,
                           QWidget* parent = nullptr);

    QLabel& title() const { return *title_; }
    QPushButton& revealButton() const { return *reveal_; }
    QPushButton& undoButton() const { return *undo_; }

private:
    QWidget* buildTitleColumn(Kind kind);
    void refresh();

    app::AppState& state_;
    Kind kind_;
    QLabel* title_ = nullptr;
    QPushButton* reveal_ = nullptr;
    QPushButton* undo_ = nullptr;
};

}  // namespace sorrelix::ui
