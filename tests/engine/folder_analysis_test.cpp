#include "folder_analysis.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "apfs_engine.h"
#include "entry_comparison.h"
#include "loc.h"
#include "record_json.h"
#include "safety_support.h"
#include "unique_fd.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::ScopedConfigHome;
using Kinds = std::map<std::string, FileDiffKind>;

constexpr double kTime = 1'700'000'000.0;
constexpr std::int64_t kLimit = FolderAnalysis::kContentCheckLimit;
constexpr auto added = FileDiffKind::added;
constexpr auto updated = FileDiffKind::updated;
constexpr auto identical = FileDiffKind::identical;

std::vector<std::string> itemPaths(const MergeSummary& summary) {
    std::vector<std::string> paths;
    for (const auto& item : summary.items) paths.push_back(item.relativePath);
    return paths;
}

std::set<std::string> pathSet(const MergeSummary& summary) {
    const auto paths = itemPaths(summary);
    return {paths.begin(), paths.end()};
}

const FileDiffItem& itemAt(const MergeSummary& summary, const std::string& path) {
    for (const auto& item : summary.items) {
        if (item.relativePath == path) return item;
    }
    throw std::runtime_error("no item for " + path);
}

Kinds kindsOf(const MergeSummary& summary) {
    Kinds kinds;
    for (const auto& item : summary.items) kinds[item.relativePath] = item.kind;
    return kinds;
}

// The counts and the byte total must be what the items say, item by item.
void expectConsistent(const MergeSummary& summary) {
    std::map<FileDiffKind, std::int64_t> counts;
    std::int64_t bytes = 0;
    for (const auto& item : summary.items) {
        ++counts[item.kind];
        if (item.kind != identical) bytes += item.sourceSize;
        EXPECT_EQ(item.targetDate.has_value(), item.kind != added) << item.relativePath;
        EXPECT_TRUE(item.kind != added || item.targetSize == 0) << item.relativePath;
    }
    EXPECT_EQ(summary.addedCount, counts[added]);
    EXPECT_EQ(summary.updatedCount, counts[updated]);
    EXPECT_EQ(summary.identicalCount, counts[identical]);
    EXPECT_EQ(summary.bytesToTransfer, bytes);
}

void expectFailure(const MergeSummary& summary) {
    EXPECT_EQ(summary.errorMessage, text::loc("alert_folder_inaccessible"));
    EXPECT_NE(summary.errorMessage, QStringLiteral("alert_folder_inaccessible"));
    EXPECT_TRUE(summary.items.empty());
}

