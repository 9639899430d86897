#pragma once

#include <atomic>
#include <cstdint>

namespace sorrelix::engine {

// Shared between a running analysis and whoever watches it. The walk's threads add to the
// counts as they go and look at the flag between entries; any thread may read the counts or
// set the flag at any time, without locks. The counts say how far the walk has come, nothing
// more, so relaxed order is enough for them and for the flag.
struct AnalysisProgress {
    // Source files classified so far; at the end, the number of items in the summary.
    alignas(64) std::atomic<std::int64_t> filesCompared{0};
    // Bytes read from both sides to compare files whose size and time agree.
    std::atomic<std::int64_t> bytesRead{0};
    // Apart from the counts, so the flag read on every entry does not share their cache line.
    alignas(64) std::atomic<bool> cancelRequested{false};

    void requestCancel() { cancelRequested.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return cancelRequested.load(std::memory_order_relaxed); }
};

}  // namespace sorrelix::engine
