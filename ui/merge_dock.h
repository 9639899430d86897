#pragma once

#include <QPushButton>
#include <cstdint>

#include "tinted_panel.h"

class QLabel;
class QProgressBar;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// A progress bar holds int values; merges may count past that. Value and maximum in the bar's
// range, in the same proportion: the value clamped to 0..total, the total raised to 1.
struct ProgressSteps {
    int value;
    int maximum;
};
ProgressSteps progressSteps(std::int64_t current, std::int64_t total);

// The pending merge: what it adds, updates and copies, and whether the target has room for it;
// beside it either the re-analyse and merge buttons or, while the merge runs, its progress and
// the stop button.
// Progress reports arrive once per merged file, so they touch only the progress column, and
// reports that arrive together are shown together.
class MergeDock : public TintedPanel {
    Q_OBJECT

public:
    explicit MergeDock(app::AppState& state, QWidget* parent = nullptr);

    // The window's default button while the dock shows.
    QPushButton& mergeButton() const { return *merge_; }
    // Beside the progress while a merge runs.
    QPushButton& stopButton() const { return *stop_; }

private:
    QWidget* buildSummaryColumn();
    QWidget* buildProgressColumn();
    QWidget* buildActions();
    void refreshSummary();
    void refreshMode();
    void progressReported();
    void refreshProgress();

    app::AppState& state_;
    QLabel* added_ = nullptr;
    QLabel* updated_ = nullptr;
    QLabel* transfer_ = nullptr;
    QLabel* status_ = nullptr;
    QWidget* progressColumn_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* progressCaption_ = nullptr;
    QPushButton* stop_ = nullptr;
    QWidget* actions_ = nullptr;
    QPushButton* merge_ = nullptr;
    bool progressPending_ = false;
};

}  // namespace sorrelix::ui
