#include "folder_location.h"

#include <QDir>
#include <QFile>

namespace sorrelix::app {

QString folderPath(const QUrl& location) {
    QString path = location.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

QString standardizedFolderPath(const QUrl& location) {
    return QDir::cleanPath(folderPath(location));
}

std::string enginePath(const QUrl& location) {
    return QFile::encodeName(folderPath(location)).toStdString();
}

QUrl folderLocation(const QString& path) {
    return QUrl::fromLocalFile(path);
}

}  // namespace sorrelix::app
