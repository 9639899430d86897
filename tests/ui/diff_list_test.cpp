#include "diff_list_view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDBusConnection>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app_state.h"
#include "app_test_support.h"
#include "diff_row_delegate.h"
#include "exclude_rule_store.h"
#include "file_manager_reveal.h"
#include "file_tree.h"
#include "kind_segments.h"
#include "language_manager.h"
#include "loc.h"
#include "path_search_index.h"
#include "search_field.h"

namespace sorrelix::ui {
namespace {

using engine::FileDiffItem;
using engine::FileDiffKind;
using testing::FileTree;
using testing::PrivateSessionBus;
using testing::urlOf;
using testing::waitUntil;
using Paths = std::vector<std::string>;

// Stands in for the desktop's file browser on the private bus: records what it was shown.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownItems;

public slots:
    void ShowItems(const QStringList& uris, const QString& /*startupId*/) { shownItems += uris; }
    void ShowFolders(const QStringList& /*uris*/, const QString& /*startupId*/) {}
};

std::vector<FileDiffItem> itemsWithPaths(const Paths& paths) {
    std::vector<FileDiffItem> items(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) items[i].relativePath = paths[i];
    return items;
}

std::vector<std::uint32_t> matchesOf(const PathSearchIndex& index, const QString& text) {
    std::vector<std::uint32_t> found;
    if (const auto needle = PathSearchIndex::foldedNeedle(text))
        index.appendMatches(*needle, found);
    return found;
}

// The block-wise scan against a plain search of each folded path: matches that straddle
// blocks, paths that end inside a block after a match, repeated matches, short and empty paths.
TEST(PathSearchIndexTest, FindsWhatAPlainSearchOfEachPathFinds) {
    std::mt19937 random(42);
    const std::vector<std::string> pieces = {
        "a", "B", "ab", "/", " ", "\xc3\xa9", "\xc3\x89", "x", "aaaa", "\xd0\x96", ".txt", "Ab/"};
    Paths paths;
    for (int i = 0; i < 3000; ++i) {
        std::string path;
        const auto parts = random() % 30;
        for (unsigned part = 0; part < parts; ++part) path += pieces[random() % pieces.size()];
        paths.push_back(path);
    }
    const PathSearchIndex index(itemsWithPaths(paths));
    for (int round = 0; round < 300; ++round) {
        const std::string& from = paths[random() % paths.size()];
        const QString whole = QString::fromUtf8(from);
        const auto start = whole.isEmpty() ? 0 : random() % whole.size();
        const auto length = 1 + random() % 20;
        const QString text = round % 7 == 0 ? QStringLiteral("zz") : whole.mid(start, length);
        if (text.isEmpty()) continue;
        const std::string needle = *PathSearchIndex::foldedNeedle(text);
        std::vector<std::uint32_t> expected;
        for (std::uint32_t i = 0; i < paths.size(); ++i) {
            std::string folded;
            PathSearchIndex::appendFolded(paths[i], folded);
            if (folded.find(needle) != std::string::npos) expected.push_back(i);
        }
        ASSERT_EQ(matchesOf(index, text), expected) << text.toStdString();
    }
}

TEST(PathSearchIndexTest, CaseAndCompositionDoNotMatterButAccentsDo) {
    struct Case {
        std::string path;
        QString text;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"Cafe\xcc\x81/menu", QString::fromUtf8("CAF\xc3\x89/"), true},  // decomposed path
        {"Caf\xc3\xa9", QString::fromUtf8("cafe\xcc\x81"), true},        // decomposed text
        {"Caf\xc3\xa9", QStringLiteral("cafe"), false},
        {"\xd0\xa2\xd0\xa0\xd0\x9e\xd0\x9b\xd0\x9b\xd0\xac.mp3",
         QString::fromUtf8("\xd1\x82\xd1\x80\xd0\xbe\xd0\xbb\xd0\xbb\xd1\x8c"), true},
        {"\xe5\x9d\x82\xe6\x9c\xac/x", QString::fromUtf8("\xe6\x9c\xac/X"), true},
        {"\xe2\x84\xaa"
         "elvin",
         QStringLiteral("kelvin"), true},  // KELVIN SIGN folds to k
        {"\xce\xa3\xce\x9f\xce\xa6\xce\x99\xce\x91", QString::fromUtf8("\xcf\x83\xce\xbf\xcf\x86"),
         true},
        {"bad\xff\xfename", QStringLiteral("NAME"), true},  // not UTF-8
        {"a.txt", QStringLiteral("a\0"), false},
    };
    for (const Case& c : cases) {
        const PathSearchIndex index(itemsWithPaths({c.path}));
        EXPECT_EQ(matchesOf(index, c.text).size(), c.matches ? 1U : 0U) << c.path;
    }
}

class DiffListTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(900, 500);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Added, updated and identical files, a folder name that is also a file name's start,
    // accented names and a name that is not UTF-8.
    void buildTrees() {
        source.file("Docs/Report.TXT", "added");
        source.file("docs/notes.txt", "new version");
        target.file("docs/notes.txt", "old");
        source.file("my report.txt", "same");
        target.file("my report.txt", "same");
        source.file("deep/dir/x.txt", "same");
        target.file("deep/dir/x.txt", "same");
        source.file("dir.txt", "same");
        target.file("dir.txt", "same");
        source.file("\xc3\x89t\xc3\xa9/Caf\xc3\xa9.txt", "added");  // "Été/Café.txt"
        source.file("bad\xff name.txt", "added");
    }

    void analyze() {
        state.setSource(urlOf(source.root()));
        state.setTarget(urlOf(target.root()));
        state.startAnalysis(false);
        ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    }

    Paths listed() const {
        Paths paths;
        for (const FileDiffItem* item : view.filteredDiffItems()) {
            paths.push_back(item->relativePath);
        }
        return paths;
    }

    // The summary's paths that are in `wanted`, in the summary's order.
    Paths inSummaryOrder(const std::set<std::string>& wanted) const {
        Paths paths;
        for (const FileDiffItem& item : state.mergeSummary()->items) {
            if (wanted.count(item.relativePath)) paths.push_back(item.relativePath);
        }
        return paths;
    }

    const FileDiffItem& itemAt(const std::string& path) const {
        for (const FileDiffItem& item : state.mergeSummary()->items) {
            if (item.relativePath == path) return item;
        }
        throw std::runtime_error("not in the summary: " + path);
    }

    QListView& list() const { return *view.findChild<QListView*>(); }
    SearchField& searchField() const { return *view.findChild<SearchField*>(); }
    KindSegments& segments() const { return *view.findChild<KindSegments*>(); }

    QRect rowRect(const std::string& path) {
        const Paths paths = listed();
        const auto row = std::find(paths.begin(), paths.end(), path) - paths.begin();
        list().scrollTo(list().model()->index(int(row), 0));
        return list().visualRect(list().model()->index(int(row), 0));
    }

    QStringList segmentTexts() const {
        QStringList texts;
        for (auto kind :
             {std::optional<FileDiffKind>(), std::optional(FileDiffKind::added),
              std::optional(FileDiffKind::updated), std::optional(FileDiffKind::identical)}) {
            texts += segments().segment(kind)->text();
        }
        return texts;
    }

    FileTree source;
    FileTree target;
    app::AppState state;
    DiffListView view{state};
};

TEST_F(DiffListTest, NothingIsListedWithoutASummaryOrForAKindWithoutItems) {
    view.setSearchText(QStringLiteral("a"));
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(list().model()->rowCount(), 0);

    source.file("one.txt", "1");
    source.file("two.txt", "2");
    view.setSearchText({});
    analyze();
    EXPECT_EQ(listed().size(), 2U);
    view.setFilterKind(FileDiffKind::identical);
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(segmentTexts(),
              (QStringList{text::loc("diff_tab_all", 2), text::loc("diff_tab_added", 2),
                           text::loc("diff_tab_updated", 0), text::loc("diff_tab_identical", 0)}));
}

// What the stored rules left out is said above the list, in the language's number format,
// so that nothing disappears unnoticed; without rules the line is hidden.
TEST_F(DiffListTest, HeaderSaysHowManyEntriesTheRulesLeftOut) {
    const testing::ScopedConfigHome ownRules;
    auto& languages = text::LanguageManager::shared();
    const QString previous = languages.selectedLanguage();
    languages.setSelectedLanguage(QStringLiteral("en"));
    for (int i = 0; i < 1000; ++i) source.file("scratch/" + std::to_string(i) + ".tmp", "x");
    source.file("keep.txt", "k");
    const QLabel& excluded = *view.findChild<QLabel*>(QStringLiteral("diffExcludedCount"));
    analyze();
    EXPECT_FALSE(excluded.isVisible());
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp"}));
    analyze();
    EXPECT_TRUE(excluded.isVisible());
    EXPECT_EQ(excluded.text(), text::loc("diff_excluded_count", QStringLiteral("1,000")));
    EXPECT_EQ(listed(), Paths{"keep.txt"});
    languages.setSelectedLanguage(previous);
}

