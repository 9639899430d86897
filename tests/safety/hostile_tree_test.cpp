// Trees built to trip a merge up: links that lead out of the target or loop, names that are not
// text, paths beyond PATH_MAX, special and sparse files, and merge records that point
// elsewhere. Next to source and target lies an "outside" folder that must never change.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "cli_child.h"
#include "date.h"
#include "safety_support.h"
#include "session_history.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;
using engine::MergeSessionRecord;

constexpr double kNewer = kTreeTime + 60;

class HostileTreeTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(HostileTreeTest, NothingOutsideChangesAndNothingInsideIsLost) {
    expectMergeCase(GetParam());
}

constexpr const char* kRefusedOutside =
    R"(SorrelixEngine\|(18|40)\|Refused to write outside the target folder: the path of “.*” )"
    R"(goes through a symbolic link that leads out of it)";

INSTANTIATE_TEST_SUITE_P(
    Links, HostileTreeTest,
    ::testing::Values(
        MergeCase{"TargetFileLinksOutAtEveryDepth",
                  [](const Scene& s) {
                      s.target.symlink("top.txt", s.up(0, "secret.txt"));
                      s.target.symlink("a/mid.txt", s.up(1, "secret.txt"));
                      s.target.symlink("a/b/c/deep.txt", s.outside.path("secret.txt"));
                      for (const char* path : {"top.txt", "a/mid.txt", "a/b/c/deep.txt"}) {
                          s.source.file(path, "the source's own version", kNewer);
                      }
                  }},

        MergeCase{"TargetFolderLinksOutDeepDown",
                  [](const Scene& s) {
                      s.target.symlink("a/b/docs", s.up(2, "docs"));
                      s.target.file("a/b/kept.txt", "kept");
                      s.source.file("a/b/kept.txt", "newer", kNewer);
                      s.source.file("a/b/docs/sub/new.txt", "new");
                  },
                  kRefusedOutside},
        MergeCase{"TargetFolderSwappedForALinkOutAfterAnalysis",
                  [](const Scene& s) {
                      s.target.file("docs/old.txt", "old");
                      s.source.file("docs/old.txt", "newer", kNewer);
                      s.source.file("docs/new.txt", "new");
                  },
                  kRefusedOutside,
                  [](const Scene& s) {
                      ::rename(s.target.path("docs").c_str(), s.target.path("moved").c_str());
                      s.target.symlink("docs", s.outside.path("docs"));
                  }},
        MergeCase{"BackupAreaLinksOut",
                  [](const Scene& s) {
                      s.target.symlink(".sorrelix", s.outside.root());
                      s.source.file("new.txt", "new");
                  },
                  R"(SorrelixEngine\|(18|40)\|Refused to create the backup folder: “\.sorrelix” )"
                  R"(in the target is a symbolic link)"},
        MergeCase{"SourceLinksOfEveryKind",
                  [](const Scene& s) {
                      s.source.files({{"real.txt", "real"}, {"sub/inner.txt", "inner"}});
                      s.target.file("out-absolute", "replaced by a link");
                      s.source.symlinks({{"to-file", "real.txt"},
                                         {"to-folder", "sub"},
                                         {"out-absolute", s.outside.path("secret.txt")},
                                         {"out-relative", s.up(0, "docs")},
                                         {"dangling", "nowhere/at/all"},
                                         {"loop-a", "loop-b"},
                                         {"loop-b", "loop-a"},
                                         {"self", "self"},
                                         {"sub/up", ".."}});
                  }},
        // The source holds a link where the target holds a folder: the folder is replaced, and
        // undo must put it back instead of restoring into wherever the link leads.
        MergeCase{"SourceLinkWhereTheTargetHasAFolder",
                  [](const Scene& s) {
                      s.source.symlink("current", "v2");
                      s.source.file("v2/a.txt", "v2's a");
                      s.target.files({{"v2/a.txt", "v2's a"},
                                      {"current/a.txt", "current's a"},
                                      {"current/b.txt", "current's b"}});
                  }}),
    byName);

std::string deepPath() {
    std::string deep;
    for (char level = 'a'; level < 'a' + 24; ++level) deep += std::string(200, level) + "/";
    return deep;
}

