#include "sandbox_helper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app_settings.h"
#include "app_test_support.h"
#include "file_tree.h"
#include "folder_bookmark.h"

namespace sorrelix::app {
namespace {

using testing::urlOf;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

QVariantMap storedGrants() {
    return text::openAppSettings()->value(SandboxHelper::kStoreKey).toMap();
}

QVariantMap freshGrant(const std::string& path) {
    const auto bookmark = FolderBookmark::forFolder(QByteArray::fromStdString(path));
    return {{QString::fromStdString(path), bookmark.toBytes()}};
}

class SandboxHelperTest : public ::testing::Test {
protected:
    testing::ScopedConfigHome configHome;
    testing::FileTree tree;
    SandboxHelper& helper = SandboxHelper::shared();
    testing::ScriptedChooser chooser{{}};
};

// One grant per folder path: choosing the folder again (a new one at the path) replaces it. A
// grant that cannot be made is printed, and the folder still returned.
TEST_F(SandboxHelperTest, ChoosingAFolderRecordsItsGrant) {
    tree.folder("Photos");
    const std::string photos = tree.path("Photos");
    const QUrl missing = urlOf(tree.path("missing folder"));
    chooser.answers = {std::nullopt, urlOf(photos), urlOf(photos + "/"), missing};
    EXPECT_EQ(helper.chooseFolder("Choose the source", true), std::nullopt);
    EXPECT_TRUE(storedGrants().isEmpty());
    EXPECT_EQ(helper.chooseFolder("Choose the source", true), urlOf(photos));
    std::filesystem::rename(photos, photos + ".old");
    tree.folder("Photos");
    EXPECT_EQ(helper.chooseFolder("Choose the target", false), urlOf(photos + "/"));
    CaptureStdout();  // assertions only once the capture ends, lest they be captured
    const std::optional<QUrl> chosen = helper.chooseFolder("Choose", true);
    const std::string printed = GetCapturedStdout();
    EXPECT_EQ(chosen, missing);
    EXPECT_TRUE(printed.starts_with("Failed to create bookmark for " +
                                    missing.toString().toStdString() + ": "))
        << printed;
    EXPECT_EQ(chooser.asked, (QStringList{"Choose the source+create", "Choose the source+create",
                                          "Choose the target", "Choose+create"}));
    EXPECT_EQ(storedGrants(), freshGrant(photos));
}

// A grant of a folder replaced since is recorded again; unknown paths resolve to nothing. A
// grant of a folder gone, or bytes that are no grant, are printed and left in the store.
TEST_F(SandboxHelperTest, ResolvingFindsTheRecordedFolder) {
    tree.folder("a b#c");
    const std::string folder = tree.path("a b#c");
    helper.saveBookmark(urlOf(folder));
    CaptureStdout();
    const auto recorded = helper.resolveBookmark(QString::fromStdString(folder));
    const auto unknown = helper.resolveBookmark(QString::fromStdString(tree.path("other")));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(recorded, urlOf(folder));
    EXPECT_EQ(unknown, std::nullopt);

    std::filesystem::rename(folder, tree.path("old"));
    tree.folder("a b#c");
    EXPECT_EQ(helper.resolveBookmark(QString::fromStdString(folder)), urlOf(folder));
    EXPECT_EQ(storedGrants(), freshGrant(folder));

    std::filesystem::remove(folder);
    QVariantMap store = storedGrants();
    store.insert(QStringLiteral("/corrupt"), QByteArray("\x01\x02 not a bookmark"));
    text::openAppSettings()->setValue(SandboxHelper::kStoreKey, store);
    for (const QString& path : {QString::fromStdString(folder), QString("/corrupt")}) {
        CaptureStdout();
        const auto resolved = helper.resolveBookmark(path);
        const std::string printed = GetCapturedStdout();
        EXPECT_EQ(resolved, std::nullopt);
        EXPECT_TRUE(printed.starts_with("Failed to resolve bookmark: ")) << printed;
    }
    EXPECT_EQ(storedGrants(), store);
}

// A store of any other shape (written by hand, say) counts as empty and is replaced by the next
// grant as a whole; so is a map that holds anything but grant bytes.
TEST_F(SandboxHelperTest, AStoreOfAnotherShapeIsReplaced) {
    tree.folder("a");
    const std::string a = tree.path("a");
    const QVariantMap notOnlyGrants = {{"/other", 42}, {"/more", QByteArray("x")}};
    for (const QVariant& foreign : {QVariant("just text"), QVariant(notOnlyGrants)}) {
        text::openAppSettings()->setValue(SandboxHelper::kStoreKey, foreign);
        helper.saveBookmark(urlOf(a));
        EXPECT_EQ(storedGrants(), freshGrant(a));
    }
}

struct BlockFailure {};

TEST_F(SandboxHelperTest, AccessBracketsTheBlockOnEveryWayOut) {
    const QUrl folder = urlOf(tree.root());
    const int before = helper.activeAccessCount();
    const int inside = helper.access(folder, [&](const QUrl& given) {
        EXPECT_EQ(given, folder);
        return helper.activeAccessCount();
    });
    EXPECT_EQ(inside, before + 1);
    EXPECT_EQ(helper.activeAccessCount(), before);
    EXPECT_THROW(helper.access(folder, [](const QUrl&) -> int { throw BlockFailure{}; }),
                 BlockFailure);
    EXPECT_EQ(helper.activeAccessCount(), before);
}

}  // namespace
}  // namespace sorrelix::app
