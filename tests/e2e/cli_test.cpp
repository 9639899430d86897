#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <set>

#include "exclude_rule_store.h"
#include "file_tree.h"
#include "program_run.h"
#include "record_json.h"

namespace sorrelix::testing {
namespace {

using engine::MergeSessionRecord;
using engine::MergeSummary;

constexpr double kTime = 1'700'000'000.0;

QString bytesArg(const std::string& path) {
    return QString::fromStdString(path);
}

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        source.file("common.txt", "same", kTime);
        target.file("common.txt", "same", kTime);
        source.file("diff.txt", "new version", kTime + 60);
        target.file("diff.txt", "old version", kTime);
        source.file("sub/new.txt", "brand new");
        source.file(".DS_Store", "junk");
    }

    ProgramResult cli(const QStringList& arguments) const {
        return ProgramRun(QStringLiteral("sorrelix-cli"))
            .setEnv("XDG_CONFIG_HOME", configHome.path())
            .setEnv("XDG_STATE_HOME", configHome.path() + "/state")
            .setEnv("TMPDIR", temp.path())
            .setWorkingDirectory(temp.path())
            .run(arguments);
    }

    MergeSessionRecord merge(const FileTree& from, const FileTree& into) const {
        const ProgramResult result = cli({"merge", bytesArg(from.root()), bytesArg(into.root())});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.outLines().size(), 1);
        return engine::decodeMergeSessionRecord(result.out.trimmed());
    }

    std::vector<MergeSessionRecord> history() const {
        const ProgramResult result = cli({"history"});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return engine::decodeMergeSessionRecords(result.out.trimmed());
    }

    void expectTargetAsBefore() const {
        EXPECT_EQ(target.read("diff.txt"), "old version");
        EXPECT_EQ(target.mtime("diff.txt"), kTime);
        EXPECT_FALSE(target.exists("sub/new.txt"));
        EXPECT_EQ(target.read("common.txt"), "same");
    }

    QTemporaryDir configHome;
    QTemporaryDir temp;
    FileTree source;
    FileTree target;
};

// ---- analyze -----------------------------------------------------------------------------

TEST_F(CliTest, AnalyzePrintsTheSummaryAsOneJsonLine) {
    const ProgramResult result = cli({"analyze", bytesArg(source.root()), bytesArg(target.root())});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    ASSERT_EQ(result.outLines().size(), 1);
    const MergeSummary summary = engine::decodeMergeSummary(result.outLines()[0]);
    EXPECT_EQ(summary.addedCount, 1);
    EXPECT_EQ(summary.updatedCount, 1);
    EXPECT_EQ(summary.identicalCount, 1);
    EXPECT_EQ(summary.items.size(), 3U);
    EXPECT_FALSE(summary.errorMessage.has_value());
    EXPECT_EQ(target.read("diff.txt"), "old version") << "analysis changed the target";
}

TEST_F(CliTest, AnalyzeTakesRelativeFolderArguments) {
    const QFileInfo sourceRoot(bytesArg(source.root()));
    const QFileInfo targetRoot(bytesArg(target.root()));
    ASSERT_EQ(sourceRoot.path(), targetRoot.path());
    const ProgramResult result =
        ProgramRun(QStringLiteral("sorrelix-cli"))
            .setEnv("XDG_CONFIG_HOME", configHome.path())
            .setEnv("XDG_STATE_HOME", configHome.path() + "/state")
            .setWorkingDirectory(sourceRoot.path())
            .run({"analyze", sourceRoot.fileName() + "/", "./" + targetRoot.fileName()});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(engine::decodeMergeSummary(result.out.trimmed()).items.size(), 3U);
}

TEST_F(CliTest, AnalyzeOfAMissingFolderFailsWithTheMessageOnStandardError) {
    const ProgramResult result =
        cli({"analyze", bytesArg(source.root()), bytesArg(target.path("missing"))});
    EXPECT_EQ(result.exitCode, 1);
    const MergeSummary summary = engine::decodeMergeSummary(result.out.trimmed());
    ASSERT_TRUE(summary.errorMessage.has_value());
    EXPECT_FALSE(summary.errorMessage->isEmpty());
    EXPECT_TRUE(result.err.contains(summary.errorMessage->toUtf8())) << result.err.toStdString();
}

// ---- merge, history, undo ----------------------------------------------------------------

