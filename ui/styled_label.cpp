#include "styled_label.h"

#include <QPalette>

namespace sorrelix::ui {

QLabel* styledLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    // Texts come from tables, file names and error descriptions: never markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

void tintText(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, color);
        palette.setColor(group, QPalette::ButtonText, color);
        palette.setColor(group, QPalette::Text, color);
    }
    widget.setPalette(palette);
}

}  // namespace sorrelix::ui
