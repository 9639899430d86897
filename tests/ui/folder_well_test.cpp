#include "folder_well.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLayout>
#include <QMimeData>
#include <QPushButton>
#include <QThreadPool>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <vector>

#include "app_settings.h"
#include "app_test_support.h"
#include "file_tree.h"
#include "loc.h"
#include "middle_elided_label.h"
#include "sandbox_helper.h"
#include "style.h"

namespace sorrelix::ui {
namespace {

using testing::urlOf;
using text::loc;

std::unique_ptr<QMimeData> urlData(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

constexpr Qt::DropActions kFileManagerActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// As the window system delivers a drop: Qt hands it only to a widget that took the drag.
bool dropOn(QWidget& target, const QMimeData& data, Qt::DropActions actions,
            Qt::DropAction* action = nullptr) {
    QDragEnterEvent enter(QPoint(20, 20), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(20, 20), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    if (action) *action = drop.dropAction();
    return drop.isAccepted();
}

// Lets every folder check finish and delivers what it sent back to the GUI thread.
void settle() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

QStringList storedGrants() {
    return text::openAppSettings()->value(app::SandboxHelper::kStoreKey).toMap().keys();
}

class FolderWellTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&well, &FolderWell::folderSelected,
                         [this](const QUrl& folder) { selected.push_back(folder); });
        QObject::connect(&well, &FolderWell::cleared, [this] { ++clearedCount; });
        well.resize(520, well.sizeHint().height());
        well.show();
    }

    QWidget& panel() { return *well.findChild<QWidget*>(QStringLiteral("panel")); }
    void show(const std::optional<QUrl>& folder) {
        well.setUrl(folder);
        QCoreApplication::sendPostedEvents();
        well.layout()->activate();
    }
    // Drags the data onto the panel, drops it there and tells whether the well took it.
    bool drop(const QMimeData& data, Qt::DropActions actions = kFileManagerActions) {
        return dropOn(panel(), data, actions, &lastDropAction);
    }
    template <typename Button>
    Button& button(const QString& name) {
        for (Button* candidate : well.findChildren<Button*>()) {
            if (candidate->isVisible() &&
                (candidate->accessibleName() == name || candidate->text() == name)) {
                return *candidate;
            }
        }
        throw std::runtime_error("no visible button " + name.toStdString());
    }
    const MiddleElidedLabel& label(const char* name) const {
        return *well.findChild<MiddleElidedLabel*>(name);
    }

