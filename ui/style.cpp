#include "style.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace sorrelix::ui::style {

QColor green() {
    return QColor(52, 199, 89);
}
QColor orange() {
    return QColor(255, 149, 0);
}
QColor blue() {
    return QColor(0, 122, 255);
}
QColor cyan() {
    return QColor(50, 173, 230);
}
QColor red() {
    return QColor(255, 59, 48);
}
QColor gray() {
    return QColor(142, 142, 147);
}

QColor controlBackground(const QPalette& palette) {
    return palette.color(QPalette::Base);
}
QColor windowBackground(const QPalette& palette) {
    return palette.color(QPalette::Window);
}
QColor textBackground(const QPalette& palette) {
    return palette.color(QPalette::Base);
}
QColor separator(const QPalette& palette) {
    // Text at low opacity reads as a hairline on light and dark windows alike.
    return withAlpha(palette.color(QPalette::WindowText), 0.25);
}
QColor primaryText(const QPalette& palette) {
    return palette.color(QPalette::WindowText);
}
QColor secondaryText(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), 0.6);
}

QColor withAlpha(QColor color, qreal opacity) {
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

QFont systemFont(qreal pixelSize, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    return font;
}

QFont monospacedFont(qreal pixelSize, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    return font;
}

void paintRoundedPanel(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
                       const Outline& outline) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = outline.width / 2;
    const QRectF shape = rect.adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(shape, radius, radius);
    painter.fillPath(path, fill);
    if (outline.width > 0) {
        QPen pen(outline.color, outline.width);
        if (outline.dashed) pen.setDashPattern({5 / outline.width, 5 / outline.width});
        painter.strokePath(path, pen);
    }
    painter.restore();
}

}  // namespace sorrelix::ui::style
