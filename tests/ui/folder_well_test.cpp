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
#include "app_state.h"
#include "app_test_support.h"
#include "file_tree.h"
#include "loc.h"
#include "middle_elided_label.h"
#include "sandbox_helper.h"
#include "style.h"

namespace sorrelix::ui {
namespace {

using testing::FileTree;
using testing::ScopedConfigHome;
using testing::urlOf;
using text::loc;

std::unique_ptr<QMimeData> uriList(const QByteArray& lines) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), lines);
    return data;
}

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

class ScriptedChooser : public app::FolderChooser {
public:
    ScriptedChooser(std::vector<std::optional<QUrl>> answers, QStringList& asked)
        : answers_(std::move(answers)), asked_(asked) {}

    std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories) override {
        asked_ << prompt + (canCreateDirectories ? "+create" : "");
        std::optional<QUrl> answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    }

private:
    std::vector<std::optional<QUrl>> answers_;
    QStringList& asked_;
};

class FolderWellTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&well, &FolderWell::folderSelected,
                         [this](const QUrl& folder) { selected.push_back(folder); });
        QObject::connect(&well, &FolderWell::cleared, [this] { ++clearedCount; });
        well.resize(520, well.sizeHint().height());
        well.show();
    }
    void TearDown() override { app::SandboxHelper::shared().setFolderChooser(nullptr); }

    QWidget& panel() { return *well.findChild<QWidget*>(QStringLiteral("panel")); }

    void layOut() {
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

    static QStringList storedGrants() {
        return text::openAppSettings()
            ->value(QString::fromLatin1(app::SandboxHelper::kStoreKey))
            .toMap()
            .keys();
    }

    ScopedConfigHome configHome;
    FileTree tree;
    FolderWell well{QStringLiteral("Source"), QStringLiteral("FROM"), style::green(), false};
    std::vector<QUrl> selected;
    int clearedCount = 0;
    Qt::DropAction lastDropAction = Qt::IgnoreAction;
};

TEST_F(FolderWellTest, PanelIsTallOnlyWhileEmptyAndNotCompact) {
    tree.folder("Photos");
    struct Case {
        bool filled;
        bool compact;
        int height;
    };
    for (const Case& form : {Case{false, false, 100}, Case{false, true, 58}, Case{true, false, 58},
                             Case{true, true, 58}}) {
        well.setUrl(form.filled ? std::optional(urlOf(tree.path("Photos"))) : std::nullopt);
        well.setCompact(form.compact);
        layOut();
        EXPECT_EQ(panel().height(), form.height)
            << "filled " << form.filled << ", compact " << form.compact;
    }
}

// As wide as in a window of 960 pixels, the well shows a usual name whole beside its volume:
// the change button is small, not as wide as the style makes dialog buttons.
TEST_F(FolderWellTest, FilledWellNamesTheFolderAndItsVolume) {
    tree.folder("Fotos 2024 ü");
    tree.folder("Phone Photos");
    const std::string path = tree.path("Fotos 2024 ü");
    well.resize(415, well.height());
    for (const auto& [shown, name] :
         {std::pair{path, std::string("Fotos 2024 ü")},
          std::pair{tree.path("Phone Photos"), std::string("Phone Photos")},
          std::pair{std::string("/"), std::string("/")}}) {
        well.setUrl(urlOf(shown));
        layOut();
        const auto& shownName = *well.findChild<MiddleElidedLabel*>("name");
        EXPECT_EQ(shownName.text().toStdString(), name);
        EXPECT_EQ(shownName.displayedText().toStdString(), name);
        EXPECT_EQ(well.findChild<MiddleElidedLabel*>("path")->text().toStdString(), shown);
        const auto& volume = *well.findChild<QWidget*>("volume");
        EXPECT_TRUE(volume.isVisible()) << name;
        EXPECT_EQ(volume.accessibleName(), app::AppState::shared().volumeDescription(urlOf(shown)));
    }
    const auto& change = button<QPushButton>(loc("change_folder"));
    EXPECT_LE(change.width(), change.fontMetrics().horizontalAdvance(change.text()) + 20);
    // Icon-only buttons must be explained to sighted and blind users alike.
    int iconButtons = 0;
    for (const QToolButton* action : well.findChildren<QToolButton*>()) {
        if (!action->isVisible()) continue;
        ++iconButtons;
        EXPECT_FALSE(action->toolTip().isEmpty());
        EXPECT_EQ(action->accessibleName(), action->toolTip());
    }
    EXPECT_EQ(iconButtons, 3);
}

