#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>

namespace sorrelix::testing {

// The folder location of a path, as the window and the state hold folders.
inline QUrl urlOf(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

// Spins the event loop until the condition holds; false after a generous minute.
bool waitUntil(const std::function<bool()>& condition);

// A dbus-daemon of our own, started before Qt opens a session bus, so that desktop calls of
// the code under test reach a bus that the test controls and never the developer's desktop.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when dbus-daemon is not installed or did not start.
    static const QString& address();

private:
    std::unique_ptr<QProcess> daemon_;
};

}  // namespace sorrelix::testing