class FolderAnalysisTest : public ::testing::Test {
protected:
    MergeSummary analyze(AnalysisProgress* progress = nullptr) const {
        return analyze(source.root(), target.root(), progress);
    }
    static MergeSummary analyze(const std::string& sourcePath, const std::string& targetPath,
                                AnalysisProgress* progress = nullptr) {
        MergeSummary summary = APFSEngine::shared().analyzeNow(sourcePath, targetPath, progress);
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

// Files only in the target are no concern of the summary. Only same-size, same-time files
// are read, on both sides.
TEST_F(FolderAnalysisTest, ClassifiesAddedUpdatedAndIdenticalWithTheirFields) {
    source.file("new.txt", "brand new", kTime + 5);
    source.file("fresh/deeper/b.txt", "b");
    pair("grown.txt", "longer text", "short");
    pair("same.txt", "same bytes", "same bytes", kTime, kTime + 0.25);
    target.files({{"only-in-target.txt", "t"}, {"deep/only/here.txt", "h"}});
    AnalysisProgress progress;
    const MergeSummary summary = analyze(&progress);

    ASSERT_EQ(kindsOf(summary), (Kinds{{"new.txt", added},
                                       {"fresh/deeper/b.txt", added},
                                       {"grown.txt", updated},
                                       {"same.txt", identical}}));
    EXPECT_EQ(itemAt(summary, "new.txt").sourceSize, 9);
    EXPECT_EQ(itemAt(summary, "new.txt").sourceDate, Date::fromSecondsSince1970(kTime + 5));
    EXPECT_EQ(itemAt(summary, "grown.txt").sourceSize, 11);
    EXPECT_EQ(itemAt(summary, "grown.txt").targetSize, 5);
    EXPECT_EQ(itemAt(summary, "same.txt").targetDate, Date::fromSecondsSince1970(kTime + 0.25));
    EXPECT_EQ(summary.bytesToTransfer, 9 + 1 + 11);
    EXPECT_EQ(progress.filesCompared, 4);
    EXPECT_EQ(progress.bytesRead, 2 * 10);
}

struct ComparisonRow {
    const char* name;
    const char* sourceContent;
    const char* targetContent;
    double sourceTime;
    double targetTime;
    FileDiffKind kind;
};

// Sizes first, then times (less than a second apart counts as equal), then the bytes.
TEST_F(FolderAnalysisTest, SizesThenTimesWithinASecondThenContentsDecide) {
    const ComparisonRow rows[] = {
        {"longer", "12345", "1234", kTime, kTime, updated},
        {"source-0.9-s-newer", "same", "same", kTime + 0.9, kTime, identical},
        {"target-0.999-s-newer", "same", "same", kTime, kTime + 0.999, identical},
        {"a-second-apart", "same", "same", kTime, kTime + 1.0, updated},
        {"a-second-back", "same", "same", kTime + 1.0, kTime, updated},
        {"other-bytes", "abc", "abd", kTime, kTime, updated},
        {"both-empty", "", "", kTime, kTime, identical},
        {".hidden", "h", "h", kTime, kTime, identical},
    };
    for (const auto& row : rows) {
        pair(row.name, row.sourceContent, row.targetContent, row.sourceTime, row.targetTime);
    }
    const Kinds kinds = kindsOf(analyze());
    for (const auto& row : rows) EXPECT_EQ(kinds.at(row.name), row.kind) << row.name;
}

// Files of at least 10485760 bytes are never read: differing contents go unnoticed there,
// while one byte less is compared to its last byte (across many read chunks).
TEST_F(FolderAnalysisTest, ContentIsComparedOnlyBelowTheLimit) {
    for (const std::int64_t size : {kLimit - 1, kLimit, kLimit + 1}) {
        std::string content(static_cast<std::size_t>(size), 'z');
        source.file(std::to_string(size), content);
        content.back() = 'y';
        target.file(std::to_string(size), content);
    }
    EXPECT_EQ(kindsOf(analyze()), (Kinds{{std::to_string(kLimit - 1), updated},
                                         {std::to_string(kLimit), identical},
                                         {std::to_string(kLimit + 1), identical}}));
}

// Equal files that no longer have the size their stats gave (they grew or shrank since)
// hold something else than what was examined, and count as different. Reading them is no
// access by the user: their access times stay.
TEST_F(FolderAnalysisTest, PairsWhoseSizeChangedSinceTheirStatDifferAndReadsLeaveNoTrace) {
    const timespec longAgo[2] = {{1, 0}, {static_cast<time_t>(kTime), 0}};
    const UniqueFd sourceDir(::open(source.root().c_str(), O_RDONLY | O_DIRECTORY));
    const UniqueFd targetDir(::open(target.root().c_str(), O_RDONLY | O_DIRECTORY));
    struct stat stats[2]{};
    for (const int dir : {sourceDir.get(), targetDir.get()}) {
        const UniqueFd file(::openat(dir, "f", O_WRONLY | O_CREAT, 0644));
        ASSERT_EQ(::write(file.get(), "abcd", 4), 4);
        ASSERT_EQ(::futimens(file.get(), longAgo), 0);
        ASSERT_EQ(::fstat(file.get(), &stats[dir == targetDir.get()]), 0);
    }
    EntryComparison comparison;
    for (const off_t size : {off_t{4}, off_t{3}, off_t{5}}) {
        stats[0].st_size = stats[1].st_size = size;
        EXPECT_EQ(
            comparison.sameContent(sourceDir.get(), "f", stats[0], targetDir.get(), "f", stats[1]),
            size == 4)
            << size;
    }
    ASSERT_EQ(::fstatat(targetDir.get(), "f", &stats[1], 0), 0);
    EXPECT_EQ(stats[1].st_atim.tv_sec, 1);
}

// A clone holds its original's bytes without reading them; one written in place since (its
// time put back) has new blocks once written back, and is read and found to differ.
TEST(SharedExtentsTest, ClonesAreNotReadButAnEditedCloneIsFound) {
    const std::string xfs = sorrelix::testing::xfsScratchDir();
    if (xfs.empty()) GTEST_SKIP() << "no XFS mount (scratch-fs.sh)";
    ScopedConfigHome config;
    const FileTree source(xfs);
    const FileTree target(xfs);
    const std::string bytes(200000, 'c');
    const timespec times[2] = {{static_cast<time_t>(kTime), 0}, {static_cast<time_t>(kTime), 0}};
    for (const char* name : {"clone", "edited"}) {
        source.file(name, bytes, kTime);
        target.file(name, "", kTime);
        const UniqueFd from(::open((source.root() + "/" + name).c_str(), O_RDONLY));
        const UniqueFd to(::open((target.root() + "/" + name).c_str(), O_WRONLY));
        ASSERT_EQ(::ioctl(to.get(), FICLONE, from.get()), 0) << std::strerror(errno);
        if (name == std::string("edited")) {
            ASSERT_EQ(::pwrite(to.get(), "e", 1, 4096), 1);
        }
        ASSERT_EQ(::futimens(to.get(), times), 0);
    }
    AnalysisProgress progress;
    const auto summary = APFSEngine::shared().analyzeNow(source.root(), target.root(), &progress);
    EXPECT_EQ(kindsOf(summary), (Kinds{{"clone", identical}, {"edited", updated}}));
    EXPECT_EQ(progress.bytesRead, 2 * 200000);  // the edited pair only
}

// Links are compared by their text and never followed in the source; the target side follows
// its links, as an existence test would. A FIFO is never opened: that would block the walk.
TEST_F(FolderAnalysisTest, EntriesThatAreNotPlainFilesAreComparedByWhatTheyAre) {
    source.files({{"real/file.txt", "content"},
                  {"doc.txt", "equal"},
                  {"gone.txt", "g"},
                  {"file-vs-folder", "I am a file"},
                  {"file-vs-fifo", ""}});
    source.symlinks({{"to-file", "real/file.txt"},
                     {"to-folder", "real"},
                     {"dangling", "nowhere/at/all"},
                     {"same-text", "abc"},
                     {"other-text", "abc"},
                     {"link-vs-file", "abc"}});
    target.files(
        {{"link-vs-file", "abc"}, {"store/doc.txt", "equal"}, {"file-vs-folder/inside.txt", "x"}});
    target.symlinks({{"same-text", "abc"},
                     {"other-text", "xyz"},
                     {"doc.txt", "store/doc.txt"},
                     {"gone.txt", "store/missing.txt"}});
    for (const char* fifo : {"both-fifo", "new-fifo"}) source.fifo(fifo);
    for (const char* fifo : {"both-fifo", "file-vs-fifo"}) target.fifo(fifo);
    source.socket("sock");
    target.socket("sock");
    const Kinds expected = {
        {"real/file.txt", added},    {"to-file", added},       {"to-folder", added},
        {"dangling", added},         {"same-text", identical}, {"other-text", updated},
        {"link-vs-file", updated},   {"doc.txt", identical},   {"gone.txt", added},
        {"file-vs-folder", updated}, {"both-fifo", identical}, {"new-fifo", added},
        {"file-vs-fifo", updated},   {"sock", identical}};
    for (const FileTree* tree : {&source, &target}) {
        for (const auto& [path, kind] : expected) {
            if (tree->exists(path)) tree->setMtime(path, kTime);
        }
    }
    const MergeSummary summary = analyze();
    EXPECT_EQ(kindsOf(summary), expected);
    EXPECT_EQ(itemAt(summary, "dangling").sourceSize, 14);  // the length of the link's text
}

// ---- what is left out ---------------------------------------------------------------------

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
    EXPECT_FALSE(APFSEngine::isJunkFile("photos.sorrelix/z", "z"));
}

// Rules and junk leave entries out in every folder (backup areas included), yet only an
// entry's own name counts: a folder named like junk is walked. Junk is not counted as left
// out, and a folder a rule matches is never entered: no open of it reaches inotify.
TEST_F(FolderAnalysisTest, ExcludedEntriesAndJunkAreLeftOutAndExcludedFoldersNeverEntered) {
    for (const char* path :
         {"a.tmp", "keep.txt", "build", "sub/build/o.o", "sub/top.txt", "top.txt", "sub/deep/x.tmp",
          "Thumbs.db", "node_modules/m.js", "sub/deep/.DS_Store", "._folder/inner.txt",
          "deep/.sorrelix", ".sorrelix/backups/0a1b2c3d/f", "album/.sorrelix/backups/0/x"}) {
        source.file(path, "x");
    }
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, source.path("node_modules").c_str(), IN_OPEN), 0);
    const auto rules =
        ExcludeRules::compile({"# comment", "*.tmp", "node_modules/", "build/", "/top.txt"});
    const MergeSummary summary =
        APFSEngine::shared().analyzeNow(source.root(), target.root(), nullptr, rules);
    EXPECT_EQ(pathSet(summary), (std::set<std::string>{"keep.txt", "build", "sub/top.txt",
                                                       "._folder/inner.txt", "deep/.sorrelix"}));
    // a.tmp, sub/deep/x.tmp, top.txt, node_modules/ and sub/build/: entries matched directly
    EXPECT_EQ(summary.excludedCount, 5);
    char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the excluded folder was opened";
    ::close(watch);
}

