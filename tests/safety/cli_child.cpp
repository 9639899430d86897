#include "cli_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>

extern char** environ;

namespace sorrelix::testing {

namespace {

// A program that hangs fails its test instead of stopping the whole run.
constexpr auto kHangGuard = std::chrono::seconds(120);

std::vector<std::string> childEnvironment(
    const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::set<std::string> replaced;
    std::vector<std::string> entries;
    for (const auto& [name, value] : overrides) {
        replaced.insert(name);
        entries.push_back(name);
        entries.back() += '=';
        entries.back() += value;
    }
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!replaced.contains(text.substr(0, text.find('=')))) entries.push_back(text);
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    result.reserve(strings.size() + 1);
    for (auto& text : strings) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

bool drain(int fd, std::string& into) {
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) into.append(buffer, static_cast<std::size_t>(n));
    return n > 0 || (n < 0 && errno == EINTR);
}

}  // namespace

CliChild::CliChild(std::vector<std::pair<std::string, std::string>> environment)
    : environment_(std::move(environment)) {}

CliChild& CliChild::injecting(std::string inject) {
    injections_.push_back(std::move(inject));
    return *this;
}

CliChild& CliChild::killedAfter(std::chrono::microseconds delay, int signal, std::string from) {
    killAfter_ = delay;
    signal_ = signal;
    killFrom_ = std::move(from);
    return *this;
}

std::string CliChild::programPath() {
    const char* configured = std::getenv("SORRELIX_BIN_DIR");
    return std::string(configured && *configured ? configured : SORRELIX_DEFAULT_BIN_DIR) +
           "/sorrelix-cli";
}

bool CliChild::straceAvailable() {
    return ::access("/usr/bin/strace", X_OK) == 0;
}

ChildOutcome CliChild::run(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv;
    if (!injections_.empty()) argv = {"/usr/bin/strace", "-f", "-qq", "-o", "/dev/null"};
    for (const auto& inject : injections_) {
        argv.push_back("-e");
        argv.push_back("inject=" + inject);
    }
    argv.push_back(programPath());
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = childEnvironment(environment_);
    std::vector<char*> argvPointers = pointers(argv);
    std::vector<char*> environmentPointers = pointers(environment);

    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    }
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    if (child == 0) {
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        ::execve(argvPointers[0], argvPointers.data(), environmentPointers.data());
        // Say so: a program being relinked by a build at this moment cannot be started.
        static constexpr char kMessage[] = "the program could not be started\n";
        (void)!::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto hangDeadline = start + kHangGuard;
    bool waitingForPath = killAfter_ && !killFrom_.empty();
    auto deadline = killAfter_ && !waitingForPath ? start + *killAfter_ : hangDeadline;
    ChildOutcome outcome;
    bool signalled = false;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (waitingForPath && ::access(killFrom_.c_str(), F_OK) == 0) {
            waitingForPath = false;
            deadline = Clock::now() + *killAfter_;
        }
        auto left = signalled ? Clock::duration::max() : deadline - Clock::now();
        if (waitingForPath) left = std::min<Clock::duration>(left, std::chrono::microseconds(100));
        timespec wait{};
        timespec* timeout = nullptr;
        if (!signalled) {
            const auto ns = std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
            wait = {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
            timeout = &wait;
        }
        const int ready = ::ppoll(fds, 2, timeout, nullptr);
        if (ready == 0 && !signalled && Clock::now() >= deadline) {
            ::kill(child, killAfter_ && !waitingForPath ? signal_ : SIGKILL);
            signalled = true;
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            if (!drain(fds[i].fd, i == 0 ? outcome.out : outcome.err)) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.killed = WIFSIGNALED(status);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace sorrelix::testing
