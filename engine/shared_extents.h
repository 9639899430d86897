#pragma once

namespace sorrelix::engine {

// True when two open regular files of one file system are made of the very same shared
// extents (a clone and its original, or files deduplicated into each other): then they hold
// the same bytes and need no reading. False whenever that cannot be told for sure: unshared,
// inline, delayed or unwritten extents, too many extents, or a file system without FIEMAP.
bool holdSameSharedExtents(int firstFd, int secondFd);

// Whether files on the file system of `fd` can share extents at all (XFS, Btrfs), so that
// asking for extents elsewhere can be skipped.
bool fileSystemSharesExtents(int fd);

}  // namespace sorrelix::engine
