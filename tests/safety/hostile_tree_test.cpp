// Trees built to trip a merge up: links that lead out of the target or loop, names that are not
// text, paths beyond PATH_MAX, special and sparse files, and merge records that point
// elsewhere. Next to source and target lies an "outside" folder that must never change.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <regex>

#include "apfs_engine.h"
#include "cli_child.h"
#include "date.h"
#include "safety_support.h"
#include "session_history.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;
using engine::MergeSessionRecord;

constexpr double kTime = 1'700'000'000.0;

// Source, target and outside as siblings, so that relative links can reach across.
struct Scene {
    Scene() {
        outside.file("secret.txt", "outside the target", kTime);
        outside.file("docs/old.txt", "outside, old", kTime);
        outside.file("bk/new.txt", "outside, in a folder named like a backup", kTime);
    }
    std::string path(const std::string& tree) const { return base.path(tree); }

    ScopedConfigHome config;
    FileTree base;
    FileTree source{base.path("")};
    FileTree target{base.path("")};
    FileTree outside{base.path("")};
};

std::string nameOf(const FileTree& tree) {
    return tree.root().substr(tree.root().rfind('/') + 1);
}

std::string deepPath() {
    std::string deep;
    for (int level = 0; level < 24; ++level) {
        deep += (deep.empty() ? "" : "/") + std::string(200, static_cast<char>('a' + level));
    }
    return deep;
}

struct HostileCase {
    const char* name;
    std::function<void(const Scene&)> build;
    std::function<void(const Scene&)> betweenAnalysisAndMerge;
    const char* expected;  // outcomeOf the merge, as a regular expression
    friend void PrintTo(const HostileCase& value, std::ostream* out) { *out << value.name; }
};

class HostileTreeTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileTreeTest, NothingOutsideChangesAndNothingInsideIsLost) {
    const Scene scene;
    GetParam().build(scene);
    const auto summary = APFSEngine::shared().analyzeNow(scene.source.root(), scene.target.root());
    ASSERT_FALSE(summary.errorMessage.has_value());
    if (GetParam().betweenAnalysisAndMerge) GetParam().betweenAnalysisAndMerge(scene);
    const TreeSnapshot outside = TreeSnapshot::of(scene.outside.root());
    const TreeSnapshot before = TreeSnapshot::of(scene.target.root());
    const TreeSnapshot source = TreeSnapshot::of(scene.source.root());

    std::optional<MergeSessionRecord> record;
    const std::string outcome = outcomeOf([&] {
        record = APFSEngine::shared().executeMergeNow(scene.source.root(), scene.target.root(),
                                                      summary, {});
    });
    EXPECT_TRUE(std::regex_match(outcome, std::regex(GetParam().expected))) << outcome;
    EXPECT_EQ(mergePromiseViolations(before, source, scene.target.root()), "");
    EXPECT_EQ(differences(outside, TreeSnapshot::of(scene.outside.root())), "");
    if (!record) return;
    EXPECT_EQ(outcomeOf([&] { APFSEngine::shared().undoMergeNow(*record); }), "ok");
    EXPECT_EQ(undoViolations(before, scene.target.root(), record->id), "");
    EXPECT_EQ(differences(outside, TreeSnapshot::of(scene.outside.root())), "");
    EXPECT_EQ(differences(source, TreeSnapshot::of(scene.source.root())), "");
}

constexpr const char* kRefusedOutside =
    R"(SorrelixEngine\|(18|40)\|Refused to write outside the target folder: the path of “.*” )"
    R"(goes through a symbolic link that leads out of it)";

