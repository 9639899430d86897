#pragma once

#include <QListView>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

class DiffRowDelegate;

// The list of difference rows, set up for summaries of a million items: uniform row heights,
// layout in batches so that a new filter shows its first rows at once, and no type-ahead
// search (it would walk every row; the search field does that job).
class DiffRowsView : public QListView {
    Q_OBJECT

public:
    explicit DiffRowsView(const app::AppState& state, QWidget* parent = nullptr);

    DiffRowDelegate& rowDelegate() const { return *delegate_; }

    void keyboardSearch(const QString& search) override;

private:
    DiffRowDelegate* delegate_;
};

}  // namespace sorrelix::ui
