#include "badge_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <utility>

namespace sorrelix::ui {

BadgeLabel::PaletteColor fixedColor(const QColor& color) {
    return [color](const QPalette& /*palette*/) { return color; };
}

BadgeLabel::BadgeLabel(Look look, QWidget* parent) : QWidget(parent), look_(std::move(look)) {
    setFont(look_.font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BadgeLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize BadgeLabel::sizeHint() const {
    const QFontMetricsF metrics(font());
    const QMarginsF& padding = look_.padding;
    return QSize(qCeil(metrics.horizontalAdvance(text_) + padding.left() + padding.right()),
                 qCeil(metrics.height() + padding.top() + padding.bottom()));
}

QSize BadgeLabel::minimumSizeHint() const {
    return sizeHint();
}

void BadgeLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect());
    const qreal radius = look_.cornerRadius < 0 ? shape.height() / 2 : look_.cornerRadius;
    QPainterPath path;
    path.addRoundedRect(shape, radius, radius);
    painter.fillPath(path, look_.fillColor(palette()));
    painter.setPen(look_.textColor(palette()));
    painter.drawText(shape.marginsRemoved(look_.padding), Qt::AlignCenter, text_);
}

}  // namespace sorrelix::ui
