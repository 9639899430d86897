#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

class SelfCheckTest : public ::testing::Test {
protected:
    ProgramResult runSelfCheck(const QStringList& arguments, const QString& tempFolder,
                               const QString& configFolder) const {
        return runProgram("sorrelix", arguments,
                          {{"TMPDIR", tempFolder},
                           {"XDG_CONFIG_HOME", configFolder},
                           {"XDG_STATE_HOME", configFolder + "/state"}});
    }

    // A file of garbage at the path below the config home, made with its folders.
    QString garbageFile(const QString& name) const {
        const QString path = configHome.path() + "/" + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nSorrelixSessions=@ByteArray(not json)\n\xff\xfe\n");
        return path;
    }

    QTemporaryDir temp;
    QTemporaryDir configHome;
};

// The option counts wherever it stands, and the folder options are then ignored. The
// transcript depends neither on the stored history (the second run finds the first run's
// record) nor on a settings store that cannot be read or written.
TEST_F(SelfCheckTest, APassingRunPrintsTheTenLinesAndLeavesNothingBehind) {
    garbageFile("Sorrelix/Sorrelix.ini");
    const QStringList arguments = {"--source", "/x", "--test", "--target", "/nowhere"};
    for (const QString& config : {configHome.path(), configHome.path(), garbageFile("a-file")}) {
        const ProgramResult result = runSelfCheck(arguments, temp.path(), config);
        ASSERT_TRUE(result.finished) << result.err.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.outLines(), kTranscript) << result.out.toStdString();
        EXPECT_TRUE(result.out.endsWith('\n'));
        EXPECT_TRUE(
            QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
}

// A temporary folder that is a file or missing fails the run with the reason; nothing is made
// up in its place, neither the missing folder nor a scratch root at "/".
TEST_F(SelfCheckTest, AnUnusableTemporaryFolderFailsTheRun) {
    const QStringList atRootBefore = QDir("/").entryList({"SorrelixTest_*"}, QDir::AllEntries);
    for (const QString& folder : {garbageFile("plain-file"), temp.path() + "/missing/deeper"}) {
        const ProgramResult result = runSelfCheck({"--test"}, folder, configHome.path());
        ASSERT_TRUE(result.finished) << result.err.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        const auto lines = result.outLines();
        ASSERT_EQ(lines.size(), 2) << result.out.toStdString();
        EXPECT_EQ(lines[0], kTranscript[0]);
        EXPECT_TRUE(lines[1].startsWith("\u274C [Self-Test Failed]: ")) << lines[1].toStdString();
        EXPECT_GT(lines[1].size(), QByteArray("\u274C [Self-Test Failed]: ").size());
    }
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "/missing"));
    EXPECT_EQ(QDir("/").entryList({"SorrelixTest_*"}, QDir::AllEntries), atRootBefore);
}

}  // namespace
}  // namespace sorrelix::testing
