#pragma once

#include <sys/stat.h>

#include <cstdint>

namespace sorrelix::engine {

// What stood at a place right after the merge put its copy there. An entry that no longer
// matches was replaced or edited since (an editor that saves by rename makes a new inode; a
// write in place changes size or time), so undo must not delete it.
struct FileIdentity {
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::int64_t mtimeNanoseconds = 0;

    static FileIdentity of(const struct stat& info) {
        return {static_cast<std::uint64_t>(info.st_ino), static_cast<std::int64_t>(info.st_size),
                static_cast<std::int64_t>(info.st_mtim.tv_sec),
                static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
    }
    bool matches(const struct stat& info) const { return of(info) == *this; }

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What stood at an item's place in the target when the merge reached it.
enum class Occupant : char { nothing = 'n', folder = 'd', fileOrLink = 'f' };

}  // namespace sorrelix::engine
