#include "folder_analysis.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "apfs_engine.h"
#include "file_tree.h"
#include "loc.h"
#include "record_json.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::removeContents;
using sorrelix::testing::runAsNobody;
using sorrelix::testing::ScopedConfigHome;

constexpr double kTime = 1'700'000'000.0;
constexpr std::int64_t kLimit = FolderAnalysis::kContentCheckLimit;

std::vector<std::string> itemPaths(const MergeSummary& summary) {
    std::vector<std::string> paths;
    for (const auto& item : summary.items) paths.push_back(item.relativePath);
    return paths;
}

std::map<std::string, FileDiffKind> kindsByPath(const MergeSummary& summary) {
    std::map<std::string, FileDiffKind> kinds;
    for (const auto& item : summary.items) kinds[item.relativePath] = item.kind;
    return kinds;
}

const FileDiffItem& itemAt(const MergeSummary& summary, const std::string& path) {
    for (const auto& item : summary.items) {
        if (item.relativePath == path) return item;
    }
    throw std::runtime_error("no item for " + path);
}

// The counts and the byte total must be what the items say, item by item.
void expectConsistent(const MergeSummary& summary) {
    std::int64_t added = 0, updated = 0, identical = 0, bytes = 0;
    std::set<std::string> seen;
    for (const auto& item : summary.items) {
        EXPECT_TRUE(seen.insert(item.relativePath).second) << "twice: " << item.relativePath;
        switch (item.kind) {
            case FileDiffKind::added:
                ++added;
                bytes += item.sourceSize;
                EXPECT_EQ(item.targetSize, 0) << item.relativePath;
                EXPECT_FALSE(item.targetDate.has_value()) << item.relativePath;
                break;
            case FileDiffKind::updated:
                ++updated;
                bytes += item.sourceSize;
                EXPECT_TRUE(item.targetDate.has_value()) << item.relativePath;
                break;
            case FileDiffKind::identical:
                ++identical;
                EXPECT_EQ(item.targetSize, item.sourceSize) << item.relativePath;
                EXPECT_TRUE(item.targetDate.has_value()) << item.relativePath;
                break;
        }
    }
    EXPECT_EQ(summary.addedCount, added);
    EXPECT_EQ(summary.updatedCount, updated);
    EXPECT_EQ(summary.identicalCount, identical);
    EXPECT_EQ(summary.bytesToTransfer, bytes);
}

void expectFailure(const MergeSummary& summary) {
    ASSERT_TRUE(summary.errorMessage.has_value());
    EXPECT_EQ(*summary.errorMessage, text::loc("alert_folder_inaccessible"));
    EXPECT_NE(*summary.errorMessage, QStringLiteral("alert_folder_inaccessible"));
    EXPECT_EQ(summary.addedCount + summary.updatedCount + summary.identicalCount, 0);
    EXPECT_EQ(summary.bytesToTransfer, 0);
    EXPECT_TRUE(summary.items.empty());
}

// The walk order the analysis promises: each folder's entries as readdir lists them, a
// subfolder's files in the place of the subfolder, junk-free trees assumed.
void referenceWalk(const std::string& root, const std::string& relative,
                   std::vector<std::string>& paths) {
    const std::string folder = relative.empty() ? root : root + "/" + relative;
    DIR* listing = ::opendir(folder.c_str());
    ASSERT_NE(listing, nullptr) << folder;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "/" + name;
        struct stat st {};
        ASSERT_EQ(::lstat((root + "/" + path).c_str(), &st), 0) << path;
        if (S_ISDIR(st.st_mode)) {
            referenceWalk(root, path, paths);
        } else {
            paths.push_back(path);
        }
    }
    ::closedir(listing);
}

std::vector<std::string> referenceWalk(const std::string& root) {
    std::vector<std::string> paths;
    referenceWalk(root, {}, paths);
    return paths;
}

class FolderAnalysisTest : public ::testing::Test {
protected:
    void TearDown() override {
        removeContents(source.root());
        removeContents(target.root());
    }
    MergeSummary analyze() const { return analyze(source.root(), target.root()); }
    static MergeSummary analyze(const std::string& sourcePath, const std::string& targetPath) {
        MergeSummary summary = APFSEngine::shared().analyzeNow(sourcePath, targetPath);
        expectConsistent(summary);
        return summary;
    }
    // The same file on both sides, with its own time on each.
    void pair(const std::string& path, const std::string& sourceContent,
              const std::string& targetContent, double sourceTime = kTime,
              double targetTime = kTime) const {
        source.file(path, sourceContent, sourceTime);
        target.file(path, targetContent, targetTime);
    }

