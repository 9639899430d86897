#include "sandbox_helper.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QSettings>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app_settings.h"
#include "app_test_support.h"
#include "file_tree.h"
#include "folder_bookmark.h"

namespace sorrelix::app {
namespace {

using testing::FileTree;
using testing::printedBy;
using testing::ScopedConfigHome;
using testing::urlOf;

// Answers the chooser with prepared folders and remembers how it was asked.
class ScriptedChooser : public FolderChooser {
public:
    ScriptedChooser(std::deque<std::optional<QUrl>>& answers, QStringList& asked)
        : answers_(answers), asked_(asked) {}

    std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories) override {
        asked_ << prompt + (canCreateDirectories ? "+create" : "");
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    std::deque<std::optional<QUrl>>& answers_;
    QStringList& asked_;
};

QVariant storedValue() {
    return text::openAppSettings()->value(SandboxHelper::kStoreKey);
}

QByteArray freshBookmark(const std::string& path) {
    return FolderBookmark::forFolder(QByteArray::fromStdString(path)).toBytes();
}

class SandboxHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        helper.setFolderChooser(std::make_unique<ScriptedChooser>(answers, asked));
    }
    void TearDown() override { helper.setFolderChooser(nullptr); }

    // Written behind the store's back, so into a settings file that nothing has read yet.
    static void writeStoreLine(const ScopedConfigHome& home, const std::string& line) {
        std::filesystem::create_directories(
            std::filesystem::path(home.settingsFile()).parent_path());
        std::ofstream(home.settingsFile()) << "[General]\n" << line << "\n";
    }

    ScopedConfigHome configHome;
    FileTree tree;
    SandboxHelper& helper = SandboxHelper::shared();
    std::deque<std::optional<QUrl>> answers;
    QStringList asked;
};

TEST_F(SandboxHelperTest, ChoosingAFolderAgainReplacesItsEntry) {
    tree.folder("Work/Photos");
    const std::string photos = tree.path("Work/Photos");
    answers = {urlOf(photos), urlOf(photos + "/")};
    EXPECT_EQ(helper.chooseFolder("Choose the source", true), urlOf(photos));
    std::filesystem::rename(photos, photos + ".old");
    tree.folder("Work/Photos");
    EXPECT_EQ(helper.chooseFolder("Choose the target", false), urlOf(photos + "/"));

    EXPECT_EQ(asked, (QStringList{"Choose the source+create", "Choose the target"}));
    const QVariantMap store = storedValue().toMap();
    EXPECT_EQ(store.keys(), QStringList{QString::fromStdString(photos)});
    EXPECT_EQ(store.value(QString::fromStdString(photos)).toByteArray(), freshBookmark(photos));
}

TEST_F(SandboxHelperTest, CancelledChooserRecordsNothing) {
    answers = {std::nullopt};
    EXPECT_EQ(helper.chooseFolder("Choose", true), std::nullopt);
    EXPECT_FALSE(storedValue().isValid());
}

TEST_F(SandboxHelperTest, BookmarkThatCannotBeMadeIsPrintedAndTheFolderStillReturned) {
    helper.saveBookmark(urlOf(tree.root()));
    const QVariant before = storedValue();
    const QUrl missing = urlOf(tree.path("missing folder"));
    answers = {missing};
    std::optional<QUrl> chosen;
    const std::string text = printedBy([&] { chosen = helper.chooseFolder("Choose", true); });
    EXPECT_EQ(chosen, missing);
    EXPECT_EQ(
        text.rfind("Failed to create bookmark for " + missing.toString().toStdString() + ": ", 0),
        0u)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_EQ(storedValue(), before);
}

TEST_F(SandboxHelperTest, StoreOfAnotherShapeIsReplacedAsAWhole) {
    tree.folder("a");
    const QString a = QString::fromStdString(tree.path("a"));
    const auto expectOnlyA = [&] {
        const QVariant value = storedValue();
        ASSERT_EQ(value.metaType(), QMetaType::fromType<QVariantMap>());
        EXPECT_EQ(value.toMap(), (QVariantMap{{a, freshBookmark(tree.path("a"))}}));
    };
    for (const char* line :
         {"SecurityScopedBookmarks=just text",
          "SecurityScopedBookmarks=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1bgarbage)",
          "SecurityScopedBookmarks=1, 2, 3"}) {
        SCOPED_TRACE(line);
        const ScopedConfigHome home;
        writeStoreLine(home, line);
        std::optional<QUrl> resolved;
        const std::string printed = printedBy([&] {
            resolved = helper.resolveBookmark(a);
            helper.saveBookmark(urlOf(tree.path("a")));
        });
        EXPECT_EQ(resolved, std::nullopt);
        EXPECT_EQ(printed, "");
        expectOnlyA();
    }
    // A dictionary holding anything but data counts as foreign too.
    text::openAppSettings()->setValue(SandboxHelper::kStoreKey,
                                      QVariantMap{{a, 42}, {"/other", QByteArray("x")}});
    EXPECT_EQ(helper.resolveBookmark(QStringLiteral("/other")), std::nullopt);
    helper.saveBookmark(urlOf(tree.path("a")));
    expectOnlyA();
}

