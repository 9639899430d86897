#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "file_tree.h"
#include "program_run.h"
#include "record_json.h"

namespace sorrelix::testing {
namespace {

using engine::MergeSessionRecord;

// What undo must give back, file by file: content, permission bits and the exact mtime.
struct FileState {
    std::string content;
    unsigned mode = 0;
    std::int64_t mtimeNanos = 0;
    friend bool operator==(const FileState&, const FileState&) = default;
};
using TreeState = std::map<std::string, FileState>;

// The files of a tree, the merge's own .sorrelix folder aside (it stays after an undo, as do
// the folders a merge made for added files).
TreeState stateOf(const FileTree& tree) {
    TreeState state;
    for (const std::string& path : tree.list()) {
        if (path == ".sorrelix" || path.starts_with(".sorrelix/")) continue;
        struct stat info {};
        if (::lstat(tree.path(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
        state[path] = {tree.read(path), info.st_mode & 07777U,
                       info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
    }
    return state;
}

std::string describeDifference(const TreeState& expected, const TreeState& actual) {
    for (const auto& [path, state] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) return "lost " + path;
        if (found->second.content != state.content) return "other content in " + path;
        if (!(found->second == state)) return "other mode or mtime on " + path;
    }
    for (const auto& [path, state] : actual) {
        if (!expected.contains(path)) return "left behind " + path;
    }
    return "none";
}

// Seeded trees in which two sources overlap on most names, so that two merges into one
// target both replace, and both add, many of the same files.
class SeededTrees {
public:
    explicit SeededTrees(unsigned seed) : random_(seed) {}

    void fillTarget(const FileTree& target, int files) {
        for (int i = 0; i < files; ++i) {
            const std::string path = nameOf(i);
            target.file(path, "old " + std::to_string(i) + std::string(pick(0, 3000), 'o'),
                        1'600'000'000.0 + i + pick(0, 999'999'999) / 1e9);
            target.chmod(path, pick(0, 1) != 0 ? 0600 : 0644);
        }
    }

    // Changes about three quarters of the target's files below `folder` ("" for all), adds
    // files of its own and shared ones, and leaves some identical. The source mirrors `folder`.
    void fillSource(const FileTree& source, const FileTree& target, int files,
                    const std::string& label, const std::string& folder = "") {
        const std::string prefix = folder.empty() ? "" : folder + "/";
        for (int i = 0; i < files; ++i) {
            const std::string path = nameOf(i);
            if (!path.starts_with(prefix)) continue;
            const std::string inSource = path.substr(prefix.size());
            if (pick(0, 3) == 0) {
                source.file(inSource, target.read(path), target.mtime(path));
            } else {
                source.file(inSource,
                            label + " " + std::to_string(i) + std::string(pick(0, 3000), 'n'),
                            1'700'000'000.0 + i);
            }
        }
        for (int i = 0; i < files / 4; ++i) {
            source.file("shared-new/" + std::to_string(i) + ".txt", label + " added");
            source.file(label + "-new/" + std::to_string(i) + ".txt", label + " added");
        }
    }

private:
    static std::string nameOf(int i) {
        return "d" + std::to_string(i % 7) + "/f" + std::to_string(i) + (i % 5 == 0 ? " é" : "");
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::mt19937 random_;
};

class ConcurrentMergeTest : public ::testing::TestWithParam<unsigned> {
protected:
    static constexpr int kFiles = 240;

    ProgramRun cli() const {
        return ProgramRun(QStringLiteral("sorrelix-cli"))
            .setEnv("XDG_CONFIG_HOME", configHome.path())
            .setEnv("XDG_STATE_HOME", configHome.path() + "/state")
            .setEnv("TMPDIR", temp.path());
    }

    // Starts every merge (source and target folder) before waiting for any.
    std::vector<MergeSessionRecord> mergeAtOnce(
        const std::vector<std::pair<std::string, std::string>>& pairs) const {
        std::vector<std::unique_ptr<QProcess>> processes;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        environment.insert("XDG_STATE_HOME", configHome.path() + "/state");
        for (const auto& [source, target] : pairs) {
            auto process = std::make_unique<QProcess>();
            if (separateMachines) {
                // Each its own runtime folder, as on two computers sharing the target.
                runtimeFolders_.push_back(std::make_unique<QTemporaryDir>());
                environment.insert("XDG_RUNTIME_DIR", runtimeFolders_.back()->path());
            }
            process->setProcessEnvironment(environment);
            process->start(
                ProgramRun::binDir() + "/sorrelix-cli",
                {"merge", QString::fromStdString(source), QString::fromStdString(target)});
            processes.push_back(std::move(process));
        }
        std::vector<MergeSessionRecord> records;
        for (const auto& process : processes) {
            EXPECT_TRUE(process->waitForFinished(120000));
            EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
            records.push_back(
                engine::decodeMergeSessionRecord(process->readAllStandardOutput().trimmed()));
        }
        return records;
    }

    std::vector<MergeSessionRecord> history() const {
        const ProgramResult result = cli().run({"history"});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return engine::decodeMergeSessionRecords(result.out.trimmed());
    }

    void undo(const std::string& id) const {
        const ProgramResult result = cli().run({"undo", QString::fromStdString(id)});
        EXPECT_EQ(result.exitCode, 0) << id << ": " << result.err.toStdString();
    }

    // Both merges into one target are kept, and undoing them newest first gives back every
    // file of the target exactly, however their file operations interleaved.
    void expectTwoMergesIntoOneTargetUndone() {
        SeededTrees trees(GetParam());
        trees.fillTarget(target, kFiles);
        trees.fillSource(sourceA, target, kFiles, "a");
        trees.fillSource(sourceB, target, kFiles, "b");
        const TreeState before = stateOf(target);

        const auto records =
            mergeAtOnce({{sourceA.root(), target.root()}, {sourceB.root(), target.root()}});
        ASSERT_EQ(records.size(), 2U);
        const auto stored = history();
        ASSERT_EQ(stored.size(), 2U);
        EXPECT_EQ((std::set<std::string>{stored[0].id, stored[1].id}),
                  (std::set<std::string>{records[0].id, records[1].id}));
        EXPECT_NE(stateOf(target), before);

        undo(stored[0].id);
        undo(stored[1].id);
        const TreeState after = stateOf(target);
        EXPECT_TRUE(after == before) << "first difference: " << describeDifference(before, after);
        for (const auto& record : records) {
            EXPECT_FALSE(target.exists(".sorrelix/backups/" + record.id)) << record.id;
        }
    }

    QTemporaryDir configHome;
    QTemporaryDir temp;
    FileTree sourceA;
    FileTree sourceB;
    FileTree target;
    bool separateMachines = false;

private:
    mutable std::vector<std::unique_ptr<QTemporaryDir>> runtimeFolders_;
};

TEST_P(ConcurrentMergeTest, TwoMergesIntoOneTargetAreBothKeptAndBothUndone) {
    expectTwoMergesIntoOneTargetUndone();
}

// Two computers mounting one shared folder do not see each other's runtime folders: the lock
// inside the target orders their merges all the same.
TEST_P(ConcurrentMergeTest, MergesFromTwoMachinesIntoOneSharedFolderAreBothUndone) {
    separateMachines = true;
    expectTwoMergesIntoOneTargetUndone();
}

// A target inside the other merge's target shares its files: the same holds as for one target.
TEST_P(ConcurrentMergeTest, MergesIntoAFolderAndItsSubfolderAreBothUndone) {
    SeededTrees trees(GetParam());
    trees.fillTarget(target, kFiles);
    trees.fillSource(sourceA, target, kFiles, "a");
    trees.fillSource(sourceB, target, kFiles, "b", "d0");
    const TreeState before = stateOf(target);

    const auto records =
        mergeAtOnce({{sourceA.root(), target.root()}, {sourceB.root(), target.path("d0")}});
    ASSERT_EQ(records.size(), 2U);
    const auto stored = history();
    ASSERT_EQ(stored.size(), 2U);
    undo(stored[0].id);
    undo(stored[1].id);
    const TreeState after = stateOf(target);
    EXPECT_TRUE(after == before) << "first difference: " << describeDifference(before, after);
}

TEST_P(ConcurrentMergeTest, TwoMergesIntoTwoTargetsAreBothKeptAndBothUndone) {
    FileTree otherTarget;
    SeededTrees trees(GetParam());
    trees.fillTarget(target, kFiles);
    trees.fillTarget(otherTarget, kFiles);
    trees.fillSource(sourceA, target, kFiles, "a");
    trees.fillSource(sourceB, otherTarget, kFiles, "b");
    const TreeState before = stateOf(target);
    const TreeState otherBefore = stateOf(otherTarget);

    const auto records =
        mergeAtOnce({{sourceA.root(), target.root()}, {sourceB.root(), otherTarget.root()}});
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(history().size(), 2U);

    // Each undone by its id, the older one first: the targets are independent.
    undo(history()[1].id);
    undo(history()[0].id);
    EXPECT_TRUE(stateOf(target) == before) << describeDifference(before, stateOf(target));
    EXPECT_TRUE(stateOf(otherTarget) == otherBefore)
        << describeDifference(otherBefore, stateOf(otherTarget));
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConcurrentMergeTest, ::testing::Values(1U, 2U, 3U));

// A share mounted over the network (sshfs here, as a NAS would be) has no clones, no O_TMPFILE,
// no RENAME_NOREPLACE and whole-second mtimes: the merge must still copy every file, and its
// undo give every one back.
TEST_P(ConcurrentMergeTest, MergeIntoAnSshfsShareIsUndone) {
    const std::string share = sshfsScratchDir();
    if (share.empty()) GTEST_SKIP() << "no sshfs scratch mount (scripts/sshfs-loopback.sh)";
    constexpr int kShareFiles = 24;
    const FileTree source(share);
    const FileTree shared(share);
    SeededTrees trees(GetParam());
    trees.fillTarget(shared, kShareFiles);
    trees.fillSource(source, shared, kShareFiles, "a");
    const TreeState before = stateOf(shared);
    TreeState merged = before;  // with the source's files, bar those the target already has
    for (const auto& [path, state] : stateOf(source)) {
        if (!before.contains(path) || before.at(path).content != state.content)
            merged[path] = state;
    }

    const QString sourceRoot = QString::fromStdString(source.root());
    const ProgramResult merge =
        cli().run({"merge", sourceRoot, QString::fromStdString(shared.root())});
    ASSERT_EQ(merge.exitCode, 0) << merge.err.toStdString();
    EXPECT_TRUE(stateOf(shared) == merged) << describeDifference(merged, stateOf(shared));

    const ProgramResult undone = cli().run({"undo"});
    ASSERT_EQ(undone.exitCode, 0) << undone.err.toStdString();
    EXPECT_TRUE(stateOf(shared) == before) << describeDifference(before, stateOf(shared));
}

}  // namespace
}  // namespace sorrelix::testing
