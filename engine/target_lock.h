#pragma once

#include <string>

#include "unique_fd.h"

namespace sorrelix::engine {

// Holds an exclusive lock on a target folder for the object's lifetime, so that merges and
// undos into one target, from any thread or process, run one after another. Two merges whose
// file operations interleave back up each other's copies in an order that no sequence of
// undos can reverse. Where the file system refuses the lock (some network file systems), the
// work goes ahead unserialized rather than not at all.
class TargetLock {
public:
    // Waits for the lock; the caller is a background task, never the GUI thread.
    explicit TargetLock(const std::string& targetPath);

    bool isHeld() const { return held_; }

private:
    UniqueFd fd_;
    bool held_ = false;
};

}  // namespace sorrelix::engine
