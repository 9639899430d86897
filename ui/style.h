#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>

class QPainter;

namespace sorrelix::ui::style {

// Accent colours of the window. They keep their hue in light and dark themes; everything
// else comes from the palette, so the window follows the desktop's theme.
QColor green();
QColor orange();
QColor blue();
QColor cyan();
QColor red();
QColor gray();

// The platform colours the layout is described in, taken from the widget's palette.
QColor controlBackground(const QPalette& palette);  // fields, lists, buttons
QColor windowBackground(const QPalette& palette);
QColor textBackground(const QPalette& palette);
QColor separator(const QPalette& palette);
QColor primaryText(const QPalette& palette);
QColor secondaryText(const QPalette& palette);

// The colour with its opacity multiplied by `opacity` (0..1).
QColor withAlpha(QColor color, qreal opacity);

// Sizes are device-independent pixels: a size of 13 is 13 logical pixels on every screen.
QFont systemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospacedFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);

struct Outline {
    QColor color;
    qreal width = 0;  // 0: no outline
    bool dashed = false;
};

// A rounded rectangle filled and outlined inside `rect`, so the line never leaves the rect.
void paintRoundedPanel(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
                       const Outline& outline = {});

}  // namespace sorrelix::ui::style
