#include "cli_child.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>
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

[[noreturn]] void fail(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

// An unnamed temporary file for one output stream of the child.
File outputFile() {
    File file(std::tmpfile(), &std::fclose);
    if (!file) fail(errno, "tmpfile");
    return file;
}

std::string contentOf(const File& file) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::pread(fileno(file.get()), buffer, sizeof buffer,
                        static_cast<off_t>(text.size()))) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

}  // namespace

bool straceAvailable() {
    return ::access("/usr/bin/strace", X_OK) == 0;
}

namespace {

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
    if (done < 0) fail(errno, "waitpid");
    return status;
}

}  // namespace

ChildOutcome runCli(const ScopedConfigHome& config, const std::vector<std::string>& arguments,
                    const CliOptions& options) {
    // env sets the variables; it makes none of the calls that faults are injected into.
    std::vector<std::string> argv = {"/usr/bin/env", "XDG_CONFIG_HOME=" + config.configHome(),
                                     "XDG_STATE_HOME=" + config.stateHome()};
    for (const auto& [name, value] : options.environment) argv.push_back(name + "=" + value);
    if (!options.injections.empty()) {
        argv.insert(argv.end(), {"/usr/bin/strace", "-f", "-qq", "-o", "/dev/null"});
    }
    for (const auto& inject : options.injections) {
        argv.insert(argv.end(), {"-e", "inject=" + inject});
    }
    const char* binDir = std::getenv("SORRELIX_BIN_DIR");
    argv.push_back(std::string(binDir && *binDir ? binDir : SORRELIX_DEFAULT_BIN_DIR) +
                   "/sorrelix-cli");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (auto& text : argv) pointers.push_back(text.data());
    pointers.push_back(nullptr);

    const File out = outputFile();
    const File err = outputFile();
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, fileno(out.get()), STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, fileno(err.get()), STDERR_FILENO);
    pid_t child = 0;
    const int failed =
        ::posix_spawn(&child, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) fail(failed, "start " + argv.back());
    const int status = waitFor(child, options);
    return {WIFSIGNALED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentOf(out),
            contentOf(err)};
}

}  // namespace sorrelix::testing
