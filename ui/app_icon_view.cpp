#include "app_icon_view.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <QtMath>
#include <utility>

namespace sorrelix::ui {

namespace {

// Loads the SVG when there is one; a missing file is the expected case, not a warning.
bool loadPicture(QSvgRenderer& renderer, const QString& path) {
    return QFile::exists(path) && renderer.load(path);
}

QRectF fitted(QSizeF image, const QRectF& frame) {
    image.scale(frame.size(), Qt::KeepAspectRatio);
    QRectF rect(QPointF(), image);
    rect.moveCenter(frame.center());
    return rect;
}

}  // namespace

AppIconView::AppIconView(qreal size, QWidget* parent)
    : AppIconView(size, QString::fromLatin1(kIconResource), parent) {}

AppIconView::AppIconView(qreal size, QString picturePath, QWidget* parent)
    : QWidget(parent), size_(size), picturePath_(std::move(picturePath)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool AppIconView::hasImage() const {
    QSvgRenderer picture;
    return loadPicture(picture, picturePath_) || !QGuiApplication::windowIcon().isNull();
}

QSize AppIconView::sizeHint() const {
    if (!hasImage()) return {0, 0};
    const int side = qCeil(size_);
    return {side, side};
}

QSize AppIconView::minimumSizeHint() const {
    return sizeHint();
}

void AppIconView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QRectF frame(0, 0, size_, size_);
    frame.moveCenter(QRectF(rect()).center());

    QSvgRenderer picture;
    if (loadPicture(picture, picturePath_)) {
        picture.setAspectRatioMode(Qt::KeepAspectRatio);
        picture.render(&painter, frame);
        return;
    }
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull()) return;
    const qreal ratio = devicePixelRatioF();
    const int side = qCeil(size_);
    const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
    if (pixmap.isNull()) return;
    // The icon's largest picture may be smaller than the frame: scale it up, keeping its shape.
    painter.drawPixmap(fitted(pixmap.deviceIndependentSize(), frame), pixmap,
                       QRectF(pixmap.rect()));
}

}  // namespace sorrelix::ui