INSTANTIATE_TEST_SUITE_P(
    Links, HostileTreeTest,
    ::testing::Values(
        HostileCase{"TargetFileLinksOutAtEveryDepth",
                    [](const Scene& s) {
                        const std::string up = "../" + nameOf(s.outside) + "/secret.txt";
                        s.target.symlink("top.txt", up);
                        s.target.symlink("a/mid.txt", "../" + up);
                        s.target.symlink("a/b/c/deep.txt", s.outside.path("secret.txt"));
                        for (const char* path : {"top.txt", "a/mid.txt", "a/b/c/deep.txt"}) {
                            s.source.file(path, "the source's own version", kTime + 60);
                        }
                    },
                    {},
                    "ok"},
        HostileCase{"TargetFolderLinksOutAtTheTop",
                    [](const Scene& s) {
                        s.target.symlink("docs", s.outside.path("docs"));
                        s.source.file("docs/old.txt", "newer", kTime + 60);
                        s.source.file("docs/new.txt", "new");
                    },
                    {},
                    kRefusedOutside},
        HostileCase{"TargetFolderLinksOutDeepDown",
                    [](const Scene& s) {
                        s.target.symlink("a/b/docs", "../../../" + nameOf(s.outside) + "/docs");
                        s.target.file("a/b/kept.txt", "kept");
                        s.source.file("a/b/kept.txt", "newer", kTime + 60);
                        s.source.file("a/b/docs/sub/new.txt", "new");
                    },
                    {},
                    kRefusedOutside},
        HostileCase{"TargetFolderSwappedForALinkOutAfterAnalysis",
                    [](const Scene& s) {
                        s.target.file("docs/old.txt", "old", kTime);
                        s.source.file("docs/old.txt", "newer", kTime + 60);
                        s.source.file("docs/new.txt", "new");
                    },
                    [](const Scene& s) {
                        ::rename(s.target.path("docs").c_str(),
                                 s.target.path("docs.moved").c_str());
                        s.target.symlink("docs", s.outside.path("docs"));
                    },
                    kRefusedOutside},
        HostileCase{"BackupAreaLinksOut",
                    [](const Scene& s) {
                        s.target.symlink(".sorrelix", s.outside.root());
                        s.source.file("new.txt", "new");
                    },
                    {},
                    R"(SorrelixEngine\|(18|40)\|Refused to create the backup folder: “\.sorrelix” )"
                    R"(in the target is a symbolic link)"},
        HostileCase{"SourceLinksOfEveryKind",
                    [](const Scene& s) {
                        s.source.file("real.txt", "real");
                        s.source.file("sub/inner.txt", "inner");
                        s.source.symlink("to-file", "real.txt");
                        s.source.symlink("to-folder", "sub");
                        s.source.symlink("out-absolute", s.outside.path("secret.txt"));
                        s.source.symlink("out-relative", "../" + nameOf(s.outside) + "/docs");
                        s.source.symlink("dangling", "nowhere/at/all");
                        s.source.symlink("loop-a", "loop-b");
                        s.source.symlink("loop-b", "loop-a");
                        s.source.symlink("self", "self");
                        s.source.symlink("sub/up", "..");
                        s.target.file("out-absolute", "replaced by a link", kTime);
                    },
                    {},
                    "ok"},
        // The source holds a link where the target holds a folder: the folder is replaced, and
        // undo must put it back instead of restoring into wherever the link leads.
        HostileCase{"SourceLinkWhereTheTargetHasAFolder",
                    [](const Scene& s) {
                        s.source.symlink("current", "v2");
                        s.source.file("v2/a.txt", "v2's a", kTime);
                        s.target.file("v2/a.txt", "v2's a", kTime);
                        s.target.file("current/a.txt", "current's a", kTime);
                        s.target.file("current/b.txt", "current's b", kTime);
                    },
                    {},
                    "ok"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OddEntries, HostileTreeTest,
    ::testing::Values(
        HostileCase{"NamesThatAreNotTextOrLookLikeOptions",
                    [](const Scene& s) {
                        for (const char* name :
                             {"\xff\xfe.txt", "line\nbreak.txt", "-rf", "--help", " leading space",
                              "tab\there", "*", "\x80/\xc3("}) {
                            s.source.file(name, std::string("new ") + name, kTime + 60);
                        }
                        s.target.file("\xff\xfe.txt", "old", kTime);
                        s.target.file("-rf", "old", kTime);
                        s.target.file("line\nbreak.txt", "old", kTime);
                    },
                    {},
                    "ok"},
        HostileCase{"PathsBeyondPathMax",
                    [](const Scene& s) {
                        writeDeep(s.source.root(), deepPath() + "/added.txt", "added deep down");
                        writeDeep(s.source.root(), deepPath() + "/updated.txt", "new version");
                        writeDeep(s.target.root(), deepPath() + "/updated.txt", "old");
                    },
                    {},
                    "ok"},
        HostileCase{"FifoAndSocketInTheSource",
                    [](const Scene& s) {
                        s.source.fifo("pipe");
                        s.source.socket("sub/sock");
                        s.target.file("pipe", "a regular file here", kTime);
                    },
                    {},
                    "ok"},
        HostileCase{"HardLinks",
                    [](const Scene& s) {
                        s.source.file("h1", "shared by two names", kTime + 60);
                        ::link(s.source.path("h1").c_str(), s.source.path("h2").c_str());
                        s.target.file("h1", "old, shared", kTime);
                        ::link(s.target.path("h1").c_str(), s.target.path("h2").c_str());
                        ::link(s.target.path("h1").c_str(), s.target.path("only-target").c_str());
                    },
                    {},
                    "ok"},
        HostileCase{"SparseFiles",
                    [](const Scene& s) {
                        s.source.file("sparse.img", "head");
                        ::truncate(s.source.path("sparse.img").c_str(), 16 << 20);
                        const int fd = ::open(s.source.path("sparse.img").c_str(), O_WRONLY);
                        ::pwrite(fd, "tail", 4, (16 << 20) - 4);
                        ::close(fd);
                        s.target.file("sparse.img", "old", kTime);
                        ::truncate(s.target.path("sparse.img").c_str(), 8 << 20);
                    },
                    {},
                    "ok"},
        HostileCase{"EmptyFilesAndFilesOfExactlyTenMiB",
                    [](const Scene& s) {
                        s.source.file("empty.txt", "");
                        s.source.file("was-empty.txt", "now has content", kTime + 60);
                        s.target.file("was-empty.txt", "", kTime);
                        s.source.file("now-empty.txt", "", kTime + 60);
                        s.target.file("now-empty.txt", "had content", kTime);
                        // Same size and time at the content-check limit: judged identical
                        // unread, so the target keeps its own bytes.
                        const std::size_t limit = 10485760;
                        s.source.file("ten.bin", std::string(limit, 's'), kTime);
                        s.target.file("ten.bin", std::string(limit, 't'), kTime);
                    },
                    {},
                    "ok"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- records that point elsewhere -------------------------------------------------------

struct ForgedCase {
    const char* name;
    std::function<MergeSessionRecord(const Scene&)> record;
    int exitCode;
    const char* error;  // standard error as a regular expression
    friend void PrintTo(const ForgedCase& value, std::ostream* out) { *out << value.name; }
};

class ForgedRecordTest : public ::testing::TestWithParam<ForgedCase> {};

MergeSessionRecord forged(const Scene& s, std::string backupDir, std::vector<std::string> added) {
    return {"abcdef12", engine::Date::now(),  s.source.root(), s.target.root(), 1,
            0,          std::move(backupDir), std::move(added)};
}

TEST_P(ForgedRecordTest, UndoTouchesNothingOutsideTheTarget) {
    const Scene scene;
    scene.target.file("new.txt", "in the target", kTime);
    scene.target.file("kept/file.txt", "kept", kTime);
    scene.target.folder(".sorrelix/backups/abcdef12");
    engine::SessionHistory::save(GetParam().record(scene));
    const TreeSnapshot outside = TreeSnapshot::of(scene.outside.root());
    const TreeSnapshot before = TreeSnapshot::of(scene.target.root());

    const ChildOutcome undo = CliChild(childEnvironment(scene.config)).run({"undo", "abcdef12"});
    EXPECT_EQ(undo.exitCode, GetParam().exitCode) << undo.err;
    EXPECT_TRUE(std::regex_match(undo.err, std::regex(GetParam().error))) << undo.err;
    EXPECT_EQ(differences(outside, TreeSnapshot::of(scene.outside.root())), "");
    if (GetParam().exitCode != 0) {
        // The lock taken inside the engine's own folder changes that folder's time alone.
        const std::string changed = differences(before, TreeSnapshot::of(scene.target.root()));
        EXPECT_EQ(std::regex_replace(changed, std::regex("^\\.sorrelix: was d .*\n"), ""), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, ForgedRecordTest,
    ::testing::Values(
        ForgedCase{"BackupFolderOutside",
                   [](const Scene& s) { return forged(s, s.outside.path("bk"), {"new.txt"}); }, 1,
                   "sorrelix-cli: Refused to undo: the merge record's backup folder “.*” does "
                   "not belong to its target folder “.*” \\(domain SorrelixEngine, code 22\\)\n"},
        ForgedCase{"BackupFolderClimbingOut",
                   [](const Scene& s) {
                       return forged(
                           s,
                           s.target.path(".sorrelix/backups/../../../" + nameOf(s.outside) + "/bk"),
                           {"new.txt"});
                   },
                   1, "sorrelix-cli: Refused to undo: .*\\(domain SorrelixEngine, code 22\\)\n"},
        ForgedCase{"AddedPathsClimbingOut",
                   [](const Scene& s) {
                       const std::string out = "../" + nameOf(s.outside) + "/secret.txt";
                       return forged(s, s.target.path(".sorrelix/backups/abcdef12"),
                                     {out, "kept/../" + out, "kept/../../" + out,
                                      s.outside.path("secret.txt"), "kept/./file.txt", "new.txt"});
                   },
                   // new.txt is not the source's file, so not the merge's copy: kept.
                   0,
                   "sorrelix-cli: kept new.txt, changed since the merge, as "
                   ".*/\\.sorrelix/kept/abcdef12/new\\.txt\n"
                   "sorrelix-cli: undid merge abcdef12 into .*\n"},
        ForgedCase{"BackupFolderLinkedOut",
                   [](const Scene& s) {
                       ::rmdir(s.target.path(".sorrelix/backups/abcdef12").c_str());
                       s.target.symlink(".sorrelix/backups/abcdef12", s.outside.path("bk"));
                       return forged(s, s.target.path(".sorrelix/backups/abcdef12"), {});
                   },
                   1,
                   "sorrelix-cli: Could not open the backup folder “.*/abcdef12”: Invalid "
                   "cross-device link \\(domain POSIX, code 18\\)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Folder names that are not text or look like options reach the engine unchanged through the
// command line, for the merge and its undo alike.
TEST(OddFolderNamesTest, MergeAndUndoThroughTheCommandLine) {
    const ScopedConfigHome config;
    const FileTree base;
    base.file("-src\xff/new.txt", "new");
    base.file("-src\xff/u.txt", "newer", kTime + 60);
    base.file("--help\nx/u.txt", "older", kTime);
    base.file("outside/kept.txt", "kept");
    const TreeSnapshot before = TreeSnapshot::of(base.path("--help\nx"));
    const TreeSnapshot outside = TreeSnapshot::of(base.path("outside"));
    const CliChild cli(childEnvironment(config));

    const ChildOutcome merged = cli.run({"merge", base.path("-src\xff"), base.path("--help\nx")});
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(base.read("--help\nx/new.txt"), "new");
    EXPECT_EQ(mergePromiseViolations(before, TreeSnapshot::of(base.path("-src\xff")),
                                     base.path("--help\nx")),
              "");
    const ChildOutcome undone = cli.run({"undo"});
    EXPECT_EQ(undone.exitCode, 0) << undone.err;
    EXPECT_EQ(undoViolations(before, base.path("--help\nx"),
                             APFSEngine::shared().loadSessionRecords().at(0).id),
              "");
    EXPECT_EQ(differences(outside, TreeSnapshot::of(base.path("outside"))), "");
}

}  // namespace
}  // namespace sorrelix::testing