// ---- walk order ----------------------------------------------------------------------------

// The items follow the listing of each folder, whatever order the file system gives (the
// reverse of creation on tmpfs, hash order on ext4), depth first; 3000 names take the walk
// through several batches of one listing.
TEST_F(FolderAnalysisTest, ItemsFollowTheListingOfEachFolderDepthFirst) {
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "f" + std::to_string(i * 7919 % 3000);
        source.file(name, name);
        if (i % 3 == 0) target.file(name, name);
    }
    for (const char* path : {"b/b1", "b/c/c1", "b/c/c2", "b/b2", "d/e/f/g/g1", "d/d1", "m/n1",
                             "m/o/o1", "m/o/p/p1", "m/q"}) {
        source.file(path, path);
    }
    source.folder("x/empty");
    // The walk order the analysis promises: each folder's entries as readdir lists them, a
    // subfolder's files in the place of the subfolder.
    std::vector<std::string> expected;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source.root())) {
        if (!entry.is_directory())
            expected.push_back(entry.path().lexically_relative(source.root()));
    }
    const MergeSummary summary = analyze();
    EXPECT_EQ(itemPaths(summary), expected);
    EXPECT_EQ(summary.identicalCount, 1000);
}

TEST_F(FolderAnalysisTest, TreesDeeperThanPathMaxAreWalked) {
    std::string deep;
    for (int level = 0; level < 25; ++level) deep += std::string(200, 'd') + "/";
    sorrelix::testing::writeDeep(source.root(), deep + "leaf.txt", "new");
    sorrelix::testing::writeDeep(target.root(), deep + "leaf.txt", "old");
    EXPECT_EQ(kindsOf(analyze()), (Kinds{{deep + "leaf.txt", updated}}));
}

