#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "exclude_rule_store.h"
#include "file_tree.h"
#include "program_run.h"
#include "record_json.h"

// Concurrent merges through the tool are the concurrency suite's, odd folder names the
// hostile-tree suite's; names that are not UTF-8 are the engine's and go through unchanged.
namespace sorrelix::testing {
namespace {

using engine::MergeSessionRecord;

constexpr double kTime = 1'700'000'000.0;

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

    // On the settings and history of this test (ScopedConfigHome), in the temporary folder
    // unless told otherwise.
    ProgramResult cli(const QStringList& arguments, const QString& workingFolder = {}) const {
        return runProgram("sorrelix-cli", arguments,
                          {{"XDG_CONFIG_HOME", QString::fromStdString(home.configHome())},
                           {"XDG_STATE_HOME", QString::fromStdString(home.stateHome())},
                           {"TMPDIR", temp.path()}},
                          workingFolder.isEmpty() ? temp.path() : workingFolder);
    }

    // "analyze" or "merge" with the options, of the source into the target.
    ProgramResult run(QStringList arguments, const FileTree& into) const {
        arguments.insert(1, QString::fromStdString(source.root()));
        arguments.insert(2, QString::fromStdString(into.root()));
        return cli(arguments);
    }

    MergeSessionRecord merge(const FileTree& into) const {
        const ProgramResult result = run({"merge"}, into);
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
    }