TEST_F(FolderWellTest, DropSelectsTheFirstItemOnlyWhenItIsAnExistingFolder) {
    tree.folder("A");
    tree.folder("B");
    tree.folder("C");
    tree.file("notes.txt", "text");
    tree.symlink("link", "A");
    tree.symlink("dangling", "missing");
    tree.folder("gone");
    std::filesystem::remove(tree.path("gone"));
    // The decoded form of the undecodable name exists too: it must not be chosen instead.
    tree.folder("caf\xe9");
    tree.folder("caf\xef\xbf\xbd");
    const QByteArray root = QByteArray::fromStdString(tree.root()).toPercentEncoding("/");
    const QUrl undecodable = QUrl::fromEncoded("file://" + root + "/caf%E9");
    const QUrl withSlash = QUrl::fromEncoded("file://" + root + "/A/");
    // A filled well reports a drop too, and keeps showing its folder until told otherwise.
    well.setUrl(urlOf(tree.path("C")));

    struct Case {
        const char* what;
        QList<QUrl> urls;
        std::optional<std::string> chosen;
    };
    const Case cases[] = {
        {"a file", {urlOf(tree.path("notes.txt"))}, std::nullopt},
        {"three folders",
         {urlOf(tree.path("A")), urlOf(tree.path("B")), urlOf(tree.path("C"))},
         tree.path("A")},
        {"a file before a folder",
         {urlOf(tree.path("notes.txt")), urlOf(tree.path("B"))},
         std::nullopt},
        {"a folder that vanished", {urlOf(tree.path("gone"))}, std::nullopt},
        {"a link to a folder", {urlOf(tree.path("link"))}, tree.path("link")},
        {"a dangling link", {urlOf(tree.path("dangling"))}, std::nullopt},
        {"a name that is not UTF-8", {undecodable}, std::nullopt},
        {"a folder with a trailing slash", {withSlash}, tree.path("A")},
        {"a web address", {QUrl(QStringLiteral("https://example.com/A"))}, std::nullopt},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.what);
        selected.clear();
        text::openAppSettings()->remove(QString::fromLatin1(app::SandboxHelper::kStoreKey));
        EXPECT_TRUE(drop(*urlData(item.urls)));
        settle();
        if (item.chosen) {
            EXPECT_EQ(selected, std::vector{urlOf(*item.chosen)});
            EXPECT_EQ(storedGrants(), QStringList{QString::fromStdString(*item.chosen)});
        } else {
            EXPECT_TRUE(selected.empty());
            EXPECT_TRUE(storedGrants().isEmpty());
        }
        EXPECT_EQ(well.url(), urlOf(tree.path("C")));
    }
}

