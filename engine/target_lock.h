#pragma once

#include <string>
#include <vector>

#include "lock_file.h"

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
// circle. Last comes a lock file inside the target (".sorrelix/lock"): the runtime folder is
// private to one machine, and a folder shared over the network (NFS, SMB) carries that lock
// to the other machines that mount it. File systems that keep locks local (FUSE mounts such
// as sshfs) or have none give the same protection as the private folder alone. Where a lock
// cannot be had (no private folder, a folder that cannot be examined, a read-only target),
// the work goes ahead without it rather than not at all.
class TargetLock {
public:
    // Waits for the locks; the caller is a background task, never the GUI thread.
    explicit TargetLock(const std::string& targetPath);

    bool isHeld() const { return held_; }

    // Whether a merge or undo into the target is under way now, from any process that can
    // lock inside the target.
    static bool isTargetBusy(const std::string& targetPath);

private:
    std::vector<LockFile> locks_;
    bool held_ = false;
};

}  // namespace sorrelix::engine
