#include "about_panel.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "sorrelix_version.h"
#include "style.h"
#include "web_pages.h"

namespace sorrelix::ui {

namespace {

QPointer<QMessageBox>& openPanel() {
    static QPointer<QMessageBox> panel;
    return panel;
}

// The secondary text colour blended onto the window, since rich text has no transparency.
QString creditsColor(const QPalette& palette) {
    const QColor text = style::secondaryText(palette);
    const QColor window = style::windowBackground(palette);
    const qreal a = text.alphaF();
    const QColor blended = QColor::fromRgbF(text.redF() * a + window.redF() * (1 - a),
                                            text.greenF() * a + window.greenF() * (1 - a),
                                            text.blueF() * a + window.blueF() * (1 - a));
    return blended.name();
}

QString aboutText(const QPalette& palette) {
    // The built-in version, not the application's, which the process entry may leave unset.
    QString text = QStringLiteral("<p style=\"font-size:15px; font-weight:bold\">%1</p>")
                       .arg(QApplication::applicationName().toHtmlEscaped());
    text += QStringLiteral("<p>" SORRELIX_VERSION "</p>");
    text += QStringLiteral(
                "<p style=\"font-size:11px; color:%1\">Sorrelix 2.0 Native<br>"
                "100% Offline APFS Folder Sync<br>%2</p>")
                .arg(creditsColor(palette), QString::fromLatin1(kWebsiteAddress));
    return text;
}

}  // namespace

QMessageBox* showAboutPanel(QWidget* parent) {
    QPointer<QMessageBox>& panel = openPanel();
    if (!panel) {
        // Parented to the window, not to content that is rebuilt on a language change.
        QWidget* owner = parent ? parent->window() : nullptr;
        panel = new QMessageBox(owner);
        panel->setAttribute(Qt::WA_DeleteOnClose);
        panel->setWindowModality(Qt::NonModal);
        panel->setWindowTitle(QStringLiteral("About Sorrelix"));
        panel->setTextFormat(Qt::RichText);
        panel->setText(aboutText(panel->palette()));
        const QIcon icon = QApplication::windowIcon();
        if (!icon.isNull()) panel->setIconPixmap(icon.pixmap(64, 64));
        panel->setStandardButtons(QMessageBox::Ok);
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
    return panel;
}

}  // namespace sorrelix::ui