TEST_F(FolderWellTest, DragHoverLightsThePanelAndOnlyReferencesAreTaken) {
    tree.folder("A");
    const auto folder = urlData({urlOf(tree.path("A"))});
    QDragEnterEvent enter(QPoint(20, 20), kFileManagerActions, folder.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(well.isDropTargetActive());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&panel(), &leave);
    EXPECT_FALSE(well.isDropTargetActive());

    auto plainText = std::make_unique<QMimeData>();
    plainText->setText(tree.path("A").c_str());
    QDragEnterEvent textEnter(QPoint(20, 20), kFileManagerActions, plainText.get(), Qt::LeftButton,
                              Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(), &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
    EXPECT_FALSE(well.isDropTargetActive());

    EXPECT_FALSE(drop(*plainText));
    EXPECT_FALSE(drop(*uriList("")));
    // Answering a move could make the drag source delete the dropped folder.
    EXPECT_FALSE(drop(*folder, Qt::MoveAction));
    EXPECT_TRUE(drop(*folder, Qt::MoveAction | Qt::CopyAction));
    EXPECT_EQ(lastDropAction, Qt::CopyAction);
    settle();
    EXPECT_EQ(selected, std::vector{urlOf(tree.path("A"))});
}

TEST_F(FolderWellTest, WellClosedBeforeTheFolderCheckAnswersIsLeftAlone) {
    tree.folder("A");
    auto doomed = std::make_unique<FolderWell>("Target", "TO", style::blue(), true);
    int reports = 0;
    QObject::connect(doomed.get(), &FolderWell::folderSelected, [&reports] { ++reports; });
    const auto data = urlData({urlOf(tree.path("A"))});
    ASSERT_TRUE(
        dropOn(*doomed->findChild<QWidget*>(QStringLiteral("panel")), *data, kFileManagerActions));
    doomed.reset();
    settle();
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(storedGrants().isEmpty());
}

TEST_F(FolderWellTest, CopyLeavesExactlyThePathOnTheClipboard) {
    tree.folder("Fotos 2024 ü");
    const std::string path = tree.path("Fotos 2024 ü");
    auto earlier = std::make_unique<QMimeData>();
    earlier->setHtml(QStringLiteral("<b>earlier</b>"));
    earlier->setText(QStringLiteral("earlier"));
    earlier->setData(QStringLiteral("application/x-earlier"), "bytes");
    QGuiApplication::clipboard()->setMimeData(earlier.release());
    well.setUrl(urlOf(path + "/"));
    layOut();

    button<QToolButton>(loc("copy_path")).click();

    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->formats(), QStringList{QStringLiteral("text/plain")});
    EXPECT_EQ(held->text().toStdString(), path);
}

TEST_F(FolderWellTest, ChooseChangeAndClearOnlyReport) {
    tree.folder("A");
    QStringList asked;
    app::SandboxHelper::shared().setFolderChooser(std::make_unique<ScriptedChooser>(
        std::vector<std::optional<QUrl>>{urlOf(tree.path("A")), std::nullopt}, asked));

    button<QPushButton>(loc("choose_folder")).click();
    EXPECT_EQ(selected, std::vector{urlOf(tree.path("A"))});
    EXPECT_FALSE(well.url()) << "the owner, not the well, decides what a choice means";

    well.setUrl(urlOf(tree.path("A")));
    layOut();
    button<QPushButton>(loc("change_folder")).click();
    EXPECT_EQ(selected.size(), 1u) << "a cancelled chooser reports nothing";
    EXPECT_EQ(asked, QStringList({"Source+create", "Source+create"}));

    button<QToolButton>(loc("clear")).click();
    EXPECT_EQ(clearedCount, 1);
    EXPECT_EQ(well.url(), urlOf(tree.path("A")));
}

TEST_F(FolderWellTest, LongPathLosesItsMiddleAndNeverWidensTheWell) {
    std::string deep = "/srv/archive";
    for (int level = 0; level < 40; ++level) deep += "/level-" + std::to_string(level);
    struct Case {
        std::string path;
        std::string end;
    };
    const Case cases[] = {
        {deep + "/Final Folder", "/Final Folder"},
        // A last component too long to keep whole still fits, and the start stays.
        {deep + "/" + std::string(200, 'x'), "xxxx"},
    };
    well.resize(420, well.height());
    for (const Case& item : cases) {
        well.setUrl(urlOf(item.path));
        layOut();
        const auto& label = *well.findChild<MiddleElidedLabel*>("path");
        const std::string shown = label.displayedText().toStdString();
        EXPECT_EQ(shown.rfind("/srv/arch", 0), 0u) << shown;
        EXPECT_TRUE(shown.ends_with(item.end)) << shown;
        EXPECT_NE(shown.find("…"), std::string::npos) << shown;
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.displayedText()), label.width());
        EXPECT_LT(well.minimumSizeHint().width(), 420);
        EXPECT_EQ(label.toolTip().toStdString(), item.path);
    }
}

}  // namespace
}  // namespace sorrelix::ui
