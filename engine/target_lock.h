#pragma once

#include <string>
#include <vector>

#include "unique_fd.h"

namespace sorrelix::engine {

// Holds an exclusive lock for a target folder, and a shared one for each folder above it, for
// the object's lifetime, so that merges and undos into one target, or into a folder and a
// folder inside it, run one after another, from any thread or process of the user. Two merges
// whose file operations interleave back up each other's copies in an order that no sequence
// of undos can reverse.
//
// The locks are files of our own, one per folder (named by its device and inode), in a folder
// private to the user, so that no other program's locks on the folders themselves can hold a
// merge up. They are taken from the root down, so two holders never wait for each other in a
// circle. Where a lock cannot be had (no private folder, a folder that cannot be examined),
// the work goes ahead without it rather than not at all.
class TargetLock {
public:
    // Waits for the locks; the caller is a background task, never the GUI thread.
    explicit TargetLock(const std::string& targetPath);

    bool isHeld() const { return held_; }

private:
    std::vector<UniqueFd> locks_;
    bool held_ = false;
};

}  // namespace sorrelix::engine
