#pragma once

#include <sys/stat.h>

namespace sorrelix::engine {

// Carries owner (where permitted), extended attributes, mode and times from a source file
// to an open copy, and tells the copy's inode. Returns 0 or the errno of a step that must not
// fail.
int copyMetadata(int sourceFd, const struct stat& sourceStat, int targetFd, ino_t& targetInode);

}  // namespace sorrelix::engine