TEST_F(DiffListTest, KindAndSearchTextSelectTheirItemsInSummaryOrder) {
    buildTrees();
    analyze();
    const QStringList counts = segmentTexts();
    struct Case {
        std::optional<FileDiffKind> kind;
        QString text;
        std::set<std::string> expected;
    };
    const std::vector<Case> cases = {
        {std::nullopt, "REPORT", {"Docs/Report.TXT", "my report.txt"}},
        {std::nullopt, " report", {"my report.txt"}},  // spaces count as typed
        {std::nullopt, "report ", {}},
        {FileDiffKind::added, "report", {"Docs/Report.TXT"}},
        {std::nullopt, "docs/", {"Docs/Report.TXT", "docs/notes.txt"}},
        {std::nullopt, "dir/", {"deep/dir/x.txt"}},
        {std::nullopt,
         QString::fromUtf8("\xc3\xa9T\xc3\x89/CAF"),
         {"\xc3\x89t\xc3\xa9/Caf\xc3\xa9.txt"}},
        {std::nullopt, "cafe", {}},  // accents are not ignored
        {std::nullopt, "BAD", {"bad\xff name.txt"}},
        {FileDiffKind::updated, "", {"docs/notes.txt"}},
        {FileDiffKind::identical, "", {"my report.txt", "deep/dir/x.txt", "dir.txt"}},
    };
    for (const Case& c : cases) {
        view.setFilterKind(c.kind);
        view.setSearchText(c.text);
        EXPECT_EQ(listed(), inSummaryOrder(c.expected)) << c.text.toStdString();
        EXPECT_EQ(list().model()->rowCount(), int(c.expected.size()));
        EXPECT_EQ(segmentTexts(), counts) << "the counts are the summary's";
    }
}

TEST_F(DiffListTest, TypingShowsTheClearButtonWhichRestoresTheList) {
    buildTrees();
    analyze();
    view.setFilterKind(FileDiffKind::added);
    QTest::mouseClick(segments().segment(std::nullopt), Qt::LeftButton);
    EXPECT_EQ(view.filterKind(), std::nullopt);
    const Paths all = listed();
    QToolButton& clear = *searchField().clearButton();
    EXPECT_FALSE(clear.isVisible());

    QTest::keyClicks(searchField().lineEdit(), QStringLiteral("notes"));
    EXPECT_EQ(view.searchText(), QStringLiteral("notes"));
    EXPECT_EQ(listed(), Paths{"docs/notes.txt"});
    EXPECT_TRUE(clear.isVisible());
    EXPECT_FALSE(clear.toolTip().isEmpty());
    EXPECT_FALSE(clear.accessibleName().isEmpty());

    QTest::mouseClick(&clear, Qt::LeftButton);
    EXPECT_EQ(view.searchText(), QString());
    EXPECT_EQ(searchField().text(), QString());
    EXPECT_FALSE(clear.isVisible());
    EXPECT_EQ(listed(), all);
}

// A merge announces every file's progress; only the summaries that arrive change the list,
// and the filter and the search text outlive them.
TEST_F(DiffListTest, FilterAndSearchSurviveNewSummariesAndMergeProgressDoesNotResetTheList) {
    for (int i = 0; i < 20; ++i) source.file("batch/file" + std::to_string(i) + ".txt", "new");
    source.file("keep/notes.txt", "same");
    target.file("keep/notes.txt", "same");
    analyze();
    view.setFilterKind(FileDiffKind::identical);
    view.setSearchText(QStringLiteral("NOTES"));
    ASSERT_EQ(listed(), Paths{"keep/notes.txt"});

    QSignalSpy resets(list().model(), &QAbstractItemModel::modelReset);
    QSignalSpy summaries(&state, &app::AppState::mergeSummaryChanged);
    QSignalSpy progress(&state, &app::AppState::progressCurrentChanged);
    state.startMerge();
    ASSERT_TRUE(waitUntil([this] { return !state.isMerging() && state.isAnalyzed(); }));
    EXPECT_EQ(progress.count(), 20);
    EXPECT_EQ(resets.count(), summaries.count());
    EXPECT_EQ(view.filterKind(), FileDiffKind::identical);
    EXPECT_EQ(view.searchText(), QStringLiteral("NOTES"));
    EXPECT_EQ(searchField().text(), QStringLiteral("NOTES"));
    EXPECT_EQ(listed(), Paths{"keep/notes.txt"});
    EXPECT_EQ(segments().selection(), FileDiffKind::identical);
    EXPECT_EQ(segments().segment(FileDiffKind::identical)->text(),
              text::loc("diff_tab_identical", 21));
}

