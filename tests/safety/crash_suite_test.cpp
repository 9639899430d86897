// sorrelix-cli killed with SIGKILL or stopped with SIGTERM at random moments of a merge of a
// few thousand files, and of its undo. After every kill each file of the target must be at its
// place or in the backup, nothing half-written may stand anywhere, the merge must be in the
// history, and undo (run again after a killed undo) must restore the target exactly. The trials
// are seeded: a failure prints the seed and the delay of its trial, and SORRELIX_CRASH_SEED /
// SORRELIX_CRASH_TRIALS repeat or widen a run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include "cli_child.h"
#include "safety_support.h"

namespace sorrelix::testing {
namespace {

using engine::APFSEngine;
using engine::MergeOutcome;
using std::chrono::microseconds;

long long setting(const char* name, long long fallback) {
    const char* value = std::getenv(name);
    return value ? std::atoll(value) : fallback;
}

#ifdef __SANITIZE_ADDRESS__
constexpr int kDefaultTrials = 12;  // the sanitized program, unoptimized, runs slower
#else
constexpr int kDefaultTrials = 50;
#endif
const int kTrials = static_cast<int>(setting("SORRELIX_CRASH_TRIALS", kDefaultTrials));
const auto kSeed = static_cast<unsigned>(setting("SORRELIX_CRASH_SEED", 20261207));

// Bytes that differ from file to file and from version to version, quick to make.
std::string content(std::size_t size, unsigned seed) {
    const std::string unit = std::to_string(seed) + ",";
    std::string bytes;
    while (bytes.size() < size) bytes += unit;
    bytes.resize(size);
    return bytes;
}

class CrashSuite : public ::testing::Test {
protected:
    // 2400 source files in 40 folders: 1000 added, 1000 updated, 400 identical, and a few of
    // 2 MiB among the added and updated; the target also holds 200 files of its own.
    CrashSuite() {
        for (unsigned i = 0; i < 2400; ++i) {
            const std::string path = "d" + std::to_string(i % 40) + "/f" + std::to_string(i);
            const bool changed = i % 12 < 10;
            const std::size_t size = i % 400 == 7 ? (2U << 20) : 200 + (i * 37) % 4000;
            source.file(path, content(size, i), kTreeTime + (changed ? 60 : 0));
            if (i % 12 >= 5)
                targetFiles_[path] = changed ? content(size / 2 + 1, ~i) : content(size, i);
        }
        for (unsigned i = 0; i < 200; ++i)
            targetFiles_["own/o" + std::to_string(i)] = content(300, ~i);
        rebuildTarget();
        pristine = TreeSnapshot::of(target.root());
        sourceState = TreeSnapshot::of(source.root());
    }

    void rebuildTarget() const {
        removeContents(target.root());
        for (const auto& [path, bytes] : targetFiles_) target.file(path, bytes);
    }

    // How long a whole run takes here, so that kills spread over all of it; a failed run's
    // delays are repeated by giving this duration in the environment variable `repeat`.
    microseconds durationOf(const std::vector<std::string>& arguments,
                            const char* repeat = "SORRELIX_CRASH_WHOLE_US") const {
        const auto start = std::chrono::steady_clock::now();
        const ChildOutcome outcome = runCli(config, arguments);
        if (outcome.exitCode != 0)
            throw std::runtime_error("calibration run failed: " + outcome.err);
        const auto took = std::chrono::steady_clock::now() - start;
        return microseconds(
            setting(repeat, std::chrono::duration_cast<microseconds>(took).count()));
    }

    microseconds randomDelay(microseconds upTo, microseconds from = microseconds(0)) {
        return microseconds(std::uniform_int_distribution(from.count(), upTo.count())(random_));
    }

    // Undoes merge `id`, the first try killed after `delay` when there is one: after the kill
    // every entry the target held `before` the merge is at its place or in the backup, and
    // after undoing again the target is as it was.
    void expectUndone(const std::string& id, const TreeSnapshot& before,
                      std::optional<microseconds> delay) {
        if (delay) {
            const ChildOutcome killed = runCli(config, {"undo", id}, {.killAfter = delay});
            ASSERT_TRUE(killed.killed || killed.exitCode == 0) << killed.err;
            ASSERT_EQ(mergePromiseViolations(before, sourceState, target.root()), "");
            undoneAgain += killed.killed;
        }
        const ChildOutcome undo = runCli(config, {"undo", id});
        // Killed after its last step, the first undo left nothing to do but say so.
        const bool undoneBefore =
            undo.exitCode == 1 && undo.err.find("Backup snapshot not found") != std::string::npos;
        ASSERT_TRUE(undo.exitCode == 0 || undoneBefore) << undo.err;
        ASSERT_EQ(undoViolations(before, target.root(), id), "");
    }

