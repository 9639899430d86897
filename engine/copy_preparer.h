#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "beneath_folder.h"
#include "file_diff_item.h"
#include "prepared_copy.h"

namespace sorrelix::engine {

// Copies the files of a work list ahead of the merge on a thread of its own, so that reading
// and writing data overlaps with the merge's moves and links on the other core. Each copy is an
// unnamed file (PreparedCopy): the target shows nothing of it until the merge links it in its
// turn, so the order of everything visible stays the work list's. At most a window of items
// and unshared bytes is prepared ahead; copies never taken vanish when the preparer goes.
class CopyPreparer {
public:
    CopyPreparer(const BeneathFolder& source, const BeneathFolder& target,
                 const std::vector<const FileDiffItem*>& work);
    ~CopyPreparer();
    CopyPreparer(const CopyPreparer&) = delete;
    CopyPreparer& operator=(const CopyPreparer&) = delete;

    // The copy of item `index`, waiting for it when needed. Items are taken in order, each once.
    PreparedCopy take(std::size_t index);

    static constexpr std::size_t kWindowItems = 64;
    static constexpr std::int64_t kWindowBytes = 64 << 20;

private:
    void prepareAll();
    bool waitForRoom(std::int64_t itemSize);

    const BeneathFolder& source_;
    const BeneathFolder& target_;
    const std::vector<const FileDiffItem*>& work_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PreparedCopy> ready_;  // items taken_ .. taken_ + ready_.size() - 1
    std::size_t taken_ = 0;
    std::int64_t bytesAhead_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace sorrelix::engine
