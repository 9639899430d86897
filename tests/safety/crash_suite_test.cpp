// sorrelix-cli killed with SIGKILL or stopped with SIGTERM at random moments of a merge of a
// few thousand files, and of its undo. After every kill each file of the target must be at its
// place or in the backup, nothing half-written may stand anywhere, the merge must be in the
// history, and undo (run again after a killed undo) must restore the target exactly. The trials are
// seeded: a failure prints the seed and the delay of its trial, and SORRELIX_CRASH_SEED /
// SORRELIX_CRASH_TRIALS repeat or widen a run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include <QDir>
#include <csignal>

#include "apfs_engine.h"
#include "cli_child.h"
#include "safety_support.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;
using engine::MergeSessionRecord;
using engine::MergeSummary;
using std::chrono::microseconds;

constexpr double kTime = 1'700'000'000.0;
constexpr unsigned kDefaultSeed = 20261207;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultTrials = 12;  // the sanitized programs are several times slower
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kDefaultTrials = 12;
#else
constexpr int kDefaultTrials = 50;
#endif
#else
constexpr int kDefaultTrials = 50;
#endif

int trialCount() {
    const char* configured = std::getenv("SORRELIX_CRASH_TRIALS");
    return configured ? std::atoi(configured) : kDefaultTrials;
}

unsigned seed() {
    const char* configured = std::getenv("SORRELIX_CRASH_SEED");
    return configured ? static_cast<unsigned>(std::strtoul(configured, nullptr, 10)) : kDefaultSeed;
}

std::string content(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>('a' + generator() % 26);
    return bytes;
}

// 2400 source files in 40 folders: 1000 added, 1000 updated, 400 identical, and a few of
// 2 MiB among the added and updated; the target also holds 200 files of its own.
class CrashTrees {
public:
    explicit CrashTrees(const std::string& parent) : source(parent), target(parent) {
        for (unsigned i = 0; i < 2400; ++i) {
            const std::string path =
                "d" + std::to_string(i % 40) + "/f" + std::to_string(i) + ".txt";
            const unsigned kind = i % 12;
            const std::size_t size = i % 400 == 7 ? (2u << 20) : 200 + (i * 37) % 4000;
            source.file(path, content(size, i), kTime + (kind < 10 ? 60 : 0));
            if (kind >= 5)
                targetFiles_.emplace(
                    path, content(kind < 10 ? size / 2 + 1 : size, kind < 10 ? i + 100000 : i));
        }
        for (unsigned i = 0; i < 200; ++i) {
            targetFiles_.emplace("own/o" + std::to_string(i) + ".txt", content(300, i + 500000));
        }
        rebuildTarget();
        pristine = TreeSnapshot::of(target.root());
        sourceState = TreeSnapshot::of(source.root());
    }

    void rebuildTarget() const {
        removeContents(target.root());
        for (const auto& [path, bytes] : targetFiles_) target.file(path, bytes, kTime);
    }

    FileTree source;
    FileTree target;
    TreeSnapshot pristine;
    TreeSnapshot sourceState;

private:
    std::map<std::string, std::string> targetFiles_;
};

// How long a whole run of `arguments` takes here, so that kills spread over all of it; the
// delays of a run are repeated by giving its duration in the environment variable `repeat`.
microseconds durationOf(const CliChild& cli, const std::vector<std::string>& arguments,
                        const char* repeat = "SORRELIX_CRASH_WHOLE_US") {
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome outcome = cli.run(arguments);
    if (outcome.exitCode != 0) throw std::runtime_error("calibration run failed: " + outcome.err);
    if (const char* configured = std::getenv(repeat)) return microseconds(std::atoll(configured));
    return std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
}

