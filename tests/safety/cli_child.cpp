#include "cli_child.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "file_tree.h"

extern char** environ;

namespace sorrelix::testing {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A program that hangs fails its test instead of stopping the whole run.
constexpr auto kHangGuard = 120s;

// Sends the signal when it is due and SIGKILL to a program that hangs; returns the wait status.
int waitFor(pid_t child, const CliOptions& options) {
    const auto hangAt = Clock::now() + kHangGuard;
    std::optional<Clock::time_point> killAt;
    if (options.killAfter && options.killFrom.empty()) killAt = Clock::now() + *options.killAfter;
    bool signalled = !options.killAfter;
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(child, &status, WNOHANG)) == 0) {
        const auto now = Clock::now();
        if (!signalled && !killAt && ::access(options.killFrom.c_str(), F_OK) == 0) {
            killAt = now + *options.killAfter;
        }
        if (!signalled && killAt && now >= *killAt) {
            ::kill(child, options.signal);
            signalled = true;
        }
        if (now >= hangAt) ::kill(child, SIGKILL);
        // Fine steps while a kill is due, so that it lands when it should.
        std::this_thread::sleep_for(signalled ? Clock::duration(1ms) : Clock::duration(100us));
    }
    checkCall(done > 0, "waitpid");
    return status;
}

}  // namespace

bool straceAvailable() {
    return ::access("/usr/bin/strace", X_OK) == 0;
}

ChildOutcome runCli(const ScopedConfigHome& config, const std::vector<std::string>& arguments,
                    const CliOptions& options) {
    // env sets the variables; it makes none of the calls that faults are injected into.
    std::vector<std::string> argv = {"/usr/bin/env", "XDG_CONFIG_HOME=" + config.configHome(),
                                     "XDG_STATE_HOME=" + config.stateHome()};
    for (const auto& [name, value] : options.environment) argv.push_back(name + "=" + value);
    if (!options.injections.empty())
        argv.insert(argv.end(), {"/usr/bin/strace", "-f", "-qq", "-o", "/dev/null"});
    for (const auto& inject : options.injections)
        argv.insert(argv.end(), {"-e", "inject=" + inject});
    const char* binDir = std::getenv("SORRELIX_BIN_DIR");
    argv.push_back(std::string(binDir && *binDir ? binDir : SORRELIX_DEFAULT_BIN_DIR) +
                   "/sorrelix-cli");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (auto& text : argv) pointers.push_back(text.data());
    pointers.push_back(nullptr);

    const File err(std::tmpfile(), &std::fclose);
    checkCall(err != nullptr, "tmpfile");
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, fileno(err.get()), STDERR_FILENO);
    pid_t child = 0;
    const int failed =
        ::posix_spawn(&child, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    errno = failed;
    checkCall(failed == 0, "start " + argv.back());
    const int status = waitFor(child, options);
    // The child wrote through a descriptor sharing our file offset: read from the start.
    ::lseek(fileno(err.get()), 0, SEEK_SET);
    return {WIFSIGNALED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            readAll(fileno(err.get()))};
}

}  // namespace sorrelix::testing
