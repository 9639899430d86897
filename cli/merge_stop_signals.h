#pragma once

#include <atomic>

namespace sorrelix::cli {

// Catches SIGINT and SIGTERM for its lifetime and turns them into a stop request for the
// merge, which then ends after the file at hand and is recorded as stopped. The previous
// handlers come back afterwards.
class MergeStopSignals {
public:
    MergeStopSignals();
    ~MergeStopSignals();
    MergeStopSignals(const MergeStopSignals&) = delete;
    MergeStopSignals& operator=(const MergeStopSignals&) = delete;

    const std::atomic<bool>* flag() const;
    // The signal received first, or 0.
    int received() const;
    // 128 + the signal: 130 for SIGINT, 143 for SIGTERM.
    int exitStatus() const { return 128 + received(); }
};

}  // namespace sorrelix::cli
