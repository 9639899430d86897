#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace sorrelix::tools {

// Saves pictures of one window as PNG files, with the window's open dialogs (an alert, for
// instance) drawn over it the way a desktop shows them.
class WindowCamera {
public:
    WindowCamera(QWidget& window, QString outputDir);

    // Writes <outputDir>/<name>.png; throws when it cannot.
    void shoot(const QString& name) const;
    // The window's open dialog, or null.
    QWidget* openDialog() const;

private:
    QPixmap withDialogOnTop(QPixmap shot, QWidget& dialog) const;

    QWidget& window_;
    QString outputDir_;
};

}  // namespace sorrelix::tools