TEST_F(CliTest, MergePrintsTheRecordAndChangesTheTarget) {
    const MergeSessionRecord record = merge(source, target);
    EXPECT_EQ(record.addedCount, 1);
    EXPECT_EQ(record.updatedCount, 1);
    EXPECT_EQ(record.targetPath, target.root());
    EXPECT_EQ(record.sourcePath, source.root());
    EXPECT_EQ(record.addedRelativePaths, std::vector<std::string>{"sub/new.txt"});
    EXPECT_EQ(target.read("diff.txt"), "new version");
    EXPECT_EQ(target.read("sub/new.txt"), "brand new");
    EXPECT_FALSE(target.exists(".DS_Store"));
    EXPECT_EQ(target.read(".sorrelix/backups/" + record.id + "/diff.txt"), "old version");
    EXPECT_EQ(record.backupDir, target.path(".sorrelix/backups/" + record.id));
    const auto stored = history();
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(engine::encodeJson(stored[0]), engine::encodeJson(record));
}

TEST_F(CliTest, MergeOfAMissingFolderFailsAndStoresNothing) {
    const ProgramResult result =
        cli({"merge", bytesArg(source.path("missing")), bytesArg(target.root())});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(result.err.isEmpty());
    EXPECT_TRUE(history().empty());
    expectTargetAsBefore();
}

// A file where the backup area must go stops the merge before anything is copied.
TEST_F(CliTest, AFailedMergeReportsDomainCodeAndDescription) {
    target.file(".sorrelix", "not a folder");
    const ProgramResult result = cli({"merge", bytesArg(source.root()), bytesArg(target.root())});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains("domain ")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("code ")) << result.err.toStdString();
    EXPECT_TRUE(history().empty());
    expectTargetAsBefore();
}

