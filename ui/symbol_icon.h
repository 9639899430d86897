#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace sorrelix::ui {

// The window names its symbols as the layout does ("folder.fill", "magnifyingglass"). Each
// maps to a freedesktop icon name, looked up in the desktop's icon theme (its "-symbolic"
// form first), with a bundled SVG (":/symbols/<name>.svg") where the theme has none.
QIcon symbolIcon(const QString& symbolName);

// The symbol painted in one colour, `pixelSize` logical pixels square, sharp on screens
// with a device-pixel ratio above 1. Monochrome, like the symbols it stands for.
QPixmap symbolPixmap(const QString& symbolName, int pixelSize, const QColor& color,
                     qreal devicePixelRatio = 1.0);

// The freedesktop name for a symbol; empty when none fits.
QString themeIconName(const QString& symbolName);

}  // namespace sorrelix::ui
