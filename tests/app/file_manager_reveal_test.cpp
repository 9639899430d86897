#include "file_manager_reveal.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <vector>

#include "app_state.h"
#include "app_test_support.h"
#include "file_tree.h"

namespace sorrelix::app {
namespace {

using testing::FileTree;
using testing::PrivateSessionBus;
using testing::waitUntil;

struct Call {
    QString method;
    QStringList uris;
    bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out) {
    *out << call.method.toStdString() << "(" << call.uris.join(',').toStdString() << ")";
}

// Stands in for the desktop's file browser on the private bus.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    std::vector<Call> calls;

public slots:
    void ShowFolders(const QStringList& uris, const QString& /*startupId*/) {
        calls.push_back({QStringLiteral("ShowFolders"), uris});
    }
    void ShowItems(const QStringList& uris, const QString& /*startupId*/) {
        calls.push_back({QStringLiteral("ShowItems"), uris});
    }
};

class FileManagerRevealTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrivateSessionBus::address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
    }

    void TearDown() override {
        if (service_) {
            service_->unregisterService(QString::fromLatin1(FileManagerReveal::kService));
            QDBusConnection::disconnectFromBus(service_->name());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("reveal-client"));
    }

    QDBusConnection client() {
        return QDBusConnection::connectToBus(PrivateSessionBus::address(),
                                             QStringLiteral("reveal-client"));
    }

    void startFileManager() {
        service_.emplace(QDBusConnection::connectToBus(PrivateSessionBus::address(),
                                                       QStringLiteral("fake-file-manager")));
        ASSERT_TRUE(service_->registerObject(QString::fromLatin1(FileManagerReveal::kObjectPath),
                                             &fileManager, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service_->registerService(QString::fromLatin1(FileManagerReveal::kService)));
    }

    FileManagerReveal reveal(std::vector<QUrl>& opened) {
        return {client(), [&opened](const QUrl& folder) { opened.push_back(folder); }};
    }

    FileTree tree;
    FakeFileManager fileManager;
    std::optional<QDBusConnection> service_;
};

TEST_F(FileManagerRevealTest, FoldersAndItemsReachTheFileManager) {
    startFileManager();
    tree.file("odd #name%/photo 1.jpg", "x");
    const QString folder = QString::fromStdString(tree.path("odd #name%"));
    std::vector<QUrl> opened;
    auto subject = reveal(opened);

    subject.showFolder(folder);
    subject.showItem(folder + QStringLiteral("/photo 1.jpg"));
    ASSERT_TRUE(waitUntil([this] { return fileManager.calls.size() == 2; }));
    const QString uri = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(uri.contains(QLatin1String("odd%20%23name%25")));
    EXPECT_EQ(fileManager.calls[0], (Call{"ShowFolders", {uri}}));
    EXPECT_EQ(fileManager.calls[1], (Call{"ShowItems", {uri + "/photo%201.jpg"}}));
    EXPECT_TRUE(opened.empty());
}

TEST_F(FileManagerRevealTest, OpenInFinderShowsTheFolderOnTheSessionBus) {
    startFileManager();
    AppState::shared().openInFinder(QUrl::fromLocalFile(QString::fromStdString(tree.root() + "/")));
    ASSERT_TRUE(waitUntil([this] { return !fileManager.calls.empty(); }));
    EXPECT_EQ(fileManager.calls[0],
              (Call{"ShowFolders",
                    {QUrl::fromLocalFile(QString::fromStdString(tree.root())).toString()}}));
}

TEST_F(FileManagerRevealTest, WithoutAFileManagerTheFolderIsOpened) {
    ASSERT_FALSE(client().interface()->isServiceRegistered(
        QString::fromLatin1(FileManagerReveal::kService)));
    tree.file("sub/file.txt", "x");
    std::vector<QUrl> opened;
    auto subject = reveal(opened);

    subject.showFolder(QString::fromStdString(tree.root()));
    subject.showItem(QString::fromStdString(tree.path("sub/file.txt")));
    ASSERT_TRUE(waitUntil([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(tree.root())));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(QString::fromStdString(tree.path("sub"))));
}

TEST(FileManagerRevealWithoutBus, OpensTheFolderAtOnce) {
    std::vector<QUrl> opened;
    FileManagerReveal subject(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                      QStringLiteral("no-bus")),
        [&opened](const QUrl& folder) { opened.push_back(folder); });
    subject.showItem(QStringLiteral("/srv/data/report.pdf"));
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(QStringLiteral("/srv/data"))});
    QDBusConnection::disconnectFromBus(QStringLiteral("no-bus"));
}

}  // namespace
}  // namespace sorrelix::app

#include "file_manager_reveal_test.moc"
