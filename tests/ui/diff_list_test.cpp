#include "diff_list_view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app_state.h"
#include "app_test_support.h"
#include "diff_row_delegate.h"
#include "exclude_rule_store.h"
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
using text::loc;
using Paths = std::vector<std::string>;

FileDiffItem itemAt(const std::string& path) {
    FileDiffItem item;
    item.relativePath = path;
    return item;
}

PathSearchIndex indexOf(const Paths& paths) {
    std::vector<FileDiffItem> items;
    for (const std::string& path : paths) items.push_back(itemAt(path));
    return PathSearchIndex(items);
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
    const Paths pieces = {"a",        "B", "ab",   "/",        " ",    "\xc3\xa9",
                          "\xc3\x89", "x", "aaaa", "\xd0\x96", ".txt", "Ab/"};
    Paths paths(3000);
    for (std::string& path : paths) {
        for (auto part = random() % 30; part > 0; --part) path += pieces[random() % pieces.size()];
    }
    const PathSearchIndex index = indexOf(paths);
    for (int round = 0; round < 300; ++round) {
        const QString whole = QString::fromUtf8(paths[random() % paths.size()]);
        const QString text =
            whole.mid(whole.isEmpty() ? 0 : random() % whole.size(), 1 + random() % 20);
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
    const struct {
        std::string path, text;
        bool matches;
    } cases[] = {
        {"Cafe\u0301/menu", "CAFÉ/", true},  // decomposed path
        {"Café", "cafe\u0301", true},        // decomposed text
        {"Café", "cafe", false},
        {"ТРОЛЛЬ.mp3", "тролль", true},
        {"坂本/x", "本/X", true},
        {"\u212Aelvin", "kelvin", true},  // KELVIN SIGN folds to k
        {"ΣΟΦΙΑ", "σοφ", true},
        {"bad\xff\xfename", "NAME", true},  // not UTF-8
        {"a.txt", std::string("a\0", 2), false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text.data(), qsizetype(c.text.size()));
        EXPECT_EQ(matchesOf(indexOf({c.path}), text).size(), c.matches ? 1U : 0U) << c.path;
    }
}

class DiffListTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(900, 500);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Added, updated and identical files, a folder name that is also a file name's start, and
    // a name that is not UTF-8.
    void buildTrees() {
        for (const char* same : {"my report.txt", "deep/dir/x.txt", "dir.txt"}) {
            source.file(same, "same");
            target.file(same, "same");
        }
        source.file("Docs/Report.TXT", "added");
        source.file("docs/notes.txt", "new version");
        target.file("docs/notes.txt", "old");
        source.file("bad\xff name.txt", "added");
    }
    bool analyze() { return testing::analyzePair(state, source.root(), target.root()); }

    Paths listed() const {
        Paths paths;
        for (const FileDiffItem* item : view.filteredDiffItems())
            paths.push_back(item->relativePath);
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

    QListView& list() const { return *view.findChild<QListView*>(); }
    SearchField& searchField() const { return *view.findChild<SearchField*>(); }
    KindSegments& segments() const { return *view.findChild<KindSegments*>(); }
    QRect rowRect(const std::string& path) {
        const Paths paths = listed();
        const auto row = int(std::find(paths.begin(), paths.end(), path) - paths.begin());
        list().scrollTo(list().model()->index(row, 0));
        return list().visualRect(list().model()->index(row, 0));
    }
    // The row's menu, the only one: it deletes itself once closed.
    QMenu& contextMenu(const std::string& path) {
        qDeleteAll(view.findChildren<QMenu*>());
        emit list().customContextMenuRequested(rowRect(path).center());
        return *view.findChild<QMenu*>();
    }

    FileTree source;
    FileTree target;
    app::AppState state;
    DiffListView view{state};
};

TEST_F(DiffListTest, KindAndSearchTextSelectTheirItemsInSummaryOrderAndOutliveAMerge) {
    view.setSearchText(QStringLiteral("a"));
    EXPECT_TRUE(listed().empty()) << "nothing to list without a summary";
    buildTrees();
    ASSERT_TRUE(analyze());
    const struct {
        std::optional<FileDiffKind> kind;
        QString text;
        std::set<std::string> expected;
    } cases[] = {
        {std::nullopt, "REPORT", {"Docs/Report.TXT", "my report.txt"}},
        {std::nullopt, " report", {"my report.txt"}},  // spaces count as typed
        {std::nullopt, "report ", {}},
        {FileDiffKind::added, "report", {"Docs/Report.TXT"}},
        {std::nullopt, "docs/", {"Docs/Report.TXT", "docs/notes.txt"}},
        {std::nullopt, "dir/", {"deep/dir/x.txt"}},
        {std::nullopt, "BAD", {"bad\xff name.txt"}},
        {FileDiffKind::updated, "", {"docs/notes.txt"}},
        {FileDiffKind::identical, "", {"my report.txt", "deep/dir/x.txt", "dir.txt"}},
    };
    for (const auto& c : cases) {
        view.setFilterKind(c.kind);
        view.setSearchText(c.text);
        EXPECT_EQ(listed(), inSummaryOrder(c.expected)) << c.text.toStdString();
        EXPECT_EQ(list().model()->rowCount(), int(c.expected.size()));
        // The counts are the summary's, whatever is shown.
        EXPECT_EQ(segments().segment(std::nullopt)->text(), loc("diff_tab_all", 6));
    }

    // A merge reports every file's progress; only the summaries that arrive change the list,
    // and the filter (the last case's) and the search text outlive them.
    view.setSearchText(QStringLiteral("REPORT"));
    QSignalSpy resets(list().model(), &QAbstractItemModel::modelReset);
    QSignalSpy summaries(&state, &app::AppState::mergeSummaryChanged);
    state.startMerge();
    ASSERT_TRUE(testing::waitUntil([this] { return !state.isMerging() && state.isAnalyzed(); }));
    EXPECT_EQ(resets.count(), summaries.count());
    EXPECT_EQ(segments().selection(), FileDiffKind::identical);
    EXPECT_EQ(searchField().text(), QStringLiteral("REPORT"));
    EXPECT_EQ(listed(), inSummaryOrder({"Docs/Report.TXT", "my report.txt"}));
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
    ASSERT_TRUE(analyze());
    EXPECT_FALSE(excluded.isVisible());
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp"}));
    ASSERT_TRUE(analyze());
    EXPECT_TRUE(excluded.isVisible());
    EXPECT_EQ(excluded.text(), loc("diff_excluded_count", QStringLiteral("1,000")));
    EXPECT_EQ(listed(), Paths{"keep.txt"});
    languages.setSelectedLanguage(previous);
}

// The row's button shows the source copy, else the target copy; a name that is not UTF-8
// reaches the file manager byte for byte, not as replacement characters naming another file.
TEST_F(DiffListTest, RevealPrefersTheSourceCopyThenTheTargetCopy) {
    testing::FakeFileManager fileManager;
    if (!fileManager.registered) GTEST_SKIP() << "no private session bus";
    const auto shown = [](const std::string& path) {
        return "ShowItems " + testing::fileUri(path);
    };
    buildTrees();
    ASSERT_TRUE(analyze());
    const FileDiffItem notes = itemAt("docs/notes.txt");
    const QRect button = static_cast<DiffRowDelegate*>(list().itemDelegate())
                             ->revealButtonRect(rowRect(notes.relativePath));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, button.center());
    EXPECT_EQ(fileManager.next(), shown(source.path("docs/notes.txt")));
    std::filesystem::remove(source.path("docs/notes.txt"));
    view.revealInFinder(notes);
    EXPECT_EQ(fileManager.next(), shown(target.path("docs/notes.txt")));
    source.symlink("docs/notes.txt", "nowhere");  // a dangling link is still an entry
    view.revealInFinder(notes);
    EXPECT_EQ(fileManager.next(), shown(source.path("docs/notes.txt")));
    std::filesystem::remove(source.path("docs/notes.txt"));
    std::filesystem::remove(target.path("docs/notes.txt"));
    view.revealInFinder(notes);  // nothing to show: the next one shown is the one below
    view.revealInFinder(itemAt("bad\xff name.txt"));
    EXPECT_EQ(fileManager.next(), shown(source.path("bad\xff name.txt")));

    // The menu offers the target copy only where there is one, and shows it without looking.
    EXPECT_EQ(contextMenu("Docs/Report.TXT").actions().size(), 1);
    const QList<QAction*> actions = contextMenu("my report.txt").actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[1]->text(), loc("reveal_in_finder_target"));
    std::filesystem::remove(target.path("my report.txt"));
    actions[1]->trigger();
    EXPECT_EQ(fileManager.next(), shown(target.path("my report.txt")));
}

}  // namespace
}  // namespace sorrelix::ui