    ScopedConfigHome config;
    FileTree source;
    FileTree target;
};

// ---- classification -------------------------------------------------------------------

TEST_F(FolderAnalysisTest, EmptySourceGivesAnEmptySuccessfulSummary) {
    target.file("only-in-target.txt", "t");
    const MergeSummary summary = analyze();
    EXPECT_FALSE(summary.errorMessage.has_value());
    EXPECT_TRUE(summary.items.empty());
    EXPECT_FALSE(summary.hasChanges());
}

TEST_F(FolderAnalysisTest, ClassifiesAddedUpdatedAndIdenticalWithTheirFields) {
    source.file("new.txt", "brand new", kTime + 5);
    pair("grown.txt", "longer text", "short", kTime, kTime);
    pair("same.txt", "same bytes", "same bytes", kTime, kTime + 0.25);
    const MergeSummary summary = analyze();

    const FileDiffItem& added = itemAt(summary, "new.txt");
    EXPECT_EQ(added.kind, FileDiffKind::added);
    EXPECT_EQ(added.sourceSize, 9);
    EXPECT_EQ(added.sourceDate, Date::fromSecondsSince1970(kTime + 5));

    const FileDiffItem& updated = itemAt(summary, "grown.txt");
    EXPECT_EQ(updated.kind, FileDiffKind::updated);
    EXPECT_EQ(updated.sourceSize, 11);
    EXPECT_EQ(updated.targetSize, 5);

    const FileDiffItem& identical = itemAt(summary, "same.txt");
    EXPECT_EQ(identical.kind, FileDiffKind::identical);
    EXPECT_EQ(identical.targetDate, Date::fromSecondsSince1970(kTime + 0.25));

    EXPECT_EQ(summary.addedCount, 1);
    EXPECT_EQ(summary.updatedCount, 1);
    EXPECT_EQ(summary.identicalCount, 1);
    EXPECT_EQ(summary.bytesToTransfer, 9 + 11);
    EXPECT_TRUE(summary.hasChanges());
}

TEST_F(FolderAnalysisTest, DifferentSizesAreUpdatedWhateverTheTimes) {
    pair("a", "12345", "1234", kTime, kTime);
    pair("b", "", "x", kTime + 100, kTime);
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at("a"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("b"), FileDiffKind::updated);
}