class CrashSuite : public ::testing::Test {
protected:
    // A delay up to `upTo`, or up to a little past the whole run so that some kills find the
    // program ending.
    microseconds randomDelay(microseconds upTo, microseconds from = microseconds(0)) {
        std::uniform_int_distribution<long long> pick(from.count(), upTo.count());
        return microseconds(pick(generator_));
    }
    std::string trialName(microseconds whole, int trial, microseconds delay) const {
        return "SORRELIX_CRASH_SEED=" + std::to_string(seed()) +
               " SORRELIX_CRASH_WHOLE_US=" + std::to_string(whole.count()) + ", trial " +
               std::to_string(trial) + ", killed after " + std::to_string(delay.count()) + " µs";
    }

    ScopedConfigHome config;
    // A tmpfs keeps the thousands of file creations of each trial quick; the kills do not
    // depend on the file system.
    OwnTmpfs fast{"1g"};
    CrashTrees trees{fast.path().empty() ? QDir::tempPath().toStdString() : fast.path()};
    CliChild cli{childEnvironment(config)};
    std::mt19937_64 generator_{seed()};
};

// Whether the stored outcome fits how the program ended: one killed after its merge was
// recorded as completed still ends as killed.
bool fits(engine::MergeOutcome stored, const ChildOutcome& outcome) {
    using engine::MergeOutcome;
    if (outcome.killed)
        return stored == MergeOutcome::interrupted || stored == MergeOutcome::completed;
    return stored == (outcome.exitCode == 143 ? MergeOutcome::stopped : MergeOutcome::completed);
}

// Every fourth merge gets SIGTERM, the others SIGKILL; every third undo of one is killed too
// and run again. Whatever the moment, the merge is in the history with how it ended, and undo
// brings every file of the target back as it was.
TEST_F(CrashSuite, AKilledOrStoppedMergeIsRecordedAndUndoneExactly) {
    const std::vector<std::string> merge = {"merge", trees.source.root(), trees.target.root()};
    // The first run also warms the caches: the second says how long the trials take.
    durationOf(cli, merge);
    trees.rebuildTarget();
    const microseconds whole = durationOf(cli, merge);
    trees.rebuildTarget();
    const microseconds analysis = durationOf(
        cli, {"analyze", trees.source.root(), trees.target.root()}, "SORRELIX_CRASH_ANALYSIS_US");
    const microseconds changing = std::max(whole - analysis, microseconds(1000));
    // The journal folder appears just before the first change: kills timed from it land while
    // the target changes, whatever the load on the machine; the others spread over the run.
    const std::string journals = trees.target.root() + "/.sorrelix/journals";
    std::map<std::string, int> endings;
    std::set<std::string> seen;  // the calibration runs' records first
    for (const auto& record : APFSEngine::shared().loadSessionRecords()) seen.insert(record.id);
    for (int trial = 0; trial < trialCount(); ++trial) {
        trees.rebuildTarget();
        const int phase = trial % 4;
        const int signal = phase == 3 ? SIGTERM : SIGKILL;
        const microseconds delay = phase == 0   ? randomDelay(whole * 23 / 20, analysis * 3 / 4)
                                   : phase == 3 ? randomDelay(changing / 2)
                                                : randomDelay(changing);
        SCOPED_TRACE(trialName(whole, trial, delay) +
                     " SORRELIX_CRASH_ANALYSIS_US=" + std::to_string(analysis.count()) +
                     (phase == 0 ? "" : " after the journal appeared") +
                     (signal == SIGTERM ? " (SIGTERM)" : ""));
        const ChildOutcome outcome =
            CliChild(cli).killedAfter(delay, signal, phase == 0 ? "" : journals).run(merge);
        ASSERT_TRUE(outcome.killed || outcome.exitCode == 0 || outcome.exitCode == 143)
            << outcome.err;
        ASSERT_EQ(mergePromiseViolations(trees.pristine, trees.sourceState, trees.target.root()),
                  "");
        const auto history = APFSEngine::shared().loadSessionRecords();
        if (history.empty() || seen.contains(history.front().id)) {
            ++endings["ended before its first change"];
            continue;
        }
        const MergeSessionRecord& record = history.front();
        seen.insert(record.id);
        EXPECT_TRUE(fits(record.outcome, outcome)) << engine::rawValue(record.outcome);
        ++endings[std::string(engine::rawValue(record.outcome))];
        // Only a merge that never ended is offered for recovery.
        const auto interrupted = APFSEngine::shared().interruptedMerges(trees.target.root());
        EXPECT_EQ(interrupted.size(), record.outcome == engine::MergeOutcome::interrupted);
        if (trial % 3 == 0) {
            (void)CliChild(cli).killedAfter(randomDelay(whole * 23 / 40)).run({"undo", record.id});
        }
        const ChildOutcome undo = cli.run({"undo", record.id});
        const bool undoneBefore =
            undo.exitCode == 1 && undo.err.find("Backup snapshot not found") != std::string::npos;
        ASSERT_TRUE(undo.exitCode == 0 || undoneBefore) << undo.err;
        ASSERT_EQ(undoViolations(trees.pristine, trees.target.root(), record.id), "");
        EXPECT_TRUE(APFSEngine::shared().interruptedMerges(trees.target.root()).empty());
    }
    for (const auto& [ending, count] : endings) std::cout << ending << ": " << count << '\n';
    EXPECT_GE(endings["interrupted"], trialCount() / 6);
    EXPECT_GE(endings["stopped"], trialCount() / 8);
}

