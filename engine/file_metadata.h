#pragma once

#include <sys/stat.h>

namespace sorrelix::engine {

// Carries owner (where permitted), extended attributes, mode and times from a source file
// to an open copy, in two halves that may run on different threads. Each returns 0 or the
// errno of a step that must not fail.

// The first half: the copy's inode, and its owner. Tells whether the mode still needs setting.
int copyOwner(const struct stat& sourceStat, int targetFd, ino_t& targetInode, bool& modeToSet);
// The second half: extended attributes, the mode where needed, and the times last of all.
int copyAttributesModeAndTimes(int sourceFd, const struct stat& sourceStat, int targetFd,
                               bool modeToSet);

}  // namespace sorrelix::engine