TEST_F(FolderAnalysisTest, TimesLessThanOneSecondApartCountAsEqual) {
    pair("older-target", "same", "same", kTime + 0.9, kTime);
    pair("newer-target", "same", "same", kTime, kTime + 0.9);
    pair("just-under", "same", "same", kTime, kTime + 0.999);
    pair("exactly-one", "same", "same", kTime, kTime + 1.0);
    pair("exactly-one-back", "same", "same", kTime + 1.0, kTime);
    pair("far-apart", "same", "same", kTime, kTime - 3600);
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at("older-target"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("newer-target"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("just-under"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("exactly-one"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("exactly-one-back"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("far-apart"), FileDiffKind::updated);
}

TEST_F(FolderAnalysisTest, SameSizeAndTimeAreJudgedByContent) {
    pair("differs.txt", "abc", "abd");
    pair("empty", "", "");
    const MergeSummary summary = analyze();
    const FileDiffItem& differs = itemAt(summary, "differs.txt");
    EXPECT_EQ(differs.kind, FileDiffKind::updated);
    EXPECT_EQ(differs.targetSize, differs.sourceSize);
    EXPECT_EQ(itemAt(summary, "empty").kind, FileDiffKind::identical);
}

// Files of at least 10485760 bytes are never read: differing contents go unnoticed there,
// while one byte less is compared to its last byte (across many read chunks).
TEST_F(FolderAnalysisTest, ContentIsComparedOnlyBelowTheLimit) {
    for (const std::int64_t size : {kLimit - 1, kLimit, kLimit + 1}) {
        std::string content(static_cast<std::size_t>(size), 'z');
        const std::string name = "size-" + std::to_string(size);
        source.file(name, content);
        content.back() = 'y';
        target.file(name, content);
    }
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at("size-" + std::to_string(kLimit - 1)), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("size-" + std::to_string(kLimit)), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("size-" + std::to_string(kLimit + 1)), FileDiffKind::identical);
}

TEST_F(FolderAnalysisTest, FilesOnlyInTheTargetAreIgnored) {
    source.file("shared.txt", "s");
    target.file("shared.txt", "s");
    target.file("extra.txt", "e");
    target.file("deep/only/here.txt", "h");
    EXPECT_EQ(itemPaths(analyze()), std::vector<std::string>{"shared.txt"});
}

TEST_F(FolderAnalysisTest, AMissingTargetSubfolderMakesEverythingBelowItAdded) {
    source.file("fresh/a.txt", "a");
    source.file("fresh/deeper/b.txt", "b");
    target.file("fresh-sibling/a.txt", "a");
    const MergeSummary summary = analyze();
    EXPECT_EQ(summary.addedCount, 2);
    EXPECT_EQ(summary.bytesToTransfer, 2);
}

TEST_F(FolderAnalysisTest, TheSameFolderOnBothSidesIsIdenticalThroughout) {
    source.file("a.txt", "a");
    source.file("sub/b.bin", std::string(70000, '\x01'));
    source.symlink("link", "a.txt");
    source.fifo("pipe");
    const MergeSummary summary = analyze(source.root(), source.root());
    EXPECT_EQ(summary.identicalCount, 4);
    EXPECT_FALSE(summary.hasChanges());
}

TEST_F(FolderAnalysisTest, ASourceFileFacingATargetFolderIsUpdated) {
    source.file("clash", "I am a file");
    target.folder("clash");
    target.file("clash/inside.txt", "x");
    const MergeSummary summary = analyze();
    ASSERT_EQ(summary.items.size(), 1U);
    const FileDiffItem& item = summary.items.front();
    EXPECT_EQ(item.kind, FileDiffKind::updated);
    struct stat folderStat {};
    ASSERT_EQ(::stat(target.path("clash").c_str(), &folderStat), 0);
    EXPECT_EQ(item.targetSize, folderStat.st_size);
}

TEST_F(FolderAnalysisTest, HiddenFilesAndOddNamesAreComparedLikeAnyOther) {
    pair(".hidden", "h", "h");
    pair(".config/settings.ini", "new", "old");
    pair("with space & 'quote'", "q", "q");
    pair("line\nbreak", "n", "n");
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at(".hidden"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at(".config/settings.ini"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("with space & 'quote'"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("line\nbreak"), FileDiffKind::identical);
}

TEST_F(FolderAnalysisTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string latin1 = "caf\xe9.txt";
    const std::string badFolder = "\xff\xfe-folder";
    pair(latin1, "v2", "v1");
    source.file(badFolder + "/\xc3(", "x");
    const MergeSummary summary = analyze();
    EXPECT_EQ(itemAt(summary, latin1).kind, FileDiffKind::updated);
    EXPECT_EQ(itemAt(summary, badFolder + "/\xc3(").kind, FileDiffKind::added);
    // The bytes survive the summary's JSON form as well.
    const MergeSummary decoded = decodeMergeSummary(encodeJson(summary));
    EXPECT_EQ(itemPaths(decoded), itemPaths(summary));
}

// ---- entries that are not plain files ----------------------------------------------------

TEST_F(FolderAnalysisTest, SymbolicLinksAreComparedByTheirTextAndNeverFollowed) {
    source.file("real/file.txt", "content");
    source.symlink("to-file", "real/file.txt");
    source.symlink("to-folder", "real");
    source.symlink("dangling", "nowhere/at/all");
    source.symlink("same-text", "abc");
    source.symlink("other-text", "abc");
    target.symlink("same-text", "abc");
    target.symlink("other-text", "xyz");
    for (const char* link : {"to-file", "to-folder", "dangling", "same-text", "other-text"}) {
        source.setMtime(link, kTime);
    }
    target.setMtime("same-text", kTime);
    target.setMtime("other-text", kTime);
    const MergeSummary summary = analyze();

    const auto kinds = kindsByPath(summary);
    EXPECT_EQ(kinds.count("to-folder/file.txt"), 0U) << "a link to a folder was walked";
    EXPECT_EQ(kinds.at("to-file"), FileDiffKind::added);
    EXPECT_EQ(kinds.at("to-folder"), FileDiffKind::added);
    EXPECT_EQ(kinds.at("dangling"), FileDiffKind::added);
    EXPECT_EQ(itemAt(summary, "dangling").sourceSize,
              static_cast<std::int64_t>(std::string("nowhere/at/all").size()));
    EXPECT_EQ(kinds.at("same-text"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("other-text"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("real/file.txt"), FileDiffKind::added);
}

TEST_F(FolderAnalysisTest, ALinkFacingAFileOfTheSameSizeAndTimeIsUpdated) {
    source.symlink("entry", "abc");
    source.setMtime("entry", kTime);
    target.file("entry", "abc", kTime);
    EXPECT_EQ(itemAt(analyze(), "entry").kind, FileDiffKind::updated);
}

// The target side follows its links, as an existence test would: a file reached through a
// link in the target is compared with the source file.
TEST_F(FolderAnalysisTest, ATargetLinkToAnEqualFileCountsAsIdentical) {
    source.file("doc.txt", "equal", kTime);
    target.file("store/doc.txt", "equal", kTime);
    target.symlink("doc.txt", "store/doc.txt");
    target.symlink("gone.txt", "store/missing.txt");
    source.file("gone.txt", "g");
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at("doc.txt"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("gone.txt"), FileDiffKind::added);
}

// A FIFO must never be opened: that would block the walk for good.
TEST_F(FolderAnalysisTest, FifosAndSocketsNeverBlockTheWalk) {
    source.fifo("both-fifo");
    target.fifo("both-fifo");
    source.fifo("new-fifo");
    source.file("file-vs-fifo", "", kTime);
    target.fifo("file-vs-fifo");
    source.fifo("fifo-vs-file");
    target.file("fifo-vs-file", "", kTime);
    source.socket("sock");
    target.socket("sock");
    for (const char* name : {"both-fifo", "file-vs-fifo", "sock"}) {
        source.setMtime(name, kTime);
        target.setMtime(name, kTime);
    }
    source.setMtime("fifo-vs-file", kTime);
    const auto kinds = kindsByPath(analyze());
    EXPECT_EQ(kinds.at("both-fifo"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("new-fifo"), FileDiffKind::added);
    EXPECT_EQ(kinds.at("file-vs-fifo"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("fifo-vs-file"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("sock"), FileDiffKind::identical);
}

// ---- junk --------------------------------------------------------------------------------

TEST(JunkFilterTest, MatchesTheTableExactly) {
    for (const char* name :
         {".DS_Store", ".localized", "Thumbs.db", "desktop.ini", "._x", "._", "$RECYCLE.BIN",
          "System Volume Information", ".Spotlight-V100", ".Trashes", ".fseventsd"}) {
        EXPECT_TRUE(APFSEngine::isJunkFile(std::string("a/") + name, name)) << name;
    }
    for (const char* name : {"thumbs.db", "DS_Store", ".ds_store", "Desktop.ini", "_.x", "x._y",
                             ".DS_Store.bak", "Thumbs.db ", ".sorrelixfoo"}) {
        EXPECT_FALSE(APFSEngine::isJunkFile(name, name)) << name;
    }
    EXPECT_TRUE(APFSEngine::isJunkFile(".sorrelix", ".sorrelix"));
    EXPECT_TRUE(APFSEngine::isJunkFile(".sorrelix/backups/0a1b2c3d/f", "f"));
    EXPECT_TRUE(APFSEngine::isJunkFile("a/b/.sorrelix/f", "f"));
    EXPECT_FALSE(APFSEngine::isJunkFile("a/.sorrelix", ".sorrelix"));
    EXPECT_FALSE(APFSEngine::isJunkFile("photos.sorrelix/z", "z"));
    EXPECT_FALSE(APFSEngine::isJunkFile("x.sorrelix/y", "y"));
}

TEST_F(FolderAnalysisTest, JunkFilesAreSkippedInEveryFolder) {
    for (const std::string folder : {"", "sub/", "sub/deeper/"}) {
        for (const char* junk : {".DS_Store", "Thumbs.db", "._photo.jpg", "desktop.ini"}) {
            source.file(folder + junk, "junk");
        }
        source.file(folder + "thumbs.db", "kept");
        source.file(folder + "DS_Store", "kept");
    }
    const auto paths = itemPaths(analyze());
    const std::set<std::string> got(paths.begin(), paths.end());
    EXPECT_EQ(got, (std::set<std::string>{"thumbs.db", "DS_Store", "sub/thumbs.db", "sub/DS_Store",
                                          "sub/deeper/thumbs.db", "sub/deeper/DS_Store"}));
}

// Only an entry's own name is tested: a folder named like junk is walked, its files kept.
TEST_F(FolderAnalysisTest, FilesInsideJunkNamedFoldersAreCompared) {
    source.file(".Trashes/old.txt", "o");
    source.file("$RECYCLE.BIN/bin.txt", "b");
    source.file("._folder/inner.txt", "i");
    source.file("System Volume Information/x", "x");
    const auto paths = itemPaths(analyze());
    const std::set<std::string> got(paths.begin(), paths.end());
    EXPECT_EQ(got, (std::set<std::string>{".Trashes/old.txt", "$RECYCLE.BIN/bin.txt",
                                          "._folder/inner.txt", "System Volume Information/x"}));
}

// Rules leave entries out before anything else; junk is not counted as left out, and a
// folder a rule matches is never entered: no open of it reaches inotify.
TEST_F(FolderAnalysisTest, ExcludeRulesLeaveOutEntriesAndNeverEnterExcludedFolders) {
    for (const char* path : {"a.tmp", "keep.txt", "build", "sub/build/o.o", "sub/top.txt",
                             "top.txt", "sub/deep/x.tmp", "Thumbs.db"}) {
        source.file(path, "x");
    }
    source.folder("node_modules");
    for (int i = 0; i < 10000; ++i) {
        const std::string name = source.path("node_modules/m" + std::to_string(i) + ".js");
        ::close(::open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, source.path("node_modules").c_str(), IN_OPEN), 0);
    const auto rules =
        ExcludeRules::compile({"# comment", "*.tmp", "node_modules/", "build/", "/top.txt"});
    const MergeSummary summary =
        APFSEngine::shared().analyzeNow(source.root(), target.root(), nullptr, rules);
    const auto paths = itemPaths(summary);
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()),
              (std::set<std::string>{"keep.txt", "build", "sub/top.txt"}));
    // a.tmp, sub/deep/x.tmp, top.txt, node_modules/ and sub/build/: entries matched directly
    EXPECT_EQ(summary.excludedCount, 5);
    char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the excluded folder was opened";
    ::close(watch);
}

TEST_F(FolderAnalysisTest, BackupAreasAreLeftOutOnBothSides) {
    source.file(".sorrelix/backups/0a1b2c3d/file.txt", "backup");
    source.file("album/.sorrelix/backups/00000000/x", "nested backup");
    source.file("photos.sorrelix/z", "kept");
    source.file(".sorrelixfoo", "kept");
    source.file("album/.sorrelix-not", "kept");
    target.file(".sorrelix/backups/0a1b2c3d/file.txt", "target backup");
    target.file(".sorrelix/backups/0a1b2c3d/other.txt", "target backup");
    const auto paths = itemPaths(analyze());
    const std::set<std::string> got(paths.begin(), paths.end());
    EXPECT_EQ(got,
              (std::set<std::string>{"photos.sorrelix/z", ".sorrelixfoo", "album/.sorrelix-not"}));
}

TEST_F(FolderAnalysisTest, AFileNamedSorrelixCountsOnlyAtTheTop) {
    source.file(".sorrelix", "top");
    source.file("deep/.sorrelix", "deeper");
    EXPECT_EQ(itemPaths(analyze()), std::vector<std::string>{"deep/.sorrelix"});
}

// ---- walk order --------------------------------------------------------------------------

TEST_F(FolderAnalysisTest, ItemsKeepTheOrderOfOneDepthFirstWalk) {
    for (const char* path : {"a1", "b/b1", "b/c/c1", "b/c/c2", "b/b2", "d/e/f/g/g1", "d/d1", "z",
                             "m/n1", "m/o/o1", "m/o/p/p1", "m/q", "y/empty-folder-sibling"}) {
        source.file(path, path);
    }
    source.folder("x/empty");
    pair("b/c/c1", "b/c/c1", "b/c/c1");
    EXPECT_EQ(itemPaths(analyze()), referenceWalk(source.root()));
}

TEST_F(FolderAnalysisTest, ALargeFlatFolderKeepsReaddirOrder) {
    constexpr int kFiles = 20000;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "file-" + std::to_string(i);
        source.file(name, name);
        if (i % 2 == 0) target.file(name, name);
        if (i % 5000 == 0) source.file("sub-" + std::to_string(i) + "/inner", "i");
    }
    const MergeSummary summary = analyze();
    EXPECT_EQ(itemPaths(summary), referenceWalk(source.root()));
    EXPECT_EQ(summary.identicalCount, kFiles / 2);
    EXPECT_EQ(summary.addedCount, kFiles / 2 + 4);
}

// readdir order differs between file systems (hash order on ext4, B-tree order on XFS, the
// reverse of creation on tmpfs); the items follow whatever the listing gives.
struct ScratchMount {
    const char* name;
    std::string (*directory)();
};

class WalkOrderOnMountTest : public ::testing::TestWithParam<ScratchMount> {
protected:
    void SetUp() override {
        const std::string directory = GetParam().directory();
        if (directory.empty()) {
            GTEST_SKIP() << "no " << GetParam().name << " scratch mount (set SORRELIX_"
                         << GetParam().name << "_DIR, see scripts/scratch-fs.sh)";
        }
        source.emplace(directory);
        target.emplace(directory);
    }
    void TearDown() override {
        if (source) removeContents(source->root());
        if (target) removeContents(target->root());
    }

    ScopedConfigHome config;
    std::optional<FileTree> source;
    std::optional<FileTree> target;
};

TEST_P(WalkOrderOnMountTest, ItemsFollowTheListingOfThisFileSystem) {
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "f" + std::to_string(i * 7919 % 3000);
        source->file(name, name);
        if (i % 3 == 0) target->file(name, name);
        if (i % 500 == 0) source->file("d" + std::to_string(i) + "/x/y", "y");
    }
    const MergeSummary summary = APFSEngine::shared().analyzeNow(source->root(), target->root());
    expectConsistent(summary);
    EXPECT_EQ(itemPaths(summary), referenceWalk(source->root()));
    EXPECT_EQ(summary.identicalCount, 1000);
}

INSTANTIATE_TEST_SUITE_P(ScratchMounts, WalkOrderOnMountTest,
                         ::testing::Values(ScratchMount{"XFS", &sorrelix::testing::xfsScratchDir},
                                           ScratchMount{"EXT4",
                                                        &sorrelix::testing::ext4ScratchDir}),
                         [](const auto& info) { return std::string(info.param.name); });

// A path longer than PATH_MAX is still walked and compared.
TEST_F(FolderAnalysisTest, TreesDeeperThanPathMaxAreWalked) {
    const std::string component(200, 'd');
    std::string relative;
    for (FileTree* tree : {&source, &target}) {
        int fd = ::open(tree->root().c_str(), O_RDONLY | O_DIRECTORY);
        relative.clear();
        for (int level = 0; level < 25; ++level) {
            ASSERT_EQ(::mkdirat(fd, component.c_str(), 0755), 0);
            const int next = ::openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
            relative += component + "/";
        }
        const int file = ::openat(fd, "leaf.txt", O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::write(file, tree == &source ? "new" : "old", 3), 3);
        const timespec times[2] = {{1'700'000'000, 0}, {1'700'000'000, 0}};
        ::futimens(file, times);
        ::close(file);
        ::close(fd);
    }
    const MergeSummary summary = analyze();
    ASSERT_GT(relative.size(), std::size_t{PATH_MAX});
    ASSERT_EQ(summary.items.size(), 1U);
    EXPECT_EQ(summary.items[0].relativePath, relative + "leaf.txt");
    EXPECT_EQ(summary.items[0].kind, FileDiffKind::updated);
}

// ---- folders that cannot be used ---------------------------------------------------------

TEST_F(FolderAnalysisTest, AMissingOrNonFolderSourceOrTargetGivesTheFailureSummary) {
    source.file("a", "a");
    target.file("plain-file", "f");
    expectFailure(analyze(source.path("missing"), target.root()));
    expectFailure(analyze(source.root(), target.path("missing")));
    expectFailure(analyze(source.path("a"), target.root()));
    expectFailure(analyze(source.root(), target.path("plain-file")));
    expectFailure(analyze("", target.root()));
}

TEST_F(FolderAnalysisTest, FolderPathsWithTrailingSlashesOrThroughLinksAreAccepted) {
    source.file("a", "a");
    target.symlink("via-link", source.root());
    const MergeSummary slashed = analyze(source.root() + "///", target.root() + "/");
    EXPECT_EQ(itemPaths(slashed), std::vector<std::string>{"a"});
    const MergeSummary linked = analyze(target.path("via-link"), source.root());
    EXPECT_EQ(linked.identicalCount, 1);
}

// It also counts: every item, and the byte of each side that "x/y" was compared by.
TEST_F(FolderAnalysisTest, TheAsynchronousFormGivesTheSameSummary) {
    pair("x/y", "1", "2");
    source.file("z", "z");
    auto progress = std::make_shared<AnalysisProgress>();
    QFuture<MergeSummary> future =
        APFSEngine::shared().analyze(source.root(), target.root(), progress);
    const MergeSummary summary = future.result();
    EXPECT_EQ(encodeJson(summary), encodeJson(analyze()));
    EXPECT_EQ(progress->filesCompared, 2);
    EXPECT_EQ(progress->bytesRead, 2);
}

// Cancelled before it starts, the walk compares nothing; cancelled once it runs, it stops
// long before its end, and either way its summary says it was cancelled.
TEST_F(FolderAnalysisTest, CancelStopsTheWalkAtItsNextEntry) {
    constexpr int kNames = 2000;  // 16 GiB to read in all
    sorrelix::testing::makeSlowToComparePair(source, target, kNames, 4 << 20);
    for (const bool beforeStart : {true, false}) {
        auto progress = std::make_shared<AnalysisProgress>();
        if (beforeStart) progress->requestCancel();
        QFuture<MergeSummary> future =
            APFSEngine::shared().analyze(source.root(), target.root(), progress);
        while (progress->filesCompared == 0 && !future.isFinished()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        progress->requestCancel();
        const MergeSummary summary = future.result();
        EXPECT_EQ(summary.errorMessage, text::loc("alert_cancel_analysis"));
        EXPECT_TRUE(summary.items.empty());
        EXPECT_LT(progress->filesCompared, beforeStart ? 1 : kNames / 2);
    }
}

// ---- files the walk may not read -------------------------------------------------------

class UnprivilegedAnalysisTest : public FolderAnalysisTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
        source.chmod("", 0755);  // temporary folders start private to their owner
        target.chmod("", 0755);
    }
    MergeSummary analyzeAsNobody() const {
        const auto json = runAsNobody([this] {
            const auto summary = APFSEngine::shared().analyzeNow(source.root(), target.root());
            return encodeJson(summary).toStdString();
        });
        if (!json) throw std::runtime_error("the unprivileged analysis failed");
        MergeSummary summary = decodeMergeSummary(QByteArray::fromStdString(*json));
        expectConsistent(summary);
        return summary;
    }
};

TEST_F(UnprivilegedAnalysisTest, AnUnreadableSourceSubfolderIsSilentlyLeftOut) {
    source.file("open/a.txt", "a");
    source.file("locked/b.txt", "b");
    source.file("locked/inner/c.txt", "c");
    source.file("z.txt", "z");
    source.chmod("locked", 0000);
    source.file("listless/d.txt", "d");
    source.chmod("listless", 0311);  // may be entered but not listed
    const MergeSummary summary = analyzeAsNobody();
    EXPECT_FALSE(summary.errorMessage.has_value());
    const auto paths = itemPaths(summary);
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()),
              (std::set<std::string>{"open/a.txt", "z.txt"}));
}

// A root that cannot be listed or searched must never pass for a folder in sync.
TEST_F(UnprivilegedAnalysisTest, ARootThatCannotBeExaminedGivesTheFailureSummary) {
    source.file("a.txt", "a");
    source.file("sub/b.txt", "b");
    target.file("a.txt", "a");
    for (const auto& [tree, mode] : std::vector<std::pair<const FileTree*, unsigned>>{
             {&source, 0311}, {&source, 0644}, {&target, 0600}, {&target, 0000}}) {
        SCOPED_TRACE(::testing::Message()
                     << (tree == &source ? "source " : "target ") << std::oct << mode);
        tree->chmod("", mode);
        expectFailure(analyzeAsNobody());
        tree->chmod("", 0755);
    }
}

// Below the root, a target place that cannot be examined answers as an existence test
// would: not found. The source files there are added, and the merge meets the obstacle.
TEST_F(UnprivilegedAnalysisTest, SourceFilesFacingAnUnsearchableTargetFolderAreAdded) {
    source.file("closed/a.txt", "a");
    source.file("closed/sub/b.txt", "b");
    source.file("free.txt", "f");
    target.file("closed/a.txt", "old a");
    target.chmod("closed", 0000);
    const auto kinds = kindsByPath(analyzeAsNobody());
    EXPECT_EQ(kinds, (std::map<std::string, FileDiffKind>{{"closed/a.txt", FileDiffKind::added},
                                                          {"closed/sub/b.txt", FileDiffKind::added},
                                                          {"free.txt", FileDiffKind::added}}));
}

// A target folder that may be entered but not listed is fine: the walk never lists the
// target, it only looks up the source's names in it.
TEST_F(UnprivilegedAnalysisTest, ATargetFolderThatCannotBeListedIsStillCompared) {
    pair("enter-only/same.txt", "same", "same");
    pair("enter-only/changed.txt", "new", "old");
    source.file("enter-only/new.txt", "n");
    target.chmod("enter-only", 0711);
    target.chmod("", 0711);
    const auto kinds = kindsByPath(analyzeAsNobody());
    EXPECT_EQ(kinds.at("enter-only/same.txt"), FileDiffKind::identical);
    EXPECT_EQ(kinds.at("enter-only/changed.txt"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("enter-only/new.txt"), FileDiffKind::added);
}

// Without read access the contents cannot be compared; such a file is not passed as equal.
TEST_F(UnprivilegedAnalysisTest, AnUnreadableFileWithMatchingMetadataIsUpdated) {
    pair("secret.txt", "same", "same");
    source.chmod("secret.txt", 0000);
    pair("other.txt", "same", "same");
    target.chmod("other.txt", 0000);
    const auto kinds = kindsByPath(analyzeAsNobody());
    EXPECT_EQ(kinds.at("secret.txt"), FileDiffKind::updated);
    EXPECT_EQ(kinds.at("other.txt"), FileDiffKind::updated);
}

// ---- a tree that changes during the walk -------------------------------------------------

// Files and folders vanish while the walk runs. Which ones it still sees depends on timing;
// what must hold is that the summary stays well formed and names only paths that existed.
TEST_F(FolderAnalysisTest, FilesVanishingDuringTheWalkNeverBreakTheSummary) {
    std::vector<std::string> all;
    for (int folder = 0; folder < 40; ++folder) {
        for (int file = 0; file < 60; ++file) {
            const std::string path =
                "f" + std::to_string(folder) + "/sub/file-" + std::to_string(file);
            pair(path, path, path);
            all.push_back(path);
        }
    }
    const std::set<std::string> known(all.begin(), all.end());
    std::shuffle(all.begin(), all.end(), std::mt19937(7));
    std::atomic<bool> started = false;
    std::thread remover([&] {
        while (!started) std::this_thread::yield();
        for (std::size_t i = 0; i < all.size(); ++i) {
            ::unlink(source.path(all[i]).c_str());
            if (i % 3 == 0) ::unlink(target.path(all[i]).c_str());
            if (i % 400 == 0) {
                std::error_code ignored;
                std::filesystem::remove_all(source.path("f" + std::to_string(i / 400)), ignored);
            }
        }
    });
    started = true;
    std::vector<MergeSummary> summaries;
    for (int round = 0; round < 3; ++round) summaries.push_back(analyze());
    remover.join();
    summaries.push_back(analyze());
    for (const auto& summary : summaries) {
        EXPECT_FALSE(summary.errorMessage.has_value());
        for (const auto& path : itemPaths(summary)) EXPECT_TRUE(known.count(path)) << path;
    }
    EXPECT_TRUE(summaries.back().items.empty());
}

}  // namespace
}  // namespace sorrelix::engine
