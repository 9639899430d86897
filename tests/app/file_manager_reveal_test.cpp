#include "file_manager_reveal.h"

#include <gtest/gtest.h>

#include <QDBusConnection>

#include "app_state.h"
#include "app_test_support.h"
#include "file_tree.h"

namespace sorrelix::app {
namespace {

using testing::FileTree;
using testing::PrivateSessionBus;
using testing::waitUntil;

// Stands in for the desktop's file browser on the private bus; logs each call as
// "Method uri...".
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList calls;

public slots:
    void ShowFolders(const QStringList& uris, const QString&) {
        calls << "ShowFolders " + uris.join(' ');
    }
    void ShowItems(const QStringList& uris, const QString&) {
        calls << "ShowItems " + uris.join(' ');
    }
};

class FileManagerRevealTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrivateSessionBus::address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
    }
    void TearDown() override {
        service.unregisterService(FileManagerReveal::kService);
        for (const char* name : {"reveal-client", "fake-file-manager"}) {
            QDBusConnection::disconnectFromBus(name);
        }
    }

    // On the private bus, or on one that does not exist; the fallback opens nothing but logs.
    FileManagerReveal reveal(const QString& bus) {
        return {QDBusConnection::connectToBus(bus, "reveal-client"),
                [this](const QUrl& folder) { opened << folder.toString(); }};
    }

    FileTree tree;
    FakeFileManager fileManager;
    QDBusConnection service =
        QDBusConnection::connectToBus(PrivateSessionBus::address(), "fake-file-manager");
    QStringList opened;
};

TEST_F(FileManagerRevealTest, FoldersAndItemsReachTheFileManager) {
    ASSERT_TRUE(service.registerObject(FileManagerReveal::kObjectPath, &fileManager,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(FileManagerReveal::kService));
    const QString folder = QString::fromStdString(tree.path("odd #name%"));
    auto subject = reveal(PrivateSessionBus::address());
    subject.showFolder(folder);
    subject.showItem(folder + "/photo 1.jpg");
    // The window's own reveal goes through the session bus, without the trailing slash.
    AppState::shared().openInFinder(QUrl::fromLocalFile(folder + "/"));
    ASSERT_TRUE(waitUntil([this] { return fileManager.calls.size() == 3; }));
    const QString uri = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(uri.endsWith("odd%20%23name%25"));
    EXPECT_EQ(fileManager.calls,
              (QStringList{"ShowFolders " + uri, "ShowItems " + uri + "/photo%201.jpg",
                           "ShowFolders " + uri}));
    EXPECT_EQ(opened, QStringList{});
}

// Without a file manager on the bus, or without a bus, the item's folder is opened instead.
TEST_F(FileManagerRevealTest, WithoutAFileManagerTheFolderIsOpened) {
    for (const QString& bus : {PrivateSessionBus::address(), QString("unix:path=/nonexistent")}) {
        auto subject = reveal(bus);
        subject.showFolder(QStringLiteral("/srv/data"));
        subject.showItem(QStringLiteral("/srv/data/report.pdf"));
        ASSERT_TRUE(waitUntil([this] { return opened.size() == 2; }));
        EXPECT_EQ(opened, (QStringList{"file:///srv/data", "file:///srv/data"}));
        opened.clear();
        QDBusConnection::disconnectFromBus("reveal-client");
    }
}

}  // namespace
}  // namespace sorrelix::app

#include "file_manager_reveal_test.moc"
