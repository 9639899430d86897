#pragma once

#include <QDBusConnection>
#include <QDesktopServices>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app_state.h"
#include "merge_session_record.h"

namespace sorrelix::testing {

class FileTree;

// The folder location of a path, as the window and the state hold folders.
inline QUrl urlOf(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

// The address the desktop is given for a local path: its bytes, percent-encoded.
QString fileUri(const std::string& path);

// Spins the event loop until the condition holds; false after a generous minute.
bool waitUntil(const std::function<bool()>& condition);
// The same, until no analysis, merge or undo of the state runs.
bool waitUntilIdle(const app::AppState& state);
// Chooses the pair and waits for the end of its comparison.
bool analyzePair(app::AppState& state, const std::string& source, const std::string& target);

// Merges with the real engine; any other outcome is written to the history as a stopped,
// failed or killed merge leaves its record.
engine::MergeSessionRecord mergeNow(const FileTree& from, const FileTree& into,
                                    engine::MergeOutcome outcome = engine::MergeOutcome::completed);

// A dbus-daemon of our own, started before Qt opens a session bus, so that desktop calls of
// the code under test reach a bus that the test controls and never the developer's desktop.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when dbus-daemon is not installed or did not start.
    static const QString& address() { return address_; }

private:
    inline static QString address_;
    std::unique_ptr<QProcess> daemon_;
};

// Stands in for the desktop's file browser on the private bus while it lives; notes each call
// as "Method uri...".
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    FakeFileManager();
    ~FakeFileManager() override;

    // The next call noted; empty when none comes.
    QString next() {
        return waitUntil([this] { return calls.size() > taken_; }) ? calls[taken_++] : QString();
    }

    bool registered = false;
    QStringList calls;

public slots:
    void ShowFolders(const QStringList& uris, const QString&) {
        calls << "ShowFolders " + uris.join(' ');
    }
    void ShowItems(const QStringList& uris, const QString&) {
        calls << "ShowItems " + uris.join(' ');
    }

private:
    QDBusConnection bus_;
    qsizetype taken_ = 0;
};

// Catches, while it lives, the addresses of one scheme that the code asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QString& scheme) : scheme_(scheme) {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }

    // The next address asked for; empty when none comes.
    QUrl next() {
        return waitUntil([this] { return opened.size() > taken_; }) ? opened[taken_++] : QUrl();
    }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }

private:
    QString scheme_;
    qsizetype taken_ = 0;
};

// Answers the folder chooser from a script while it lives, and notes each prompt, with
// "+create" where the chooser may create folders.
class ScriptedChooser {
public:
    explicit ScriptedChooser(std::deque<std::optional<QUrl>> answers);
    ~ScriptedChooser();
    ScriptedChooser(const ScriptedChooser&) = delete;
    ScriptedChooser& operator=(const ScriptedChooser&) = delete;

    QStringList asked;
    std::deque<std::optional<QUrl>> answers;
};

}  // namespace sorrelix::testing
