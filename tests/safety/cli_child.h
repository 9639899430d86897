#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorrelix::testing {

class ScopedConfigHome;

struct ChildOutcome {
    bool killed = false;  // ended by a signal: ours, or the hang guard's
    int exitCode = -1;    // when it exited by itself
    std::string err;
};

// How to run sorrelix-cli beyond its arguments.
struct CliOptions {
    // strace fault expressions such as "copy_file_range:error=ENOSPC:when=3".
    std::vector<std::string> injections = {};
    // Sends `signal` after the delay; a program that handles it may still exit by itself.
    std::optional<std::chrono::microseconds> killAfter = {};
    int signal = SIGKILL;
    // When set, the delay counts from the moment this path exists, so that a kill lands in a
    // chosen phase however fast the machine runs that day.
    std::string killFrom = {};
    std::vector<std::pair<std::string, std::string>> environment = {};
};

// Runs sorrelix-cli (from $SORRELIX_BIN_DIR) with the settings store and merge history of
// `config`. Its standard error goes to a file, so that a long record cannot block it; its
// standard output is dropped.
ChildOutcome runCli(const ScopedConfigHome& config, const std::vector<std::string>& arguments,
                    const CliOptions& options = {});

bool straceAvailable();

}  // namespace sorrelix::testing
