#pragma once

#include <QString>
#include <QUrl>
#include <string>

namespace sorrelix::app {

// A folder location is a file URL. Its path is the absolute local path without a trailing
// "/" (the root stays "/"); that path keys the grant store and is compared as a string.
QString folderPath(const QUrl& location);

// The path with "." components removed and ".." resolved lexically against the component
// before them (symbolic links are not followed).
QString standardizedFolderPath(const QUrl& location);

// The path as the raw bytes the engine works on.
std::string enginePath(const QUrl& location);

QUrl folderLocation(const QString& path);

}  // namespace sorrelix::app
