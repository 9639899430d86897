#include "rounded_panel.h"

#include <QPainter>

namespace sorrelix::ui {

RoundedPanel::RoundedPanel(qreal radius, QWidget* parent) : QWidget(parent), radius_(radius) {}

void RoundedPanel::setOutline(const style::Outline& outline) {
    outline_ = outline;
    update();
}

void RoundedPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style::paintRoundedPanel(painter, QRectF(rect()), radius_, style::controlBackground(palette()),
                             outline_);
}

}  // namespace sorrelix::ui
