#include "color_dot.h"

#include <QPainter>
#include <cmath>

namespace sorrelix::ui {

ColorDot::ColorDot(const QColor& color, qreal diameter, QWidget* parent)
    : QWidget(parent), color_(color), diameter_(diameter) {
    const int side = static_cast<int>(std::ceil(diameter_));
    setFixedSize(side, side);
}

QSize ColorDot::sizeHint() const {
    return minimumSize();
}

void ColorDot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    const QRectF bounds(rect());
    painter.drawEllipse(QRectF(0, 0, diameter_, diameter_)
                            .translated(bounds.center() - QPointF(diameter_ / 2, diameter_ / 2)));
}

}  // namespace sorrelix::ui
