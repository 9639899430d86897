#include "merge_stop_signals.h"

#include <signal.h>

namespace sorrelix::cli {

namespace {

// Lock-free atomics are safe to touch from a signal handler.
std::atomic<bool> stopRequested{false};
std::atomic<int> firstSignal{0};
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void requestStop(int signalNumber) {
    int none = 0;
    firstSignal.compare_exchange_strong(none, signalNumber);
    stopRequested.store(true);
}

}  // namespace

MergeStopSignals::MergeStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    // Calls under way go on rather than fail with EINTR: the file at hand is finished.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousInterrupt);
    ::sigaction(SIGTERM, &action, &previousTerminate);
}

MergeStopSignals::~MergeStopSignals() {
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
    ::sigaction(SIGTERM, &previousTerminate, nullptr);
}

const std::atomic<bool>* MergeStopSignals::flag() const {
    return &stopRequested;
}

int MergeStopSignals::received() const {
    return firstSignal.load();
}

}  // namespace sorrelix::cli
