#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "program_run.h"

namespace sorrelix::testing {
namespace {

const QList<QByteArray> kTranscript = {
    "\U0001F9EA [Self-Test] Starting Sorrelix boutique verification...",
    "\u25B6\uFE0F [Test 1] Testing APFSEngine.analyze...",
    "   Diff result: added=1, updated=1, identical=1",
    "   \u2705 APFSEngine.analyze passed!",
    "\u25B6\uFE0F [Test 2] Testing APFSEngine.executeMerge...",
    "   Merged record: added=1, updated=1",
    "   \u2705 APFSEngine.executeMerge passed!",
    "\u25B6\uFE0F [Test 3] Testing APFSEngine.undoMerge...",
    "   \u2705 APFSEngine.undoMerge passed!",
    "\U0001F389 ALL TESTS PASSED! 100% Core Verification Successful.",
};

const QByteArray kFailurePrefix = "\u274C [Self-Test Failed]: ";

class SelfCheckTest : public ::testing::Test {
protected:
    ProgramResult runSelfCheck(const QStringList& arguments = {"--test"},
                               const QString& tempFolder = {}) const {
        return ProgramRun(QStringLiteral("sorrelix"))
            .setEnv("TMPDIR", tempFolder.isEmpty() ? temp.path() : tempFolder)
            .setEnv("XDG_CONFIG_HOME", configHome.path())
            .setEnv("XDG_STATE_HOME", configHome.path() + "/state")
            .run(arguments);
    }

    QStringList scratchFoldersIn(const QString& folder) const {
        return QDir(folder).entryList({"SorrelixTest_*"}, QDir::AllEntries | QDir::Hidden);
    }

    void expectPassingRun(const ProgramResult& result) const {
        ASSERT_TRUE(result.finished) << result.err.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.outLines(), kTranscript) << result.out.toStdString();
        EXPECT_TRUE(result.out.endsWith('\n'));
        EXPECT_TRUE(scratchFoldersIn(temp.path()).isEmpty());
    }

    void expectScopeFailure(const ProgramResult& result) const {
        ASSERT_TRUE(result.finished) << result.err.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        const auto lines = result.outLines();
        ASSERT_EQ(lines.size(), 2) << result.out.toStdString();
        EXPECT_EQ(lines[0], kTranscript[0]);
        EXPECT_TRUE(lines[1].startsWith(kFailurePrefix)) << lines[1].toStdString();
        EXPECT_GT(lines[1].size(), kFailurePrefix.size()) << "no description";
    }

    QTemporaryDir temp;
    QTemporaryDir configHome;
};

TEST_F(SelfCheckTest, APassingRunPrintsTheTenLinesAndLeavesNothingBehind) {
    expectPassingRun(runSelfCheck());
    EXPECT_TRUE(
        QDir(temp.path())
            .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
}

// The option counts wherever it stands, and the folder options are then ignored.
TEST_F(SelfCheckTest, TheOptionWinsOverTheFolderOptions) {
    expectPassingRun(runSelfCheck({"--source", "/x", "--test"}));
    expectPassingRun(runSelfCheck({"--test", "--source", "/x", "--target", "/nowhere"}));
}

TEST_F(SelfCheckTest, TheTranscriptDoesNotDependOnTheStoredHistory) {
    expectPassingRun(runSelfCheck());
    expectPassingRun(runSelfCheck());  // now with the first run's record in the history
    QDir().mkpath(configHome.path() + "/Sorrelix");
    for (const char* name : {"Sorrelix.ini", "Sorrelix.conf"}) {
        QFile garbage(configHome.path() + "/Sorrelix/" + name);
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("[General]\nSorrelixSessions=@ByteArray(not json)\n\xff\xfe\n");
    }
    expectPassingRun(runSelfCheck());
}

TEST_F(SelfCheckTest, ASettingsStoreThatCannotBeWrittenDoesNotMatter) {
    const QString blocked = temp.path() + "/config-is-a-file";
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const ProgramResult result = ProgramRun(QStringLiteral("sorrelix"))
                                     .setEnv("TMPDIR", temp.path())
                                     .setEnv("XDG_CONFIG_HOME", blocked)
                                     .setEnv("XDG_STATE_HOME", blocked + "/state")
                                     .run({"--test"});
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines(), kTranscript);
}

TEST_F(SelfCheckTest, ATemporaryFolderThatIsAFileFailsTheRun) {
    const QString file = temp.path() + "/plain-file";
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    expectScopeFailure(runSelfCheck({"--test"}, file));
}

// Nothing may be made up in its place: neither the missing folder nor a scratch root at "/".
TEST_F(SelfCheckTest, AMissingTemporaryFolderFailsTheRun) {
    const QStringList atRootBefore = scratchFoldersIn("/");
    expectScopeFailure(runSelfCheck({"--test"}, temp.path() + "/missing/deeper"));
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "/missing"));
    EXPECT_EQ(scratchFoldersIn("/"), atRootBefore);
}

TEST_F(SelfCheckTest, ATemporaryFolderWithoutWritePermissionFailsTheRun) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the check as the user nobody";
    QDir(temp.path()).mkdir("read-only");
    const QString readOnly = temp.path() + "/read-only";
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                        QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    QFile::setPermissions(temp.path(), QFile::permissions(temp.path()) | QFile::ExeOther);
    const ProgramResult result =
        ProgramRun(QStringLiteral("sorrelix"))
            .setEnv("TMPDIR", readOnly)
            .setEnv("XDG_CONFIG_HOME", readOnly)
            .setEnv("XDG_STATE_HOME", readOnly + "/state")
            .setChildModifier([] {
                constexpr uid_t kNobody = 65534;
                if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                    ::setresuid(kNobody, kNobody, kNobody) != 0) {
                    ::_exit(99);
                }
            })
            .run({"--test"});
    ASSERT_NE(result.exitCode, 99) << "could not switch to the user nobody";
    expectScopeFailure(result);
    EXPECT_TRUE(scratchFoldersIn(readOnly).isEmpty());
}

}  // namespace
}  // namespace sorrelix::testing