// ---- folders that cannot be used -------------------------------------------------------

// A missing or non-folder source or target gives the failure summary; trailing slashes and
// links to a folder are fine.
TEST_F(FolderAnalysisTest, SourceAndTargetMustBeFolders) {
    source.file("a", "a");
    target.symlink("via-link", source.root());
    expectFailure(analyze(source.path("missing"), target.root()));
    expectFailure(analyze(source.root(), target.path("missing")));
    expectFailure(analyze(source.path("a"), target.root()));
    expectFailure(analyze(source.root(), source.path("a")));
    expectFailure(analyze("", target.root()));
    EXPECT_EQ(itemPaths(analyze(source.root() + "///", target.root() + "/")),
              std::vector<std::string>{"a"});
    EXPECT_EQ(analyze(target.path("via-link"), source.root()).identicalCount, 1);
}

// ---- what an unprivileged user may not read --------------------------------------------------

class UnprivilegedAnalysisTest : public FolderAnalysisTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
        source.chmod("", 0755);  // temporary folders start private to their owner
        target.chmod("", 0755);
    }
    MergeSummary analyzeAsNobody() const {
        const auto json = sorrelix::testing::runAsNobody([this] {
            return encodeJson(APFSEngine::shared().analyzeNow(source.root(), target.root()))
                .toStdString();
        });
        if (!json) throw std::runtime_error("the unprivileged analysis failed");
        MergeSummary summary = decodeMergeSummary(QByteArray::fromStdString(*json));
        expectConsistent(summary);
        return summary;
    }
};