    testing::ScopedConfigHome configHome;
    testing::FileTree tree;
    FolderWell well{QStringLiteral("Source"), QStringLiteral("FROM"), style::green(), false};
    std::vector<QUrl> selected;
    int clearedCount = 0;
    Qt::DropAction lastDropAction = Qt::IgnoreAction;
};

// As wide as in a window of 960 pixels, the well shows a usual name whole beside its volume:
// the change button is small, not as wide as the style makes dialog buttons.
TEST_F(FolderWellTest, FilledWellNamesTheFolderAndItsVolumeAndShortensALongPath) {
    tree.folder("Fotos 2024 ü");
    well.resize(415, well.height());
    show(urlOf(tree.path("Fotos 2024 ü")));
    EXPECT_EQ(label("name").displayedText(), QStringLiteral("Fotos 2024 ü"));
    EXPECT_EQ(label("path").text().toStdString(), tree.path("Fotos 2024 ü"));
    EXPECT_TRUE(well.findChild<QWidget*>("volume")->isVisible());
    const auto& change = button<QPushButton>(loc("change_folder"));
    EXPECT_LE(change.width(), change.fontMetrics().horizontalAdvance(change.text()) + 20);
    show(urlOf("/"));
    EXPECT_EQ(label("name").displayedText(), QStringLiteral("/"));

    // A long path loses its middle and never widens the well: a last component too long to keep
    // whole still fits, and the start stays.
    std::string deep = "/srv/archive";
    for (int level = 0; level < 40; ++level) deep += "/level-" + std::to_string(level);
    deep += "/" + std::string(200, 'x');
    well.resize(420, well.height());
    show(urlOf(deep));
    const MiddleElidedLabel& path = label("path");
    const QString shown = path.displayedText();
    EXPECT_TRUE(shown.startsWith("/srv/arch") && shown.endsWith("xxxx") && shown.contains("…"))
        << shown.toStdString();
    EXPECT_LE(path.fontMetrics().horizontalAdvance(shown), path.width());
    EXPECT_LT(well.minimumSizeHint().width(), 420);
    EXPECT_EQ(path.toolTip().toStdString(), deep);
}

// The owner, not the well, decides what a choice means: the buttons only report, but for
// copy, which leaves exactly the path on the clipboard.
TEST_F(FolderWellTest, ButtonsReportOrCopyAndAreExplained) {
    tree.folder("Fotos 2024 ü");
    const QUrl folder = urlOf(tree.path("Fotos 2024 ü"));
    testing::ScriptedChooser chooser({folder, std::nullopt});
    button<QPushButton>(loc("choose_folder")).click();
    EXPECT_EQ(selected, std::vector{folder});
    EXPECT_FALSE(well.url());
    show(urlOf(tree.path("Fotos 2024 ü") + "/"));
    button<QPushButton>(loc("change_folder")).click();
    EXPECT_EQ(selected.size(), 1u) << "a cancelled chooser reports nothing";
    EXPECT_EQ(chooser.asked, QStringList({"Source+create", "Source+create"}));

    // Icon-only buttons must be explained to sighted and blind users alike.
    for (const QToolButton* action : well.findChildren<QToolButton*>()) {
        EXPECT_FALSE(action->toolTip().isEmpty());
        EXPECT_EQ(action->accessibleName(), action->toolTip());
    }
    auto earlier = std::make_unique<QMimeData>();
    earlier->setHtml(QStringLiteral("<b>earlier</b>"));
    QGuiApplication::clipboard()->setMimeData(earlier.release());
    button<QToolButton>(loc("copy_path")).click();
    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(held->formats(), QStringList{QStringLiteral("text/plain")});
    EXPECT_EQ(held->text().toStdString(), tree.path("Fotos 2024 ü"));
    button<QToolButton>(loc("clear")).click();
    EXPECT_EQ(clearedCount, 1);
    EXPECT_EQ(well.url(), urlOf(tree.path("Fotos 2024 ü") + "/"));
}

// A filled well reports a drop too, and keeps showing its folder until told otherwise.
TEST_F(FolderWellTest, DropSelectsTheFirstItemOnlyWhenItIsAnExistingFolderReference) {
    for (const char* folder : {"A", "B", "C", "gone", "caf\xe9", "caf\xef\xbf\xbd"}) {
        tree.folder(folder);
    }
    std::filesystem::remove(tree.path("gone"));
    tree.file("notes.txt", "text");
    tree.symlink("link", "A");
    tree.symlink("dangling", "missing");
    // The decoded form of the undecodable name exists too: it must not be chosen instead.
    const QByteArray root = QByteArray::fromStdString(tree.root()).toPercentEncoding("/");
    const auto at = [this](const char* name) { return urlOf(tree.path(name)); };
    show(at("C"));
    const struct {
        const char* what;
        QList<QUrl> urls;
        std::optional<std::string> chosen;
    } cases[] = {
        {"a file", {at("notes.txt")}, std::nullopt},
        {"three folders", {at("A"), at("B"), at("C")}, tree.path("A")},
        {"a file before a folder", {at("notes.txt"), at("B")}, std::nullopt},
        {"a folder that vanished", {at("gone")}, std::nullopt},
        {"a link to a folder", {at("link")}, tree.path("link")},
        {"a dangling link", {at("dangling")}, std::nullopt},
        {"a name that is not UTF-8",
         {QUrl::fromEncoded("file://" + root + "/caf%E9")},
         std::nullopt},
        {"a trailing slash", {QUrl::fromEncoded("file://" + root + "/A/")}, tree.path("A")},
        {"a web address", {QUrl(QStringLiteral("https://example.com/A"))}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        selected.clear();
        text::openAppSettings()->remove(app::SandboxHelper::kStoreKey);
        EXPECT_TRUE(drop(*urlData(c.urls)));
        settle();
        const std::vector<QUrl> chosen =
            c.chosen ? std::vector{urlOf(*c.chosen)} : std::vector<QUrl>{};
        EXPECT_EQ(selected, chosen);
        EXPECT_EQ(storedGrants(),
                  c.chosen ? QStringList{QString::fromStdString(*c.chosen)} : QStringList{});
        EXPECT_EQ(well.url(), at("C"));
    }

    // Only references are taken, never as a move, which could make the drag source delete
    // the dropped folder.
    QMimeData plainText, emptyList;
    plainText.setText(QString::fromStdString(tree.path("A")));
    emptyList.setData(QStringLiteral("text/uri-list"), "");
    EXPECT_FALSE(drop(plainText) || drop(emptyList));
    EXPECT_FALSE(drop(*urlData({at("A")}), Qt::MoveAction));
    EXPECT_TRUE(drop(*urlData({at("A")}), Qt::MoveAction | Qt::CopyAction));
    EXPECT_EQ(lastDropAction, Qt::CopyAction);
    settle();
}

TEST_F(FolderWellTest, WellClosedBeforeTheFolderCheckAnswersIsLeftAlone) {
    tree.folder("A");
    auto doomed = std::make_unique<FolderWell>("Target", "TO", style::blue(), true);
    int reports = 0;
    QObject::connect(doomed.get(), &FolderWell::folderSelected, [&reports] { ++reports; });
    ASSERT_TRUE(dropOn(*doomed->findChild<QWidget*>(QStringLiteral("panel")),
                       *urlData({urlOf(tree.path("A"))}), kFileManagerActions));
    doomed.reset();
    settle();
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(storedGrants().isEmpty());
}

}  // namespace
}  // namespace sorrelix::ui
