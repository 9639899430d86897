#include "file_manager_reveal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>

namespace sorrelix::app {

FileManagerReveal::FileManagerReveal(QDBusConnection bus, FolderOpener fallback, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), fallback_(std::move(fallback)) {}

FileManagerReveal& FileManagerReveal::shared() {
    // Never destroyed: a reply may still be on its way while the process exits.
    static auto* instance =
        new FileManagerReveal(QDBusConnection::sessionBus(),
                              [](const QUrl& folder) { QDesktopServices::openUrl(folder); });
    return *instance;
}

void FileManagerReveal::showFolder(const QString& folderPath) {
    const QUrl folder = QUrl::fromLocalFile(folderPath);
    call("ShowFolders", folder, folder);
}

void FileManagerReveal::showItem(const QString& itemPath) {
    call("ShowItems", QUrl::fromLocalFile(itemPath),
         QUrl::fromLocalFile(QFileInfo(itemPath).absolutePath()));
}

namespace {
QUrl fileUrlOfRawPath(const QByteArray& path) {
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
}
}  // namespace

void FileManagerReveal::showItemAtRawPath(const QByteArray& itemPath) {
    const qsizetype slash = itemPath.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray("/") : itemPath.left(slash);
    call("ShowItems", fileUrlOfRawPath(itemPath), fileUrlOfRawPath(folder));
}

void FileManagerReveal::call(const char* method, const QUrl& item, const QUrl& fallbackFolder) {
    if (!bus_.isConnected()) {
        fallback_(fallbackFolder);
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
        QString::fromLatin1(kInterface), QString::fromLatin1(method));
    message << QStringList{item.toString(QUrl::FullyEncoded)} << QString();  // no startup id
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, fallbackFolder](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (finished->isError()) fallback_(fallbackFolder);
            });
}

}  // namespace sorrelix::app
