// Merges and undos that fail part-way: full disks, missing permissions, trees that change
// between analysis and merge, and system calls made to fail. Each case checks the error the
// user gets and that every file of the target is still at its place or in the backup.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <regex>

#include "apfs_engine.h"
#include "cli_child.h"
#include "record_json.h"
#include "safety_support.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;
using engine::FileDiffKind;
using engine::MergeOutcome;
using engine::MergeSessionRecord;
using engine::MergeSummary;

constexpr double kTime = 1'700'000'000.0;

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

MergeSummary analyze(const FileTree& source, const FileTree& target) {
    MergeSummary summary = APFSEngine::shared().analyzeNow(source.root(), target.root());
    if (summary.errorMessage) throw std::runtime_error("the analysis failed");
    return summary;
}

MergeSessionRecord merge(const FileTree& source, const FileTree& target,
                         const MergeSummary& summary) {
    return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, {});
}

std::vector<std::string> workOrder(const MergeSummary& summary) {
    std::vector<std::string> paths;
    for (const auto& item : summary.items) {
        if (item.kind != FileDiffKind::identical) paths.push_back(item.relativePath);
    }
    return paths;
}

// The first `count` items of the work list hold their source version, the rest their old one.
std::string rollBackViolations(const std::vector<std::string>& work, std::size_t count,
                               const TreeSnapshot& before, const TreeSnapshot& source,
                               const TreeSnapshot& after) {
    std::string report;
    for (std::size_t i = 0; i < work.size(); ++i) {
        const EntryState* now = after.find(work[i]);
        const EntryState* expected = i < count ? source.find(work[i]) : before.find(work[i]);
        const bool same = now && expected ? now->sameAs(*expected) : now == expected;
        if (!same)
            report += work[i] + (i < count ? ": not copied\n" : ": touched after the fault\n");
    }
    return report;
}

void chownTree(const std::string& root, unsigned id) {
    ::lchown(root.c_str(), id, id);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        ::lchown(entry.path().c_str(), id, id);
    }
}

// ---- a full disk at the first, a middle and the last file -------------------------------

struct FullDiskCase {
    const char* name;
    std::size_t position;  // of the file that does not fit, in the work list
    bool added;            // whether that file is new to the target or replaces one
    friend void PrintTo(const FullDiskCase& value, std::ostream* out) { *out << value.name; }
};

class FullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDiskTest, TheFileThatDoesNotFitFailsWithEnospcAndNothingIsLost) {
    const SmallDisk disk;
    if (disk.path().empty()) GTEST_SKIP() << "no small tmpfs: set SORRELIX_TINY_DIR or run as root";
    const ScopedConfigHome config;
    const FileTree source;
    const FileTree target(disk.path());
    std::vector<std::string> order;
    for (unsigned i = 0; i < 6; ++i) {
        const std::string path = "docs/f" + std::to_string(i) + ".txt";
        source.file(path, randomBytes(16 << 10, i), kTime + 60);
        target.file(path, randomBytes(8 << 10, 100 + i), kTime);
        order.push_back(path);
    }
    source.file("big.bin", randomBytes(3 << 20, 7), kTime + 60);
    if (!GetParam().added) target.file("big.bin", randomBytes(256 << 10, 8), kTime);
    order.insert(order.begin() + static_cast<long>(GetParam().position), "big.bin");
    const MergeSummary summary = withItemsFirst(analyze(source, target), order);
    // Leave about 1 MiB: room for every small file, not for the big one.
    target.file("filler.bin",
                std::string(static_cast<std::size_t>(disk.freeBytes() - (1 << 20)), 'f'));
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    EXPECT_EQ(outcomeOf([&] { merge(source, target, summary); }),
              "SorrelixEngine|28|Failed to copy big.bin (errno: 28)");
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
    EXPECT_EQ(rollBackViolations(order, GetParam().position, before, sourceState,
                                 TreeSnapshot::of(target.root())),
              "");
    // What it copied before the full disk stays undoable.
    EXPECT_EQ(APFSEngine::shared().loadSessionRecords().at(0).outcome, MergeOutcome::failed);
    EXPECT_EQ(undoOfNewestViolations(before, target.root()), "");
}