INSTANTIATE_TEST_SUITE_P(
    OddEntries, HostileTreeTest,
    ::testing::Values(
        MergeCase{"NamesThatAreNotTextOrLookLikeOptions",
                  [](const Scene& s) {
                      for (const std::string name :
                           {"\xff\xfe.txt", "line\nbreak.txt", "-rf", "--help", " leading space",
                            "tab\there", "*", "\x80/\xc3("}) {
                          s.source.file(name, "new " + name, kNewer);
                      }
                      s.target.files(
                          {{"\xff\xfe.txt", "old"}, {"-rf", "old"}, {"line\nbreak.txt", "old"}});
                  }},
        MergeCase{"PathsBeyondPathMax",
                  [](const Scene& s) {
                      writeDeep(s.source.root(), deepPath() + "added.txt", "added deep down");
                      writeDeep(s.source.root(), deepPath() + "updated.txt", "new version");
                      writeDeep(s.target.root(), deepPath() + "updated.txt", "old");
                  }},
        MergeCase{"FifoAndSocketInTheSource",
                  [](const Scene& s) {
                      s.source.fifo("pipe");
                      s.source.socket("sub/sock");
                      s.target.file("pipe", "a regular file here");
                  }},
        MergeCase{"HardLinks",
                  [](const Scene& s) {
                      s.source.file("h1", "shared by two names", kNewer);
                      s.target.file("h1", "old, shared");
                      ::link(s.source.path("h1").c_str(), s.source.path("h2").c_str());
                      ::link(s.target.path("h1").c_str(), s.target.path("h2").c_str());
                      ::link(s.target.path("h1").c_str(), s.target.path("only-target").c_str());
                  }},
        MergeCase{"SparseFiles",
                  [](const Scene& s) {
                      s.source.file("sparse.img", "head");
                      std::filesystem::resize_file(s.source.path("sparse.img"), (16 << 20) - 4);
                      std::ofstream(s.source.path("sparse.img"), std::ios::app) << "tail";
                      s.target.file("sparse.img", "old");
                      std::filesystem::resize_file(s.target.path("sparse.img"), 8 << 20);
                  }},
        MergeCase{"EmptyFilesAndFilesOfExactlyTenMiB",
                  [](const Scene& s) {
                      s.source.file("empty.txt", "");
                      s.source.files({{"was-empty.txt", "now has content"}, {"now-empty.txt", ""}},
                                     kNewer);
                      s.target.files({{"was-empty.txt", ""}, {"now-empty.txt", "had content"}});
                      // Same size and time at the content-check limit: judged identical
                      // unread, so the target keeps its own bytes.
                      s.source.file("ten.bin", std::string(10485760, 's'));
                      s.target.file("ten.bin", std::string(10485760, 't'));
                  }}),
    byName);

// ---- records that point elsewhere -------------------------------------------------------

struct ForgedCase {
    const char* name;
    std::function<MergeSessionRecord(const Scene&)> record;
    int exitCode;
    const char* error;  // standard error as a regular expression
};

class ForgedRecordTest : public ::testing::TestWithParam<ForgedCase> {};

MergeSessionRecord forged(const Scene& s, std::string backupDir, std::vector<std::string> added) {
    return {"abcdef12", engine::Date::now(),  s.source.root(), s.target.root(), 1,
            0,          std::move(backupDir), std::move(added)};
}

TEST_P(ForgedRecordTest, UndoTouchesNothingOutsideTheTarget) {
    Scene scene;
    scene.target.files({{"new.txt", "in the target"}, {"kept/file.txt", "kept"}});
    scene.target.folder(".sorrelix/backups/abcdef12");
    engine::SessionHistory::save(GetParam().record(scene));
    scene.takeSnapshots();

    const ChildOutcome undo = runCli(scene.config, {"undo", "abcdef12"});
    EXPECT_EQ(undo.exitCode, GetParam().exitCode) << undo.err;
    EXPECT_TRUE(std::regex_match(undo.err, std::regex(GetParam().error))) << undo.err;
    EXPECT_EQ(scene.outsideChanges(), "");
    if (GetParam().exitCode != 0) {
        // The lock taken inside the engine's own folder changes that folder's time alone.
        const std::string changed =
            differences(scene.before, TreeSnapshot::of(scene.target.root()));
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

        ForgedCase{"AddedPathsClimbingOut",
                   [](const Scene& s) {
                       const std::string out = s.up(0, "secret.txt");
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
    byName);

// Folder names that are not text or look like options reach the engine unchanged through the
// command line, for the merge and its undo alike.
TEST(OddFolderNamesTest, MergeAndUndoThroughTheCommandLine) {
    const ScopedConfigHome config;
    const FileTree base;
    const std::string source = base.path("-src\xff");
    const std::string target = base.path("--help\nx");
    base.files({{"-src\xff/new.txt", "new"}, {"-src\xff/u.txt", "newer"}}, kNewer);
    base.file("--help\nx/u.txt", "older");
    const TreeSnapshot before = TreeSnapshot::of(target);
    const TreeSnapshot sourceState = TreeSnapshot::of(source);

    const ChildOutcome merged = runCli(config, {"merge", source, target});
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(base.read("--help\nx/new.txt"), "new");
    EXPECT_EQ(mergePromiseViolations(before, sourceState, target), "");
    const ChildOutcome undone = runCli(config, {"undo"});
    EXPECT_EQ(undone.exitCode, 0) << undone.err;
    EXPECT_EQ(undoViolations(before, target, APFSEngine::shared().loadSessionRecords().at(0).id),
              "");
}

}  // namespace
}  // namespace sorrelix::testing
