// Merges and undos that fail part-way: full disks, missing permissions, trees that change
// between analysis and merge, and system calls made to fail. Each case checks the error the
// user gets and that every file of the target is still at its place or in the backup.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "cli_child.h"
#include "safety_support.h"
#include "unique_fd.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;

constexpr double kNewer = kTreeTime + 60;

// ---- a full disk at the first, a middle and the last file -------------------------------

struct FullDiskCase {
    const char* name;
    std::size_t position;  // of the file that does not fit, in the work list
    bool added;            // whether that file is new to the target or replaces one
};

class FullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDiskTest, TheFileThatDoesNotFitFailsWithEnospcAndNothingIsLost) {
    const Tmpfs disk("4m");
    if (disk.path().empty()) GTEST_SKIP() << "needs root to mount a small tmpfs";
    const ScopedConfigHome config;
    const FileTree source;
    const FileTree target(disk.path());
    std::vector<std::string> order;
    for (char i = 0; i < 6; ++i) {
        order.push_back("docs/f" + std::to_string(i) + ".txt");
        source.file(order.back(), std::string(16 << 10, 'a' + i), kNewer);
        target.file(order.back(), std::string(8 << 10, 'A' + i));
    }
    source.file("big.bin", std::string(3 << 20, 'b'), kNewer);
    if (!GetParam().added) target.file("big.bin", std::string(256 << 10, 'B'));
    order.insert(order.begin() + static_cast<long>(GetParam().position), "big.bin");
    const auto summary = analyzed(source, target, order);
    // Leave about 1 MiB: room for every small file, not for the big one.
    target.file("filler.bin",
                std::string(std::filesystem::space(disk.path()).available - (1 << 20), 'f'));
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    EXPECT_EQ(outcomeOf([&] {
                  APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, {});
              }),
              "SorrelixEngine|28|Failed to copy big.bin (errno: 28)");
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
    // Every file before the full one holds its new version, every one after it its old one.
    const TreeSnapshot after = TreeSnapshot::of(target.root());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const EntryState* now = after.find(order[i]);
        const EntryState* expected =
            (i < GetParam().position ? sourceState : before).find(order[i]);
        EXPECT_TRUE(now && expected ? now->sameAs(*expected) : now == expected) << order[i];
    }
    // What it copied before the full disk stays undoable.
    EXPECT_EQ(APFSEngine::shared().loadSessionRecords().at(0).outcome,
              engine::MergeOutcome::failed);
    EXPECT_EQ(undoOfNewestViolations(before, target.root()), "");
}

INSTANTIATE_TEST_SUITE_P(Positions, FullDiskTest,
                         ::testing::Values(FullDiskCase{"FirstReplacing", 0, false},
                                           FullDiskCase{"MiddleAdded", 3, true},
                                           FullDiskCase{"LastReplacing", 6, false}),
                         byName);

// ---- permissions, and trees that change between analysis and merge ----------------------

class FaultTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(FaultTest, TheMergeStopsWithTheSystemsReasonAndNothingIsLost) {
    expectMergeCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Permissions, FaultTest,
    ::testing::Values(
        MergeCase{"UnreadableSourceFile",
                  [](const Scene& s) {
                      s.source.files({{"docs/a.txt", "one"}, {"docs/b.txt", "private"}});
                      s.source.chmod("docs/b.txt", 0600);
                      s.source.file("docs/c.txt", "three", kNewer);
                      s.target.file("docs/c.txt", "old three");
                  },
                  R"(SorrelixEngine\|13\|Failed to copy docs/b\.txt \(errno: 13\))",
                  {},
                  {"docs/a.txt", "docs/b.txt", "docs/c.txt"},
                  true},
        MergeCase{"ReadOnlyTargetFolderHoldingAReplacedFile",
                  [](const Scene& s) {
                      s.source.file("docs/old.txt", "new", kNewer);
                      s.target.file("docs/old.txt", "old");
                      s.target.chmod("docs", 0555);
                  },
                  "POSIX\\|13\\|Could not move “docs/old\\.txt” into the backup folder: "
                  "Permission denied",
                  {},
                  {},
                  true}),
    byName);

// a.txt and z.txt added, u.txt updated, in this order; `change` comes after the analysis.
MergeCase changedAfterAnalysis(const char* name, const char* expected,
                               std::function<void(const Scene&)> change) {
    const auto build = [](const Scene& s) {
        s.source.files({{"a.txt", "added"}, {"z.txt", "also added"}});
        s.source.file("u.txt", "new version", kNewer);
        s.target.file("u.txt", "old version");
    };
    return {name, build, expected, std::move(change), {"a.txt", "u.txt", "z.txt"}};
}

