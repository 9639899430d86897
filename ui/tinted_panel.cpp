#include "tinted_panel.h"

#include <QPainter>
#include <utility>

#include "style.h"

namespace sorrelix::ui {

TintedPanel::TintedPanel(PanelLook look, QWidget* parent)
    : QWidget(parent), look_(std::move(look)) {}

void TintedPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPalette& colors = palette();
    style::Outline outline;
    if (look_.outline) {
        outline = {look_.outline(colors), look_.outlineWidth, look_.dashed};
    }
    const QColor fill = look_.fill ? look_.fill(colors) : QColor(Qt::transparent);
    style::paintRoundedPanel(painter, QRectF(rect()), look_.radius, fill, outline);
}

PanelLook::Paint controlBackgroundAt(qreal opacity) {
    return [opacity](const QPalette& colors) {
        return style::withAlpha(style::controlBackground(colors), opacity);
    };
}

PanelLook::Paint separatorAt(qreal opacity) {
    return [opacity](const QPalette& colors) {
        return style::withAlpha(style::separator(colors), opacity);
    };
}

PanelLook::Paint fixedColor(const QColor& color, qreal opacity) {
    return
        [color, opacity](const QPalette& /*colors*/) { return style::withAlpha(color, opacity); };
}

}  // namespace sorrelix::ui