TEST_F(CrashSuite, AKilledUndoLosesNothingAndUndoingAgainRestoresTheTarget) {
    // Places of added files taken after the analysis: what stood there is restored by undo,
    // and an undo run again must not take it for an added file.
    const MergeSummary summary =
        APFSEngine::shared().analyzeNow(trees.source.root(), trees.target.root());
    std::vector<std::string> occupied;
    for (const auto& item : summary.items) {
        if (item.kind == engine::FileDiffKind::added && occupied.size() < 40) {
            occupied.push_back(item.relativePath);
        }
    }
    auto occupy = [&] {
        trees.rebuildTarget();
        for (std::size_t i = 0; i < occupied.size(); ++i) {
            if (i % 4 == 0) {
                trees.target.file(occupied[i] + "/inner.txt", "a folder meanwhile", kTime);
            } else {
                trees.target.file(occupied[i], "written meanwhile", kTime);
            }
        }
    };
    auto mergeWithOccupiedPlaces = [&] {
        occupy();
        return APFSEngine::shared().executeMergeNow(trees.source.root(), trees.target.root(),
                                                    summary, {});
    };
    occupy();
    const TreeSnapshot beforeMerge = TreeSnapshot::of(trees.target.root());
    const MergeSessionRecord first = mergeWithOccupiedPlaces();
    const microseconds whole = durationOf(cli, {"undo", first.id});

    int undoneAgain = 0;
    for (int trial = 0; trial < trialCount(); ++trial) {
        const MergeSessionRecord record = mergeWithOccupiedPlaces();
        const microseconds delay = randomDelay(whole * 23 / 20);
        SCOPED_TRACE(trialName(whole, trial, delay));
        const ChildOutcome killed = CliChild(cli).killedAfter(delay).run({"undo", record.id});
        ASSERT_TRUE(killed.killed || killed.exitCode == 0) << killed.err;
        ASSERT_EQ(mergePromiseViolations(beforeMerge, trees.sourceState, trees.target.root()), "");
        if (!killed.killed) continue;
        ++undoneAgain;
        const ChildOutcome again = cli.run({"undo", record.id});
        // Killed after its last step, the undo had nothing left to do but say so.
        const bool gone =
            again.exitCode == 1 && again.err.find("Backup snapshot not found") != std::string::npos;
        EXPECT_TRUE(again.exitCode == 0 || gone)
            << "exit " << again.exitCode << (again.killed ? " (killed)" : "") << ": " << again.err;
        ASSERT_EQ(undoViolations(beforeMerge, trees.target.root(), record.id), "");
    }
    EXPECT_GE(undoneAgain, trialCount() / 4);
}

}  // namespace
}  // namespace sorrelix::testing
