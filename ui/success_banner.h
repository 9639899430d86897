#pragma once

#include "tinted_panel.h"

class QPushButton;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// Shown after a merge: the merge is done, the target can be revealed, and the merge can be
// undone while the state still holds it. The undo button is disabled while an undo runs, so
// a second one cannot start.
class SuccessBanner : public TintedPanel {
    Q_OBJECT

public:
    explicit SuccessBanner(app::AppState& state, QWidget* parent = nullptr);

    QPushButton& revealButton() const { return *reveal_; }
    QPushButton& undoButton() const { return *undo_; }

private:
    void refresh();

    app::AppState& state_;
    QPushButton* reveal_;
    QPushButton* undo_;
};

}  // namespace sorrelix::ui