INSTANTIATE_TEST_SUITE_P(
    ChangedAfterAnalysis, FaultTest,
    ::testing::Values(
        changedAfterAnalysis("SourceFileDeleted",
                             R"(SorrelixEngine\|2\|Failed to copy u\.txt \(errno: 2\))",
                             [](const Scene& s) { ::unlink(s.source.path("u.txt").c_str()); }),
        changedAfterAnalysis("SourceFileReplacedByAFolder",
                             R"(SorrelixEngine\|21\|Failed to copy u\.txt \(errno: 21\))",
                             [](const Scene& s) {
                                 ::unlink(s.source.path("u.txt").c_str());
                                 s.source.file("u.txt/inside", "x");
                             }),
        changedAfterAnalysis(
            "TargetFileReplacedByAFolder", "ok",
            [](const Scene& s) {
                ::unlink(s.target.path("u.txt").c_str());
                s.target.files({{"u.txt/inner.txt", "inner"}, {"u.txt/sub/deeper", "deeper"}});
            }),
        changedAfterAnalysis("TargetFileDeleted", "ok",
                             [](const Scene& s) { ::unlink(s.target.path("u.txt").c_str()); })),
    byName);

// ---- undo that cannot finish -----------------------------------------------------------

TEST(UndoFaultTest, ABackupWhoseFolderVanishedStaysBackedUpUntilTheFolderIsBack) {
    Scene s;
    s.source.files({{"a/b/x.txt", "new x"}, {"y.txt", "new y"}}, kNewer);
    s.target.files({{"a/b/x.txt", "old x"}, {"y.txt", "old y"}});
    s.source.file("added.txt", "added");
    s.takeSnapshots();
    const auto record = APFSEngine::shared().executeMergeNow(s.source.root(), s.target.root(),
                                                             analyzed(s.source, s.target), {});
    std::filesystem::remove_all(s.target.path("a/b"));

    EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }),
              "POSIX|2|Could not restore “a/b/x.txt”: its folder “a/b” is missing from the "
              "target: No such file or directory");
    EXPECT_EQ(s.target.read(".sorrelix/backups/" + record.id + "/a/b/x.txt"), "old x");
    // Once the folder is back, undoing again finishes the job.
    s.target.folder("a/b");
    EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }), "ok");
    EXPECT_EQ(undoViolations(s.before, s.target.root(), record.id), "");
}

// An undo that fails after putting back one of the entries that stood where added files
// went must not, when run again, delete that entry as if it were the added file.
TEST(UndoFaultTest, AnUndoRunAgainAfterAFailureKeepsWhatItAlreadyRestored) {
    if (!straceAvailable()) GTEST_SKIP() << "strace is not installed";
    Scene s;
    const std::vector<std::string> names = {"one.txt", "two.txt", "three.txt"};
    for (const auto& name : names) s.source.file(name, "the source's");
    const auto summary = analyzed(s.source, s.target);
    for (const auto& name : names) s.target.file(name, "written meanwhile as " + name);
    s.takeSnapshots();
    const auto record =
        APFSEngine::shared().executeMergeNow(s.source.root(), s.target.root(), summary, {});

    const ChildOutcome failed =
        runCli(s.config, {"undo", record.id}, {.injections = {"renameat:error=EIO:when=2"}});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(std::regex_match(failed.err,
                                 std::regex("sorrelix-cli: Could not move “(one|two|three)\\.txt” "
                                            "back from the backup folder: Input/output error "
                                            "\\(domain POSIX, code 5\\)\n")))
        << failed.err;
    EXPECT_EQ(s.mergeViolations(), "");
    const ChildOutcome again = runCli(s.config, {"undo", record.id});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(undoViolations(s.before, s.target.root(), record.id), "");
}

// ---- system calls made to fail ---------------------------------------------------------

constexpr int kFirstReplaced = -1;

struct InjectedCase {
    const char* name;
    std::vector<std::string> injections;  // strace fault expressions; %w: see below
    int failingItem;                      // index into the work list, or kFirstReplaced
    std::string expected;  // standard error as a regular expression; %s: the failing item
    bool needsCopyRange;   // only where files are copied by copy_file_range, not cloned
};

// Standard error of a merge that failed to copy the failing item with `errorNumber`.
std::string copyFailed(int errorNumber) {
    const std::string code = std::to_string(errorNumber);
    return "sorrelix-cli: Failed to copy %s \\(errno: " + code +
           "\\) \\(domain SorrelixEngine, code " + code + "\\)\n";
}