    const ScopedConfigHome home;
    const QTemporaryDir temp;
    const FileTree source;
    const FileTree target;
};

// Folder arguments may be relative to the working folder.
TEST_F(CliTest, AnalyzePrintsTheSummaryAsOneJsonLine) {
    const QFileInfo sourceRoot(QString::fromStdString(source.root()));
    const QFileInfo targetRoot(QString::fromStdString(target.root()));
    ASSERT_EQ(sourceRoot.path(), targetRoot.path());
    // After "--" a folder may be named like an option.
    const QString optionLike = "--" + sourceRoot.fileName();
    ASSERT_TRUE(QFile::link(sourceRoot.filePath(), sourceRoot.path() + "/" + optionLike));
    const ProgramResult result =
        cli({"analyze", "--", optionLike + "/", "./" + targetRoot.fileName()}, sourceRoot.path());
    QFile::remove(sourceRoot.path() + "/" + optionLike);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    ASSERT_EQ(result.outLines().size(), 1);
    const auto summary = engine::decodeMergeSummary(result.outLines()[0]);
    EXPECT_EQ(summary.addedCount, 1);
    EXPECT_EQ(summary.updatedCount, 1);
    EXPECT_EQ(summary.identicalCount, 1);
    EXPECT_EQ(summary.items.size(), 3U);
    expectTargetAsBefore();
}

TEST_F(CliTest, MergePrintsTheRecordAndChangesTheTarget) {
    const MergeSessionRecord record = merge(target);
    EXPECT_EQ(record.addedCount, 1);
    EXPECT_EQ(record.updatedCount, 1);
    EXPECT_EQ(record.sourcePath, source.root());
    EXPECT_EQ(record.targetPath, target.root());
    EXPECT_EQ(record.backupDir, target.path(".sorrelix/backups/" + record.id));
    EXPECT_EQ(target.read("diff.txt"), "new version");
    EXPECT_EQ(target.read("sub/new.txt"), "brand new");
    EXPECT_FALSE(target.exists(".DS_Store"));
    EXPECT_EQ(target.read(".sorrelix/backups/" + record.id + "/diff.txt"), "old version");
    const auto stored = history();
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(engine::encodeJson(stored[0]), engine::encodeJson(record));
}

// Exit status 1, the reason on standard error; a failed merge names its error's domain and
// code. Nothing is changed or stored.
TEST_F(CliTest, FailuresExitWithOne) {
    const ProgramResult analysis = cli({"analyze", "/nonexistent/a", "/nonexistent/b"});
    EXPECT_EQ(analysis.exitCode, 1);
    const auto summary = engine::decodeMergeSummary(analysis.out.trimmed());
    ASSERT_FALSE(summary.errorMessage.value_or("").isEmpty());
    EXPECT_TRUE(analysis.err.contains(summary.errorMessage->toUtf8()))
        << analysis.err.toStdString();

    const FileTree blocked;  // a file where the backup area must go
    blocked.file(".sorrelix", "not a folder");
    const ProgramResult missing =
        cli({"merge", "/nonexistent/a", QString::fromStdString(target.root())});
    const ProgramResult stopped = run({"merge"}, blocked);
    for (const ProgramResult* merge : {&missing, &stopped}) {
        EXPECT_EQ(merge->exitCode, 1);
        EXPECT_EQ(merge->out, "");
        EXPECT_TRUE(merge->err.startsWith("sorrelix-cli: ")) << merge->err.toStdString();
    }
    EXPECT_TRUE(stopped.err.contains("(domain POSIX, code ")) << stopped.err.toStdString();
    EXPECT_FALSE(blocked.exists("diff.txt"));
    EXPECT_TRUE(history().empty());
    expectTargetAsBefore();
}

// The history lists the newest merge first. Without an id, undo takes back the newest merge;
// with one, that merge only.
TEST_F(CliTest, HistoryAndUndoOfTheNewestOrTheNamedMerge) {
    const FileTree other;
    const auto older = merge(target);
    const auto newer = merge(other);
    const auto stored = history();  // newest first
    ASSERT_EQ(stored.size(), 2U);
    EXPECT_EQ(stored[0].id, newer.id);
    EXPECT_EQ(stored[1].id, older.id);
    EXPECT_EQ(cli({"undo", QString::fromStdString(older.id)}).exitCode, 0);
    expectTargetAsBefore();
    EXPECT_FALSE(target.exists(".sorrelix/backups/" + older.id));
    EXPECT_EQ(other.read("sub/new.txt"), "brand new");
    const ProgramResult undone = cli({"undo"});
    EXPECT_EQ(undone.exitCode, 0) << undone.err.toStdString();
    EXPECT_FALSE(other.exists("sub/new.txt"));
    EXPECT_EQ(history().size(), 2U);  // undone merges stay listed
    EXPECT_EQ(source.read("sub/new.txt"), "brand new");
}

// No such merge: exit status 2; a merge undone already: 1, and nothing changes.
TEST_F(CliTest, UndoOfAMergeThatIsNotThereFails) {
    EXPECT_EQ(cli({"history"}).out, "[]\n");
    const ProgramResult emptyHistory = cli({"undo"});
    EXPECT_EQ(emptyHistory.exitCode, 2);
    EXPECT_FALSE(emptyHistory.err.isEmpty());
    merge(target);
    const ProgramResult unknown = cli({"undo", "ffffffff"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("ffffffff")) << unknown.err.toStdString();
    EXPECT_EQ(target.read("diff.txt"), "new version");
    EXPECT_EQ(cli({"undo"}).exitCode, 0);
    const ProgramResult again = cli({"undo"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("Backup snapshot not found or already cleaned up"))
        << again.err.toStdString();
    expectTargetAsBefore();
}

TEST_F(CliTest, HelpOrAUsageLine) {
    const ProgramResult help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("sorrelix-cli analyze SOURCE TARGET"));
    EXPECT_TRUE(help.out.contains("undo [ID]"));
    for (const char* wrong : {"", "frobnicate", "analyze only-one", "merge a b c", "history extra",
                              "undo a b", "--help more", "ANALYZE a b"}) {
        const ProgramResult result = cli(QString(wrong).split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(result.exitCode, 2) << wrong;
        EXPECT_TRUE(result.err.startsWith("usage: sorrelix-cli")) << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(history().empty());
}

// A rule that is not a pattern refuses the command before anything is compared or changed,
// naming where it came from; the stored list reaches the tool byte for byte.
TEST_F(CliTest, ExcludeRules) {
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"*.tmp", "caf\xe9["}));
    QFile ruleFile(temp.path() + "/rules.txt");
    ASSERT_TRUE(ruleFile.open(QIODevice::WriteOnly));
    ruleFile.write("# written on Windows\ndiff.txt\r\n[z-a]\n");
    ruleFile.close();
    const std::vector<std::pair<QStringList, QByteArray>> refused = {
        {{"analyze"}, "exclude rule \"caf\xe9[\" (stored rule 2;"},
        {{"merge"}, "(stored rule 2;"},
        {{"merge", "--no-rules", "--exclude-from", "rules.txt"}, "\"[z-a]\" (rules.txt, line 3)"},
        {{"analyze", "--exclude", "*.o", "--no-rules", "--exclude", "[a"}, "\"[a\" (--exclude)"},
        {{"analyze", "--no-rules", "--exclude=#x"}, "--exclude \"#x\" is a comment"},
        {{"analyze", "--no-rules", "--exclude-from", "missing.txt"},
         "cannot read exclude rules from missing.txt"}};
    for (const auto& [arguments, errorPart] : refused) {
        const ProgramResult result = run(arguments, target);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(errorPart)) << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
    expectTargetAsBefore();

    ruleFile.open(QIODevice::WriteOnly);
    ruleFile.write("# written on Windows\ndiff.txt\r\n");
    ruleFile.close();
    const ProgramResult accepted =
        run({"analyze", "--no-rules", "--exclude-from=rules.txt", "--"}, target);
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err.toStdString();
    EXPECT_EQ(engine::decodeMergeSummary(accepted.out.trimmed()).items.size(), 2U);
    // The stored list applies without --no-rules; a merge copies only what is left.
    ASSERT_TRUE(engine::ExcludeRuleStore::save({"sub/"}));
    const ProgramResult merged = run({"merge", "--exclude", "diff.txt"}, target);
    EXPECT_EQ(merged.exitCode, 0) << merged.err.toStdString();
    expectTargetAsBefore();
}

}  // namespace
}  // namespace sorrelix::testing
