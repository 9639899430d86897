#pragma once

#include <QAbstractButton>
#include <QColor>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The round button between the two folder wells that exchanges them. It is disabled while an
// analysis or a merge runs, and its symbol is dimmed unless the pair is ready to analyse.
class SwapButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwapButton(app::AppState& state, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The colour the symbol is painted in now.
    QColor symbolColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    app::AppState& state_;
};

}  // namespace sorrelix::ui
