#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

namespace sorrelix::ui {

// A label in the given font; its text colour is the palette's unless tinted.
QLabel* styledLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);

// Paints the widget's text (labels, button captions) in the colour, transparency included.
void tintText(QWidget& widget, const QColor& color);

}  // namespace sorrelix::ui
