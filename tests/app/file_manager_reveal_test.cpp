#include "file_manager_reveal.h"

#include <gtest/gtest.h>

#include "app_state.h"
#include "app_test_support.h"
#include "file_tree.h"

namespace sorrelix::app {
namespace {

using testing::fileUri;
using testing::PrivateSessionBus;
using testing::waitUntil;

class FileManagerRevealTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrivateSessionBus::address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
    }
    void TearDown() override { QDBusConnection::disconnectFromBus("reveal-client"); }

    // On the private bus, or on one that does not exist; the fallback opens nothing but logs.
    FileManagerReveal reveal(const QString& bus) {
        return {QDBusConnection::connectToBus(bus, "reveal-client"),
                [this](const QUrl& folder) { opened << folder.toString(); }};
    }

    QStringList opened;
};

TEST_F(FileManagerRevealTest, FoldersAndItemsReachTheFileManager) {
    testing::FakeFileManager fileManager;
    ASSERT_TRUE(fileManager.registered);
    const std::string folder = testing::FileTree().path("odd #name%");
    auto subject = reveal(PrivateSessionBus::address());
    subject.showFolder(QString::fromStdString(folder));
    subject.showItem(QString::fromStdString(folder + "/photo 1.jpg"));
    // The window's own reveal goes through the session bus, without the trailing slash.
    AppState::shared().openInFinder(testing::urlOf(folder + "/"));
    ASSERT_TRUE(waitUntil([&] { return fileManager.calls.size() == 3; }));
    EXPECT_EQ(fileManager.calls, (QStringList{"ShowFolders " + fileUri(folder),
                                              "ShowItems " + fileUri(folder + "/photo 1.jpg"),
                                              "ShowFolders " + fileUri(folder)}));
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
