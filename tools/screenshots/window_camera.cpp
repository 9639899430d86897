#include "window_camera.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <stdexcept>

namespace sorrelix::tools {
namespace {

// Highest zlib level: the pictures are committed.
constexpr int kSmallestPng = 0;
constexpr int kShadowSteps = 6;
constexpr int kTitleBarHeight = 28;

}  // namespace

WindowCamera::WindowCamera(QWidget& window, QString outputDir)
    : window_(window), outputDir_(std::move(outputDir)) {}

QWidget* WindowCamera::openDialog() const {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != &window_ && widget->isVisible() && qobject_cast<QDialog*>(widget) &&
            widget->parentWidget() && widget->parentWidget()->window() == &window_) {
            return widget;
        }
    }
    return nullptr;
}

void WindowCamera::shoot(const QString& name) const {
    QPixmap shot = window_.grab();
    if (QWidget* dialog = openDialog()) shot = withDialogOnTop(shot, *dialog);
    if (!QDir().mkpath(outputDir_)) {
        throw std::runtime_error("cannot create " + outputDir_.toStdString());
    }
    const QString path = QDir(outputDir_).filePath(name + QStringLiteral(".png"));
    if (!shot.save(path, "PNG", kSmallestPng)) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
    std::fflush(stdout);
}

// A window-modal dialog sits centred over its window, which dims behind it; the offscreen
// platform draws no window frames, so the dialog gets a plain title bar here.
QPixmap WindowCamera::withDialogOnTop(QPixmap shot, QWidget& dialog) const {
    const QPixmap picture = dialog.grab();
    const QSize windowSize = window_.size();
    const QSize frameSize(dialog.width(), dialog.height() + kTitleBarHeight);
    const QPoint origin((windowSize.width() - frameSize.width()) / 2,
                        (windowSize.height() - frameSize.height()) / 3);
    const QRect frame(origin, frameSize);
    const QRect titleBar(origin, QSize(frameSize.width(), kTitleBarHeight));

    QPainter painter(&shot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), windowSize), QColor(0, 0, 0, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 10));
    for (int step = kShadowSteps; step > 0; --step) {
        painter.drawRoundedRect(frame.adjusted(-step, -step + 2, step, step + 2), step + 4,
                                step + 4);
    }
    painter.fillRect(titleBar, dialog.palette().color(QPalette::Window).darker(108));
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(dialog.palette().color(QPalette::WindowText));
    painter.drawText(titleBar, Qt::AlignCenter, dialog.windowTitle());
    painter.drawPixmap(origin + QPoint(0, kTitleBarHeight), picture);
    painter.setPen(QPen(QColor(0, 0, 0, 70), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    return shot;
}

}  // namespace sorrelix::tools