TEST_F(DiffListTest, RowsOfferToRevealTheSourceAndForKnownFilesTheTarget) {
    buildTrees();
    analyze();
    const auto menuTexts = [this](const std::string& path) {
        emit list().customContextMenuRequested(rowRect(path).center());
        QMenu* menu = view.findChild<QMenu*>();
        QStringList texts;
        if (!menu) return texts;
        for (QAction* action : menu->actions()) texts += action->text();
        delete menu;
        return texts;
    };
    const QString source = text::loc("reveal_in_finder_source");
    const QString target = text::loc("reveal_in_finder_target");
    EXPECT_EQ(menuTexts("Docs/Report.TXT"), QStringList{source});
    EXPECT_EQ(menuTexts("docs/notes.txt"), (QStringList{source, target}));
    EXPECT_EQ(menuTexts("my report.txt"), (QStringList{source, target}));
}

class DiffListRevealTest : public DiffListTest {
protected:
    void SetUp() override {
        DiffListTest::SetUp();
        if (PrivateSessionBus::address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not available";
        bus_.emplace(QDBusConnection::connectToBus(PrivateSessionBus::address(),
                                                   QStringLiteral("diff-list-file-manager")));
        ASSERT_TRUE(bus_->registerObject(QString::fromLatin1(app::FileManagerReveal::kObjectPath),
                                         &fileManager, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus_->registerService(QString::fromLatin1(app::FileManagerReveal::kService)));
    }

    void TearDown() override {
        if (!bus_) return;
        bus_->unregisterService(QString::fromLatin1(app::FileManagerReveal::kService));
        QDBusConnection::disconnectFromBus(bus_->name());
    }

    // The next item the file manager is shown.
    QString nextShown() {
        const qsizetype before = shownSoFar_;
        if (!waitUntil([&] { return fileManager.shownItems.size() > before; })) return {};
        return fileManager.shownItems[shownSoFar_++];
    }

    static QString uriOf(const std::string& path) {
        return urlOf(path).toString(QUrl::FullyEncoded);
    }

    FakeFileManager fileManager;

private:
    std::optional<QDBusConnection> bus_;
    qsizetype shownSoFar_ = 0;
};

TEST_F(DiffListRevealTest, RevealPrefersTheSourceCopyThenTheTargetCopy) {
    buildTrees();
    analyze();
    const FileDiffItem notes = itemAt("docs/notes.txt");

    // The row's button, clicked.
    const QRect button = static_cast<DiffRowDelegate*>(list().itemDelegate())
                             ->revealButtonRect(rowRect(notes.relativePath));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, button.center());
    EXPECT_EQ(nextShown(), uriOf(source.path("docs/notes.txt")));

    std::filesystem::remove(source.path("docs/notes.txt"));
    view.revealInFinder(notes);
    EXPECT_EQ(nextShown(), uriOf(target.path("docs/notes.txt")));

    // A dangling link is still an entry to show.
    source.symlink("docs/notes.txt", "nowhere");
    view.revealInFinder(notes);
    EXPECT_EQ(nextShown(), uriOf(source.path("docs/notes.txt")));

    std::filesystem::remove(source.path("docs/notes.txt"));
    std::filesystem::remove(target.path("docs/notes.txt"));
    view.revealInFinder(notes);  // nothing: the next one shown comes from the menu below
    emit list().customContextMenuRequested(rowRect("my report.txt").center());
    QMenu* menu = view.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    menu->actions().at(1)->trigger();  // the target entry, without an existence test
    EXPECT_EQ(nextShown(), uriOf(target.path("my report.txt")));
    std::filesystem::remove(target.path("my report.txt"));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(nextShown(), uriOf(target.path("my report.txt")));
}

// A name that is not UTF-8 reaches the file manager byte for byte, percent-encoded, not as
// replacement characters that would name another file.
TEST_F(DiffListRevealTest, RevealCarriesANameThatIsNotUtf8ByteForByte) {
    buildTrees();
    analyze();
    view.revealInFinder(itemAt("bad\xff name.txt"));
    const QString shown = nextShown();
    ASSERT_TRUE(shown.startsWith(QStringLiteral("file://"))) << shown.toStdString();
    EXPECT_EQ(QByteArray::fromPercentEncoding(shown.mid(7).toLatin1()).toStdString(),
              source.path("bad\xff name.txt"));
}

}  // namespace
}  // namespace sorrelix::ui

#include "diff_list_test.moc"
