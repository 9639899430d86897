#pragma once

#include "tinted_panel.h"

class QPushButton;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The orange notice shown while the target holds a merge that never ended (the process was
// killed, the power went), with the undo that puts the target back as it was before it.
class InterruptedMergeStrip : public TintedPanel {
    Q_OBJECT

public:
    explicit InterruptedMergeStrip(app::AppState& state, QWidget* parent = nullptr);

    QPushButton& undoButton() const { return *undo_; }

private:
    void refresh();

    app::AppState& state_;
    QPushButton* undo_;
};

}  // namespace sorrelix::ui