// A source folder that cannot be read is left out silently. A target place that cannot be
// examined answers as an existence test would: not found, so the merge meets the obstacle; a
// target folder that may be entered but not listed is fine, as the walk only looks names up.
// A file whose bytes cannot be read is never passed as equal.
TEST_F(UnprivilegedAnalysisTest, WhatCannotBeReadIsLeftOutOrNeverPassedAsEqual) {
    source.files({{"open/a.txt", "a"},
                  {"locked/inner/c.txt", "c"},
                  {"listless/d.txt", "d"},
                  {"closed/a.txt", "a"},
                  {"closed/sub/b.txt", "b"},
                  {"enter-only/new.txt", "n"}});
    source.chmod("locked", 0000);
    source.chmod("listless", 0311);
    target.file("closed/a.txt", "old a");
    target.chmod("closed", 0000);
    pair("enter-only/same.txt", "same", "same");
    pair("enter-only/changed.txt", "new", "old");
    target.chmod("enter-only", 0711);
    target.chmod("", 0711);
    pair("secret.txt", "same", "same");
    source.chmod("secret.txt", 0000);
    pair("other.txt", "same", "same");
    target.chmod("other.txt", 0000);
    const MergeSummary summary = analyzeAsNobody();
    EXPECT_FALSE(summary.errorMessage.has_value());
    EXPECT_EQ(kindsOf(summary), (Kinds{{"open/a.txt", added},
                                       {"closed/a.txt", added},
                                       {"closed/sub/b.txt", added},
                                       {"enter-only/same.txt", identical},
                                       {"enter-only/changed.txt", updated},
                                       {"enter-only/new.txt", added},
                                       {"secret.txt", updated},
                                       {"other.txt", updated}}));
}

// A root that cannot be listed or searched must never pass for a folder in sync.
TEST_F(UnprivilegedAnalysisTest, ARootThatCannotBeExaminedGivesTheFailureSummary) {
    source.files({{"a.txt", "a"}, {"sub/b.txt", "b"}});
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

// ---- a tree that changes during the walk -------------------------------------------------

// Files and folders vanish while the walk runs. Which ones it still sees depends on timing;
// what must hold is that the summary stays well formed and names only paths that existed.
TEST_F(FolderAnalysisTest, FilesVanishingDuringTheWalkNeverBreakTheSummary) {
    std::vector<std::string> all;
    for (int file = 0; file < 2400; ++file) {
        all.push_back("f" + std::to_string(file % 40) + "/sub/file-" + std::to_string(file));
        pair(all.back(), all.back(), all.back());
    }
    const std::set<std::string> known(all.begin(), all.end());
    std::shuffle(all.begin(), all.end(), std::mt19937(7));
    std::thread remover([&] {
        for (std::size_t i = 0; i < all.size(); ++i) {
            ::unlink(source.path(all[i]).c_str());
            if (i % 3 == 0) ::unlink(target.path(all[i]).c_str());
            if (i % 400 == 0)
                std::filesystem::remove_all(source.path("f" + std::to_string(i / 400)));
        }
    });
    std::vector<MergeSummary> summaries;
    for (int round = 0; round < 3; ++round) summaries.push_back(analyze());
    remover.join();
    summaries.push_back(analyze());
    for (const auto& summary : summaries) {
        EXPECT_FALSE(summary.errorMessage.has_value());
        for (const auto& path : itemPaths(summary)) EXPECT_TRUE(known.contains(path)) << path;
    }
    EXPECT_TRUE(summaries.back().items.empty());
}

}  // namespace
}  // namespace sorrelix::engine
