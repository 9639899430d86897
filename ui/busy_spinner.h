#pragma once

#include <QBasicTimer>
#include <QWidget>

namespace sorrelix::ui {

// An indeterminate progress indicator: spokes around a circle, fading from the leading one,
// turning one spoke at a time. It turns only while it is shown, so a hidden spinner costs no
// timer events, and takes its colour from the palette.
class BusySpinner : public QWidget {
    Q_OBJECT

public:
    explicit BusySpinner(int diameter, QWidget* parent = nullptr);

    // The spoke drawn darkest, counting clockwise from the top.
    int leadingSpoke() const { return leadingSpoke_; }
    bool isTurning() const { return timer_.isActive(); }

    static constexpr int kSpokes = 12;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QBasicTimer timer_;
    int leadingSpoke_ = 0;
};

}  // namespace sorrelix::ui