    ScopedConfigHome config;
    // A tmpfs keeps the thousands of file creations of each trial quick; the kills do not
    // depend on the file system.
    Tmpfs fast{"1g"};
    FileTree source{fast.path()};
    FileTree target{fast.path()};
    TreeSnapshot pristine;
    TreeSnapshot sourceState;
    std::mt19937_64 random_{kSeed};
    int undoneAgain = 0;

private:
    std::map<std::string, std::string> targetFiles_;
};

// Whether the stored outcome fits how the program ended: one killed after its merge was
// recorded as completed still ends as killed.
bool fits(MergeOutcome stored, const ChildOutcome& outcome) {
    if (outcome.killed)
        return stored == MergeOutcome::interrupted || stored == MergeOutcome::completed;
    return stored == (outcome.exitCode == 143 ? MergeOutcome::stopped : MergeOutcome::completed);
}

// Every fourth merge gets SIGTERM, the others SIGKILL; every third undo of one is killed too
// and run again. Whatever the moment, the merge is in the history with how it ended, and undo
// brings every file of the target back as it was.
TEST_F(CrashSuite, AKilledOrStoppedMergeIsRecordedAndUndoneExactly) {
    const std::vector<std::string> merge = {"merge", source.root(), target.root()};
    durationOf(merge);  // warms the caches: the second run says how long the trials take
    rebuildTarget();
    const microseconds whole = durationOf(merge);
    rebuildTarget();
    const microseconds analysis =
        durationOf({"analyze", source.root(), target.root()}, "SORRELIX_CRASH_ANALYSIS_US");
    const microseconds changing = std::max(whole - analysis, microseconds(1000));
    // The journal folder appears just before the first change: kills timed from it land while
    // the target changes, whatever the load on the machine; the others spread over the run.
    const std::string journals = target.root() + "/.sorrelix/journals";
    std::map<std::string, int> endings;
    std::set<std::string> seen;  // the calibration runs' records first
    for (const auto& record : APFSEngine::shared().loadSessionRecords()) seen.insert(record.id);
    for (int trial = 0; trial < kTrials; ++trial) {
        rebuildTarget();
        const int phase = trial % 4;
        const int signal = phase == 3 ? SIGTERM : SIGKILL;
        const microseconds delay = phase == 0   ? randomDelay(whole * 23 / 20, analysis * 3 / 4)
                                   : phase == 3 ? randomDelay(changing / 2)
                                                : randomDelay(changing);
        SCOPED_TRACE("SORRELIX_CRASH_SEED=" + std::to_string(kSeed) +
                     " SORRELIX_CRASH_WHOLE_US=" + std::to_string(whole.count()) +
                     " SORRELIX_CRASH_ANALYSIS_US=" + std::to_string(analysis.count()) +
                     ", trial " + std::to_string(trial) + ": " + strsignal(signal) + " after " +
                     std::to_string(delay.count()) + " µs" +
                     (phase == 0 ? "" : " from the journal's appearance"));
        const ChildOutcome outcome =
            runCli(config, merge,
                   {.killAfter = delay, .signal = signal, .killFrom = phase == 0 ? "" : journals});
        ASSERT_TRUE(outcome.killed || outcome.exitCode == 0 || outcome.exitCode == 143)
            << outcome.err;
        ASSERT_EQ(mergePromiseViolations(pristine, sourceState, target.root()), "");
        const auto history = APFSEngine::shared().loadSessionRecords();
        if (history.empty() || !seen.insert(history.front().id).second) {
            ++endings["ended before its first change"];
            continue;
        }
        const auto& record = history.front();
        EXPECT_TRUE(fits(record.outcome, outcome)) << engine::rawValue(record.outcome);
        ++endings[std::string(engine::rawValue(record.outcome))];
        // Only a merge that never ended is offered for recovery.
        EXPECT_EQ(APFSEngine::shared().interruptedMerges(target.root()).size(),
                  record.outcome == MergeOutcome::interrupted);
        ASSERT_NO_FATAL_FAILURE(expectUndone(
            record.id, pristine,
            trial % 3 == 0 ? std::optional(randomDelay(whole * 23 / 40)) : std::nullopt));
        EXPECT_TRUE(APFSEngine::shared().interruptedMerges(target.root()).empty());
    }
    for (const auto& [ending, count] : endings) std::cout << ending << ": " << count << '\n';
    EXPECT_GE(endings["interrupted"], kTrials / 6);
    EXPECT_GE(endings["stopped"], kTrials / 8);
}

// Places of added files are taken after the analysis: what stood there is restored by undo,
// and an undo run again after a kill must not take it for an added file.
TEST_F(CrashSuite, AKilledUndoLosesNothingAndUndoingAgainRestoresTheTarget) {
    const engine::MergeSummary summary = analyzed(source, target);
    std::vector<std::string> occupied;
    for (const auto& item : summary.items) {
        if (item.kind == engine::FileDiffKind::added && occupied.size() < 40)
            occupied.push_back(item.relativePath);
    }
    const auto occupy = [&] {
        rebuildTarget();
        for (std::size_t i = 0; i < occupied.size(); ++i)
            target.file(occupied[i] + (i % 4 == 0 ? "/inner.txt" : ""), "written meanwhile");
    };
    const auto mergeWithOccupiedPlaces = [&] {
        occupy();
        return APFSEngine::shared().executeMergeNow(source.root(), target.root(), summary, {});
    };
    occupy();
    const TreeSnapshot before = TreeSnapshot::of(target.root());
    const microseconds whole = durationOf({"undo", mergeWithOccupiedPlaces().id});
    for (int trial = 0; trial < kTrials; ++trial) {
        const auto record = mergeWithOccupiedPlaces();
        const microseconds delay = randomDelay(whole * 23 / 20);
        SCOPED_TRACE("SORRELIX_CRASH_SEED=" + std::to_string(kSeed) + " SORRELIX_CRASH_WHOLE_US=" +
                     std::to_string(whole.count()) + ", trial " + std::to_string(trial) +
                     ": undo killed after " + std::to_string(delay.count()) + " µs");
        ASSERT_NO_FATAL_FAILURE(expectUndone(record.id, before, delay));
    }
    EXPECT_GE(undoneAgain, kTrials / 4);
}

}  // namespace
}  // namespace sorrelix::testing