TEST_F(CliTest, HistoryPrintsTheStoredArrayNewestFirst) {
    const ProgramResult empty = cli({"history"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "[]\n");
    const auto first = merge(source, target);
    const auto second = merge(source, target);
    const auto stored = history();
    ASSERT_EQ(stored.size(), 2U);
    EXPECT_EQ(stored[0].id, second.id);
    EXPECT_EQ(stored[1].id, first.id);
    EXPECT_EQ(second.addedCount + second.updatedCount, 0) << "the second merge found changes";
}

TEST_F(CliTest, UndoWithoutAnIdRestoresTheNewestMerge) {
    const auto record = merge(source, target);
    const ProgramResult result = cli({"undo"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    expectTargetAsBefore();
    EXPECT_FALSE(target.exists(".sorrelix/backups/" + record.id));
    EXPECT_TRUE(target.exists(".sorrelix/backups"));
    EXPECT_EQ(history().size(), 1U) << "an undone merge stays in the history";
    EXPECT_EQ(source.read("sub/new.txt"), "brand new");
}

TEST_F(CliTest, UndoWithAnIdRestoresThatMergeOnly) {
    FileTree otherTarget;
    const auto older = merge(source, target);
    const auto newer = merge(source, otherTarget);
    const ProgramResult result = cli({"undo", QString::fromStdString(older.id)});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    expectTargetAsBefore();
    EXPECT_EQ(otherTarget.read("sub/new.txt"), "brand new");
    EXPECT_TRUE(otherTarget.exists(".sorrelix/backups/" + newer.id));
}

TEST_F(CliTest, UndoingTheSameMergeTwiceFailsTheSecondTime) {
    merge(source, target);
    EXPECT_EQ(cli({"undo"}).exitCode, 0);
    const ProgramResult again = cli({"undo"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("Backup snapshot not found or already cleaned up"))
        << again.err.toStdString();
    expectTargetAsBefore();
}

TEST_F(CliTest, UndoOfAMergeThatIsNotThereExitsWithTwo) {
    const ProgramResult emptyHistory = cli({"undo"});
    EXPECT_EQ(emptyHistory.exitCode, 2);
    EXPECT_FALSE(emptyHistory.err.isEmpty());
    merge(source, target);
    const ProgramResult unknown = cli({"undo", "ffffffff"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("ffffffff")) << unknown.err.toStdString();
    EXPECT_EQ(target.read("diff.txt"), "new version") << "an unknown id undid something";
}

// Names are bytes: one that is not UTF-8 is merged, stored and undone unchanged.
TEST_F(CliTest, NamesThatAreNotUtf8GoThroughMergeHistoryAndUndo) {
    const std::string name = "caf\xe9-\xff.txt";
    source.file("odd/" + name, "latin-1 name");
    const auto record = merge(source, target);
    EXPECT_EQ(target.read("odd/" + name), "latin-1 name");
    const auto& added = *record.addedRelativePaths;
    EXPECT_NE(std::find(added.begin(), added.end(), "odd/" + name), added.end());
    const auto stored = history();
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(stored[0].addedRelativePaths, record.addedRelativePaths);
    EXPECT_EQ(cli({"undo"}).exitCode, 0);
    EXPECT_FALSE(target.exists("odd/" + name));
    expectTargetAsBefore();
    ::unlink(source.path("odd/" + name).c_str());  // QTemporaryDir skips names that are not UTF-8
}

// Three programs merging at the same time share one history: no record may be lost.
TEST_F(CliTest, MergesFromThreeProgramsAtOnceAllReachTheHistory) {
    FileTree otherTarget;
    FileTree thirdTarget;
    std::set<std::string> ids;
    for (int round = 0; round < 10; ++round) {
        auto start = [&](const FileTree& into) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_CONFIG_HOME", configHome.path());
            environment.insert("XDG_STATE_HOME", configHome.path() + "/state");
            process->setProcessEnvironment(environment);
            process->start(ProgramRun::binDir() + "/sorrelix-cli",
                           {"merge", bytesArg(source.root()), bytesArg(into.root())});
            return process;
        };
        auto first = start(target);
        auto second = start(otherTarget);
        auto third = start(thirdTarget);
        for (QProcess* process : {first.get(), second.get(), third.get()}) {
            ASSERT_TRUE(process->waitForFinished(120000));
            ASSERT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
            ids.insert(
                engine::decodeMergeSessionRecord(process->readAllStandardOutput().trimmed()).id);
        }
    }
    ASSERT_EQ(ids.size(), 30U);
    std::set<std::string> stored;
    for (const auto& record : history()) stored.insert(record.id);
    EXPECT_EQ(stored, ids);
}

// ---- usage -------------------------------------------------------------------------------

TEST_F(CliTest, HelpExitsWithZero) {
    const ProgramResult result = cli({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains("sorrelix-cli analyze SOURCE TARGET"));
    EXPECT_TRUE(result.out.contains("undo [ID]"));
}

TEST_F(CliTest, AnythingElseExitsWithTwoAndAUsageLine) {
    const QList<QStringList> wrong = {{},
                                      {"frobnicate"},
                                      {"analyze", "only-one"},
                                      {"merge", "a", "b", "c"},
                                      {"history", "extra"},
                                      {"undo", "a", "b"},
                                      {"--help", "more"},
                                      {"--HELP"},
                                      {"ANALYZE", "a", "b"}};
    for (const QStringList& arguments : wrong) {
        const ProgramResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("usage: sorrelix-cli"))
            << arguments.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_TRUE(history().empty());
}

// ---- exclude rules -------------------------------------------------------------------------

// A rule that is not a pattern refuses the command before anything is compared or changed and
// names where it came from; the stored list reaches the tool byte for byte.
TEST_F(CliTest, ExcludeRulesThatAreNotPatternsRefuseTheCommand) {
    const ScopedConfigHome home;
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp", "caf\xe9["}));
    QFile ruleFile(temp.path() + "/rules.txt");
    ASSERT_TRUE(ruleFile.open(QIODevice::WriteOnly));
    ruleFile.write("# build output\n*.o\r\n[z-a]\n");
    ruleFile.close();
    const auto run = [&](QStringList arguments) {
        arguments.insert(1, bytesArg(source.root()));
        arguments.insert(2, bytesArg(target.root()));
        return ProgramRun(QStringLiteral("sorrelix-cli"))
            .setEnv("XDG_CONFIG_HOME", QString::fromStdString(home.configHome()))
            .setEnv("XDG_STATE_HOME", QString::fromStdString(home.stateHome()))
            .setWorkingDirectory(temp.path())
            .run(arguments);
    };
    const std::vector<std::pair<QStringList, QByteArray>> rows = {
        {{"analyze"}, "exclude rule \"caf\xe9[\" (stored rule 2;"},
        {{"merge"}, "(stored rule 2;"},
        {{"merge", "--no-rules", "--exclude-from", "rules.txt"}, "\"[z-a]\" (rules.txt, line 3)"},
        {{"analyze", "--exclude", "*.o", "--no-rules", "--exclude", "[a"}, "\"[a\" (--exclude)"},
        {{"analyze", "--no-rules", "--exclude=#x"}, "--exclude \"#x\" is a comment"},
        {{"analyze", "--no-rules", "--exclude-from", "missing.txt"},
         "cannot read exclude rules from missing.txt"},
    };
    for (const auto& [arguments, errorPart] : rows) {
        const ProgramResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(errorPart))
            << arguments.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    expectTargetAsBefore();
    ruleFile.open(QIODevice::WriteOnly);
    ruleFile.write("# build output\n*.o\r\n");
    ruleFile.close();
    const ProgramResult accepted = run({"analyze", "--no-rules", "--exclude-from=rules.txt", "--"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err.toStdString();
    EXPECT_EQ(engine::decodeMergeSummary(accepted.out.trimmed()).items.size(), 3U);
    // The stored list applies without --no-rules; a merge copies only what is left.
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"sub/"}));
    const ProgramResult merged = run({"merge", "--exclude", "diff.txt"});
    EXPECT_EQ(merged.exitCode, 0) << merged.err.toStdString();
    EXPECT_FALSE(target.exists("sub/new.txt"));
    EXPECT_EQ(target.read("diff.txt"), "old version");
}

}  // namespace
}  // namespace sorrelix::testing