bool clonesWorkIn(const FileTree& tree) {
    tree.file("probe", "x");
    const engine::UniqueFd from(::open(tree.path("probe").c_str(), O_RDONLY));
    const engine::UniqueFd to(::open(tree.path("clone").c_str(), O_WRONLY | O_CREAT, 0600));
    const bool cloned = ::ioctl(to.get(), FICLONE, from.get()) == 0;
    std::filesystem::remove(tree.path("probe"));
    std::filesystem::remove(tree.path("clone"));
    return cloned;
}

class InjectedFaultTest : public ::testing::TestWithParam<InjectedCase> {};

TEST_P(InjectedFaultTest, TheMergeReportsTheFailedCallAndLosesNothing) {
    if (!straceAvailable()) GTEST_SKIP() << "strace is not installed";
    Scene s;
    if (GetParam().needsCopyRange && clonesWorkIn(s.target))
        GTEST_SKIP() << "files are cloned here: copy_file_range is never called";
    s.source.files({{"a.txt", "added a"}, {"c/e.txt", "added e"}});
    s.source.files({{"b.txt", "new b"}, {"c/d.txt", "new d"}}, kNewer);
    s.target.files({{"b.txt", "old b"}, {"c/d.txt", "old d"}, {"kept.txt", "kept"}});
    std::vector<std::string> work;  // in the order the merge takes, which is the walk's
    for (const auto& item : analyzed(s.source, s.target).items)
        if (item.kind != engine::FileDiffKind::identical) work.push_back(item.relativePath);
    const auto replaced = std::find_if(work.begin(), work.end(), [](const auto& path) {
        return path == "b.txt" || path == "c/d.txt";
    });
    const std::size_t failing = GetParam().failingItem == kFirstReplaced
                                    ? static_cast<std::size_t>(replaced - work.begin())
                                    : static_cast<std::size_t>(GetParam().failingItem);
    s.takeSnapshots();

    // Every file here is short and not empty: copy_file_range copies it in one call, so call
    // i+1 is the one for work item i ("%w").
    CliOptions options;
    for (const auto& inject : GetParam().injections) {
        options.injections.push_back(
            std::regex_replace(inject, std::regex("%w"), std::to_string(failing + 1)));
    }
    const ChildOutcome outcome =
        runCli(s.config, {"merge", s.source.root(), s.target.root()}, options);
    const std::string item = std::regex_replace(work.at(failing), std::regex("\\."), "\\.");
    // A merge that had begun names itself for undo.
    const std::string undoHint =
        "(sorrelix-cli: what merge [0-9a-f]{8} copied can be taken back with 'sorrelix-cli "
        "undo [0-9a-f]{8}'\n)?";
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(std::regex_match(
        outcome.err,
        std::regex(std::regex_replace(GetParam().expected, std::regex("%s"), item) + undoHint)))
        << outcome.err;
    EXPECT_EQ(s.mergeViolations(), "");
    if (!APFSEngine::shared().loadSessionRecords().empty()) {
        EXPECT_EQ(undoOfNewestViolations(s.before, s.target.root()), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, InjectedFaultTest,
    ::testing::Values(
        InjectedCase{
            "CopyRangeEnospc", {"copy_file_range:error=ENOSPC:when=%w"}, 1, copyFailed(28), true},
        InjectedCase{"CopyRangeEio", {"copy_file_range:error=EIO:when=%w"}, 3, copyFailed(5), true},
        InjectedCase{
            "LinkIntoPlaceEnospc", {"linkat:error=ENOSPC:when=2"}, 1, copyFailed(28), false},
        InjectedCase{"AttributesEio", {"flistxattr:error=EIO:when=3"}, 2, copyFailed(5), false},
        InjectedCase{"TimesEio", {"utimensat:error=EIO:when=1"}, 0, copyFailed(5), false},
        InjectedCase{"BackupMoveEio",
                     {"renameat2:error=EIO:when=1"},
                     kFirstReplaced,
                     "sorrelix-cli: Could not move “%s” into the backup folder: "
                     "Input/output error \\(domain POSIX, code 5\\)\n",
                     false},
        InjectedCase{"BackupFolderEnospc",
                     {"mkdirat:error=ENOSPC:when=2+"},  // the first makes the lock's folder
                     0,
                     "sorrelix-cli: Could not create the backup folder “.*/\\.sorrelix/backups/"
                     "[0-9a-f]{8}”: No space left on device \\(domain POSIX, code 28\\)\n",
                     false},
        // The copy fails and so does the move of the old version back: it stays in the backup.
        InjectedCase{"CopyAndPutBackFail",
                     {"copy_file_range:error=ENOSPC:when=%w", "renameat2:error=EIO:when=2"},
                     kFirstReplaced,
                     copyFailed(28),
                     true}),
    byName);

}  // namespace
}  // namespace sorrelix::testing
