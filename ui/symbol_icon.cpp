#include "symbol_icon.h"

#include <QHash>
#include <QPainter>

namespace sorrelix::ui {

QString themeIconName(const QString& symbolName) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("folder"), QStringLiteral("folder")},
        {QStringLiteral("folder.fill"), QStringLiteral("folder")},
        {QStringLiteral("folder.badge.gearshape"), QStringLiteral("folder-templates")},
        {QStringLiteral("tray.and.arrow.down"), QStringLiteral("document-save")},
        {QStringLiteral("square.and.arrow.down"), QStringLiteral("document-import")},
        {QStringLiteral("arrow.up.forward.square"), QStringLiteral("document-open")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("edit-copy")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("edit-clear")},
        {QStringLiteral("arrow.left.arrow.right"), QStringLiteral("object-flip-horizontal")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
        {QStringLiteral("arrow.triangle.merge"), QStringLiteral("vcs-merge")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("edit-find")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("emblem-ok")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select")},
        {QStringLiteral("sparkles"), QStringLiteral("starred")},
        {QStringLiteral("gearshape"), QStringLiteral("preferences-system")},
    };
    return names.value(symbolName);
}

namespace {
QString bundledPath(const QString& symbolName) {
    return QStringLiteral(":/symbols/%1.svg").arg(symbolName);
}

QString symbolicThemeName(const QString& symbolName) {
    const QString name = themeIconName(symbolName);
    if (name.isEmpty()) return {};
    const QString symbolic = name + QStringLiteral("-symbolic");
    return QIcon::hasThemeIcon(symbolic) ? symbolic : QString();
}
}  // namespace

QIcon symbolIcon(const QString& symbolName) {
    if (const QString symbolic = symbolicThemeName(symbolName); !symbolic.isEmpty()) {
        return QIcon::fromTheme(symbolic);
    }
    const QString name = themeIconName(symbolName);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    return QIcon(bundledPath(symbolName));
}

QPixmap symbolPixmap(const QString& symbolName, int pixelSize, const QColor& color,
                     qreal devicePixelRatio) {
    // Tinting needs a monochrome drawing: a theme's symbolic icon, else the bundled one. A
    // full-colour theme icon would turn into a blot.
    const QString symbolic = symbolicThemeName(symbolName);
    const QIcon icon =
        symbolic.isEmpty() ? QIcon(bundledPath(symbolName)) : QIcon::fromTheme(symbolic);
    QPixmap pixmap = icon.pixmap(QSize(pixelSize, pixelSize), devicePixelRatio);
    if (pixmap.isNull()) return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

}  // namespace sorrelix::ui
