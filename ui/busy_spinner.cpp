#include "busy_spinner.h"

#include <QPainter>
#include <QTimerEvent>

#include "style.h"

namespace sorrelix::ui {

namespace {
// One turn a second.
constexpr int kStepMs = 1000 / BusySpinner::kSpokes;
}  // namespace

BusySpinner::BusySpinner(int diameter, QWidget* parent) : QWidget(parent) {
    setFixedSize(diameter, diameter);
}

void BusySpinner::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = width() / 2.0;
    QPen pen(Qt::NoBrush, radius / 5.5, Qt::SolidLine, Qt::RoundCap);
    painter.translate(radius, radius);
    const QColor ink = style::primaryText(palette());
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        // Spokes behind the leading one fade, down to a faint trace.
        const int behind = (leadingSpoke_ - spoke + kSpokes) % kSpokes;
        pen.setColor(style::withAlpha(ink, 0.85 - 0.65 * behind / (kSpokes - 1)));
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * spoke / kSpokes);
        // Drawn upwards from the centre, the pen's caps kept inside the widget.
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius + pen.widthF() / 2));
        painter.restore();
    }
}

void BusySpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_.start(kStepMs, this);
}

void BusySpinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

void BusySpinner::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    leadingSpoke_ = (leadingSpoke_ + 1) % kSpokes;
    update();
}

}  // namespace sorrelix::ui
