#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorrelix::testing {

struct ChildOutcome {
    bool killed = false;  // ended by a signal: our SIGKILL (or the hang guard)
    int exitCode = -1;    // when it exited by itself
    std::string out;
    std::string err;
};

// Runs sorrelix-cli (from $SORRELIX_BIN_DIR) as a child process with extra environment
// variables, optionally under strace with a fault injected, optionally killed with SIGKILL
// after a delay. Both output streams are drained while it runs, so a long record cannot
// block it.
class CliChild {
public:
    explicit CliChild(std::vector<std::pair<std::string, std::string>> environment);

    // `inject` is an strace fault expression such as "copy_file_range:error=ENOSPC:when=3";
    // each call adds one.
    CliChild& injecting(std::string inject);
    // Sends `signal` after the delay; a program that handles it may still exit by itself.
    // With `from`, the delay counts from the moment that path exists (polled every 100 µs),
    // so that a kill lands in a chosen phase however fast the machine runs that day.
    CliChild& killedAfter(std::chrono::microseconds delay, int signal = 9 /* SIGKILL */,
                          std::string from = {});

    ChildOutcome run(const std::vector<std::string>& arguments) const;

    static std::string programPath();
    static bool straceAvailable();

private:
    std::vector<std::pair<std::string, std::string>> environment_;
    std::vector<std::string> injections_;
    std::optional<std::chrono::microseconds> killAfter_;
    int signal_ = 9;
    std::string killFrom_;
};

}  // namespace sorrelix::testing