INSTANTIATE_TEST_SUITE_P(Positions, FullDiskTest,
                         ::testing::Values(FullDiskCase{"FirstReplacing", 0, false},
                                           FullDiskCase{"MiddleAdded", 3, true},
                                           FullDiskCase{"LastReplacing", 6, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- permissions, as an unprivileged user ----------------------------------------------

struct PermissionCase {
    const char* name;
    std::function<void(const FileTree& source, const FileTree& target)> build;
    std::vector<std::string> order;
    const char* expected;  // a regular expression for outcomeOf
    friend void PrintTo(const PermissionCase& value, std::ostream* out) { *out << value.name; }
};

class PermissionFaultTest : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(PermissionFaultTest, TheMergeStopsWithTheSystemsReasonAndNothingIsLost) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
    const ScopedConfigHome config;
    const FileTree source;
    const FileTree target;
    source.chmod("", 0755);
    GetParam().build(source, target);
    chownTree(target.root(), kNobodyId);
    const MergeSummary summary = withItemsFirst(analyze(source, target), GetParam().order);
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    const auto outcome =
        runAsNobody([&] { return outcomeOf([&] { merge(source, target, summary); }); });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(std::regex_match(*outcome, std::regex(GetParam().expected))) << *outcome;
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PermissionFaultTest,
    ::testing::Values(
        PermissionCase{"UnreadableSourceFile",
                       [](const FileTree& source, const FileTree& target) {
                           source.file("docs/a.txt", "one");
                           source.file("docs/b.txt", "private");
                           source.file("docs/c.txt", "three", kTime + 60);
                           target.file("docs/c.txt", "old three");
                           source.chmod("docs/b.txt", 0600);
                       },
                       {"docs/a.txt", "docs/b.txt", "docs/c.txt"},
                       R"(SorrelixEngine\|13\|Failed to copy docs/b\.txt \(errno: 13\))"},
        PermissionCase{"ReadOnlyTargetFolderHoldingAReplacedFile",
                       [](const FileTree& source, const FileTree& target) {
                           source.file("docs/old.txt", "new", kTime + 60);
                           target.file("docs/old.txt", "old");
                           target.chmod("docs", 0555);
                       },
                       {"docs/old.txt"},
                       "POSIX\\|13\\|Could not move “docs/old\\.txt” into the backup folder: "
                       "Permission denied"},
        PermissionCase{"ReadOnlyTargetFolderForAnAddedFile",
                       [](const FileTree& source, const FileTree& target) {
                           source.file("docs/new.txt", "new");
                           target.file("docs/kept.txt", "kept");
                           target.chmod("docs", 0555);
                       },
                       {"docs/new.txt"},
                       R"(SorrelixEngine\|13\|Failed to copy docs/new\.txt \(errno: 13\))"},
        PermissionCase{"ReadOnlyTarget",
                       [](const FileTree& source, const FileTree& target) {
                           source.file("new.txt", "new");
                           target.file("kept.txt", "kept");
                           target.chmod("", 0555);
                       },
                       {"new.txt"},
                       "POSIX\\|13\\|Could not create the backup folder “.*/\\.sorrelix/backups/"
                       "[0-9a-f]{8}”: Permission denied"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- trees that change between analysis and merge --------------------------------------

struct ChangeCase {
    const char* name;
    std::function<void(const FileTree& source, const FileTree& target)> change;
    const char* expected;  // outcomeOf; "ok" cases are undone and must restore exactly
    friend void PrintTo(const ChangeCase& value, std::ostream* out) { *out << value.name; }
};

class ChangeAfterAnalysisTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeAfterAnalysisTest, TheMergeKeepsEveryOldFileAndAnUndoRestoresTheTarget) {
    const ScopedConfigHome config;
    const FileTree source;
    const FileTree target;
    source.file("a.txt", "added");
    source.file("u.txt", "new version", kTime + 60);
    target.file("u.txt", "old version", kTime);
    source.file("z.txt", "also added");
    const MergeSummary summary =
        withItemsFirst(analyze(source, target), {"a.txt", "u.txt", "z.txt"});
    GetParam().change(source, target);
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    std::optional<MergeSessionRecord> record;
    EXPECT_EQ(outcomeOf([&] { record = merge(source, target, summary); }), GetParam().expected);
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
    // Finished or failed, the merge is undone exactly.
    EXPECT_EQ(undoOfNewestViolations(before, target.root()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeAfterAnalysisTest,
    ::testing::Values(ChangeCase{"SourceFileDeleted",
                                 [](const FileTree& source, const FileTree&) {
                                     ::unlink(source.path("u.txt").c_str());
                                 },
                                 "SorrelixEngine|2|Failed to copy u.txt (errno: 2)"},
                      ChangeCase{"SourceFileReplacedByAFolder",
                                 [](const FileTree& source, const FileTree&) {
                                     ::unlink(source.path("u.txt").c_str());
                                     source.file("u.txt/inside", "x");
                                 },
                                 "SorrelixEngine|21|Failed to copy u.txt (errno: 21)"},
                      ChangeCase{"TargetFileReplacedByAFolder",
                                 [](const FileTree&, const FileTree& target) {
                                     ::unlink(target.path("u.txt").c_str());
                                     target.file("u.txt/inner.txt", "inner", kTime);
                                     target.file("u.txt/sub/deeper.txt", "deeper", kTime);
                                 },
                                 "ok"},
                      ChangeCase{"TargetFileDeleted",
                                 [](const FileTree&, const FileTree& target) {
                                     ::unlink(target.path("u.txt").c_str());
                                 },
                                 "ok"},
                      ChangeCase{"AddedPlaceTakenByAFileAndAFolder",
                                 [](const FileTree&, const FileTree& target) {
                                     target.file("a.txt", "written meanwhile", kTime);
                                     target.file("z.txt/inner.txt", "a folder meanwhile", kTime);
                                 },
                                 "ok"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- undo that cannot finish -----------------------------------------------------------

class UndoFaultTest : public ::testing::Test {
protected:
    ScopedConfigHome config;
    FileTree source;
    FileTree target;
};

TEST_F(UndoFaultTest, ABackupWhoseFolderVanishedStaysBackedUpUntilTheFolderIsBack) {
    source.file("a/b/x.txt", "new x", kTime + 60);
    target.file("a/b/x.txt", "old x", kTime);
    source.file("y.txt", "new y", kTime + 60);
    target.file("y.txt", "old y", kTime);
    source.file("added.txt", "added");
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const MergeSessionRecord record = merge(source, target, analyze(source, target));
    std::filesystem::remove_all(target.path("a/b"));

    EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }),
              "POSIX|2|Could not restore “a/b/x.txt”: its folder “a/b” is missing from the "
              "target: No such file or directory");
    EXPECT_EQ(target.read(".sorrelix/backups/" + record.id + "/a/b/x.txt"), "old x");

    // Once the folder is back, undoing again finishes the job.
    target.folder("a/b");
    ::chmod(target.path("a/b").c_str(), before.find("a/b")->mode);
    EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(record); }), "ok");
    EXPECT_EQ(undoViolations(before, target.root(), record.id), "");
}

// An undo that fails after putting back one of the entries that stood where added files
// went must not, when run again, delete that entry as if it were the added file.
TEST_F(UndoFaultTest, AnUndoRunAgainAfterAFailureKeepsWhatItAlreadyRestored) {
    if (!CliChild::straceAvailable()) GTEST_SKIP() << "strace is not installed";
    source.file("one.txt", "from the source");
    source.file("two.txt", "from the source");
    source.file("three.txt", "from the source");
    const MergeSummary summary = analyze(source, target);
    target.file("one.txt", "written meanwhile 1", kTime);
    target.file("two.txt", "written meanwhile 2", kTime);
    target.file("three.txt", "written meanwhile 3", kTime);
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const MergeSessionRecord record = merge(source, target, summary);
    const CliChild cli(childEnvironment(config));

    const ChildOutcome failed =
        CliChild(cli).injecting("renameat:error=EIO:when=2").run({"undo", record.id});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(std::regex_match(failed.err,
                                 std::regex("sorrelix-cli: Could not move “(one|two|three)\\.txt” "
                                            "back from the backup folder: Input/output error "
                                            "\\(domain POSIX, code 5\\)\n")))
        << failed.err;
    EXPECT_EQ(mergePromiseViolations(before, TreeSnapshot::of(source.root()), target.root()), "");

    const ChildOutcome again = cli.run({"undo", record.id});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(undoViolations(before, target.root(), record.id), "");
}

// ---- system calls made to fail ---------------------------------------------------------

constexpr int kFirstReplaced = -1;

struct InjectedCase {
    const char* name;
    std::vector<std::string> injections;  // strace fault expressions; %w: see below
    int failingItem;                      // index into the work list, or kFirstReplaced
    const char* expected;  // standard error as a regular expression; %s: the failing item
    bool needsCopyRange;   // only where files are copied by copy_file_range, not cloned
    friend void PrintTo(const InjectedCase& value, std::ostream* out) { *out << value.name; }
};

// Every file here is short and not empty: copy_file_range copies it in one call, so call i+1
// is the one for work item i ("%w").
std::string copyRangeCall(std::size_t item) {
    return std::to_string(item + 1);
}

class InjectedFaultTest : public ::testing::TestWithParam<InjectedCase> {};

bool clonesWorkIn(const std::string& folder) {
    const FileTree probe(folder);
    probe.file("a", "x");
    const int from = ::open(probe.path("a").c_str(), O_RDONLY);
    const int to = ::open(probe.path("b").c_str(), O_WRONLY | O_CREAT, 0600);
    const bool cloned = ::ioctl(to, FICLONE, from) == 0;
    ::close(from);
    ::close(to);
    return cloned;
}

std::string escapeForRegex(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

TEST_P(InjectedFaultTest, TheMergeReportsTheFailedCallAndLosesNothing) {
    if (!CliChild::straceAvailable()) GTEST_SKIP() << "strace is not installed";
    const ScopedConfigHome config;
    const FileTree source;
    const FileTree target;
    if (GetParam().needsCopyRange && clonesWorkIn(target.root())) {
        GTEST_SKIP() << "files are cloned here: copy_file_range is never called";
    }
    source.file("a.txt", "added a");
    source.file("b.txt", "new b", kTime + 60);
    target.file("b.txt", "old b", kTime);
    source.file("c/d.txt", "new d", kTime + 60);
    target.file("c/d.txt", "old d", kTime);
    source.file("c/e.txt", "added e");
    target.file("kept.txt", "kept");
    const MergeSummary summary = analyze(source, target);
    const std::vector<std::string> work = workOrder(summary);
    std::size_t failing = 0;
    if (GetParam().failingItem == kFirstReplaced) {
        while (summary.items.at(failing).kind != FileDiffKind::updated) ++failing;
        failing = static_cast<std::size_t>(
            std::find(work.begin(), work.end(), summary.items[failing].relativePath) -
            work.begin());
    } else {
        failing = static_cast<std::size_t>(GetParam().failingItem);
    }
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const TreeSnapshot sourceState = TreeSnapshot::of(source.root());

    CliChild cli(childEnvironment(config));
    for (const auto& inject : GetParam().injections) {
        cli.injecting(std::regex_replace(inject, std::regex("%w"), copyRangeCall(failing)));
    }
    const ChildOutcome outcome = cli.run({"merge", source.root(), target.root()});
    const std::string expected = std::regex_replace(
        std::string(GetParam().expected), std::regex("%s"), escapeForRegex(work.at(failing)));
    EXPECT_EQ(outcome.exitCode, 1);
    // A merge that had begun names itself for undo.
    const std::string undoHint =
        "(sorrelix-cli: what merge [0-9a-f]{8} copied can be taken back with 'sorrelix-cli "
        "undo [0-9a-f]{8}'\n)?";
    EXPECT_TRUE(std::regex_match(outcome.err, std::regex(expected + undoHint))) << outcome.err;
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
    if (!APFSEngine::shared().loadSessionRecords().empty()) {
        EXPECT_EQ(undoOfNewestViolations(before, target.root()), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, InjectedFaultTest,
    ::testing::Values(
        InjectedCase{
            "CopyRangeEnospc",
            {"copy_file_range:error=ENOSPC:when=%w"},
            1,
            R"(sorrelix-cli: Failed to copy %s \(errno: 28\) \(domain SorrelixEngine, code 28\)\n)",
            true},
        InjectedCase{
            "CopyRangeEio",
            {"copy_file_range:error=EIO:when=%w"},
            3,
            R"(sorrelix-cli: Failed to copy %s \(errno: 5\) \(domain SorrelixEngine, code 5\)\n)",
            true},
        InjectedCase{
            "LinkIntoPlaceEnospc",
            {"linkat:error=ENOSPC:when=2"},
            1,
            R"(sorrelix-cli: Failed to copy %s \(errno: 28\) \(domain SorrelixEngine, code 28\)\n)",
            false},
        InjectedCase{
            "ModeEio",
            {"fchmod:error=EIO:when=3"},
            2,
            R"(sorrelix-cli: Failed to copy %s \(errno: 5\) \(domain SorrelixEngine, code 5\)\n)",
            false},
        InjectedCase{
            "TimesEio",
            {"utimensat:error=EIO:when=1"},
            0,
            R"(sorrelix-cli: Failed to copy %s \(errno: 5\) \(domain SorrelixEngine, code 5\)\n)",
            false},
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
        InjectedCase{
            "CopyAndPutBackFail",
            {"copy_file_range:error=ENOSPC:when=%w", "renameat2:error=EIO:when=2"},
            kFirstReplaced,
            R"(sorrelix-cli: Failed to copy %s \(errno: 28\) \(domain SorrelixEngine, code 28\)\n)",
            true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorrelix::testing