TEST_F(SandboxHelperTest, ResolvingFindsTheRecordedFolder) {
    tree.folder("a b#c");
    const std::string folder = tree.path("a b#c");
    helper.saveBookmark(urlOf(folder));
    std::optional<QUrl> recorded, unknown;
    const std::string printed = printedBy([&] {
        recorded = helper.resolveBookmark(QString::fromStdString(folder));
        unknown = helper.resolveBookmark(QString::fromStdString(tree.path("never recorded")));
    });
    EXPECT_EQ(recorded, urlOf(folder));
    EXPECT_EQ(unknown, std::nullopt);
    EXPECT_EQ(printed, "");
}

TEST_F(SandboxHelperTest, StaleGrantIsRecordedAgain) {
    tree.folder("a");
    const std::string folder = tree.path("a");
    helper.saveBookmark(urlOf(folder));
    const QByteArray first =
        storedValue().toMap().value(QString::fromStdString(folder)).toByteArray();
    std::filesystem::rename(folder, folder + ".old");
    tree.folder("a");
    std::filesystem::remove(folder + ".old");

    EXPECT_EQ(helper.resolveBookmark(QString::fromStdString(folder)), urlOf(folder));
    const QByteArray second =
        storedValue().toMap().value(QString::fromStdString(folder)).toByteArray();
    EXPECT_NE(second, first);
    EXPECT_EQ(second, freshBookmark(folder));
}

TEST_F(SandboxHelperTest, UnresolvableGrantIsPrintedAndLeftInTheStore) {
    tree.folder("gone");
    helper.saveBookmark(urlOf(tree.path("gone")));
    std::filesystem::remove(tree.path("gone"));
    QVariantMap store = storedValue().toMap();
    store.insert(QStringLiteral("/corrupt"), QByteArray("\x01\x02 not a bookmark"));
    text::openAppSettings()->setValue(SandboxHelper::kStoreKey, store);

    for (const QString& path :
         {QString::fromStdString(tree.path("gone")), QStringLiteral("/corrupt")}) {
        std::optional<QUrl> resolved = QUrl();
        const std::string text = printedBy([&] { resolved = helper.resolveBookmark(path); });
        EXPECT_EQ(resolved, std::nullopt);
        EXPECT_EQ(text.rfind("Failed to resolve bookmark: ", 0), 0u) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    }
    EXPECT_EQ(storedValue().toMap(), store);
}

struct BlockFailure {
    int code;
};

TEST_F(SandboxHelperTest, AccessBracketsTheBlockOnEveryWayOut) {
    const QUrl folder = urlOf(tree.root());
    const int before = helper.activeAccessCount();
    const int inside = helper.access(folder, [&](const QUrl& given) {
        EXPECT_EQ(given, folder);
        return helper.activeAccessCount();
    });
    EXPECT_EQ(inside, before + 1);
    EXPECT_EQ(helper.activeAccessCount(), before);

    try {
        helper.access(folder, [](const QUrl&) -> int { throw BlockFailure{7}; });
        ADD_FAILURE() << "the block's error did not pass through";
    } catch (const BlockFailure& failure) {
        EXPECT_EQ(failure.code, 7);
    }
    EXPECT_EQ(helper.activeAccessCount(), before);
}

TEST(DialogFolderChooser, AsksForOneFolderWithThePrompt) {
    for (const bool canCreate : {true, false}) {
        QFileDialog dialog;
        DialogFolderChooser::configure(dialog, QStringLiteral("Choose the target"), canCreate);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
        EXPECT_EQ(dialog.testOption(QFileDialog::ReadOnly), !canCreate);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose the target"));
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QStringLiteral("Choose the target"));
    }
}

}  // namespace
}  // namespace sorrelix::app
