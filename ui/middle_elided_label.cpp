#include "middle_elided_label.h"

#include <QEvent>
#include <QPainter>

namespace sorrelix::ui {

QString elidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    const qsizetype cut = text.lastIndexOf(QLatin1Char('/'));
    if (cut > 0) {
        const QString tail = text.mid(cut);
        const QString head = metrics.elidedText(text.left(cut), Qt::ElideRight,
                                                width - metrics.horizontalAdvance(tail));
        // elidedText gives an empty text, or the ellipsis alone, when nothing of the head fits.
        if (head.size() > 1) return head + tail;
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

MiddleElidedLabel::MiddleElidedLabel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void MiddleElidedLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    refresh();
    updateGeometry();
}

QSize MiddleElidedLabel::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(text_), metrics.height());
}

QSize MiddleElidedLabel::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(QChar(0x2026)), metrics.height());
}

void MiddleElidedLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, displayed_);
}

void MiddleElidedLabel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

void MiddleElidedLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        refresh();
        updateGeometry();
    }
}

void MiddleElidedLabel::refresh() {
    displayed_ = elidePathInMiddle(text_, fontMetrics(), width());
    // The whole text stays reachable when the line shows only part of it.
    setToolTip(displayed_ == text_ ? QString() : text_);
    update();
}

}  // namespace sorrelix::ui
