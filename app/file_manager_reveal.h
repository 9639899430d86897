#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

namespace sorrelix::app {

// Shows folders and files in the desktop's file browser through the org.freedesktop.
// FileManager1 D-Bus service. When no such service answers (or there is no session bus), the
// folder is opened in the desktop's default application instead. Calls are asynchronous: the
// GUI thread never waits for the file browser.
class FileManagerReveal : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kService = "org.freedesktop.FileManager1";
    static constexpr const char* kObjectPath = "/org/freedesktop/FileManager1";
    static constexpr const char* kInterface = "org.freedesktop.FileManager1";

    using FolderOpener = std::function<void(const QUrl& folder)>;

    FileManagerReveal(QDBusConnection bus, FolderOpener fallback, QObject* parent = nullptr);

    // On the session bus, falling back to QDesktopServices; create it on the GUI thread.
    static FileManagerReveal& shared();

    // A browser window at the folder, with nothing selected.
    void showFolder(const QString& folderPath);
    // A browser window at the item's folder, with the item selected.
    void showItem(const QString& itemPath);
    // The same for a path as the file system's raw bytes, which need not be valid UTF-8:
    // a QString would carry such a name as replacement characters, naming another file.
    void showItemAtRawPath(const QByteArray& itemPath);

private:
    void call(const char* method, const QUrl& item, const QUrl& fallbackFolder);

    QDBusConnection bus_;
    FolderOpener fallback_;
};

}  // namespace sorrelix::app
