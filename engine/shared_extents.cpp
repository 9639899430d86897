#include "shared_extents.h"

#include <linux/fiemap.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>

namespace sorrelix::engine {

namespace {

constexpr unsigned kMaxExtents = 32;
// Extents whose bytes are not (only) where the map says, or not yet anywhere.
constexpr unsigned kUncertain = FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_DELALLOC |
                                FIEMAP_EXTENT_ENCODED | FIEMAP_EXTENT_DATA_ENCRYPTED |
                                FIEMAP_EXTENT_NOT_ALIGNED | FIEMAP_EXTENT_DATA_INLINE |
                                FIEMAP_EXTENT_DATA_TAIL | FIEMAP_EXTENT_UNWRITTEN;

// A fiemap header followed by room for its extents.
class ExtentMap {
public:
    fiemap& head() { return *reinterpret_cast<fiemap*>(bytes_); }
    const fiemap& head() const { return *reinterpret_cast<const fiemap*>(bytes_); }
    const fiemap_extent& extent(unsigned i) const { return head().fm_extents[i]; }

private:
    alignas(fiemap) unsigned char bytes_[sizeof(fiemap) + kMaxExtents * sizeof(fiemap_extent)]{};
};

// The whole map of a file in one call, or false when it does not fit or is not certain.
// Dirty pages are written back first, so that data written since (a write into a clone goes
// to new blocks only at writeback) shows in the map; for a clean file that costs nothing.
bool mapOf(int fd, ExtentMap& map) {
    fiemap& head = map.head();
    head.fm_length = FIEMAP_MAX_OFFSET;
    head.fm_flags = FIEMAP_FLAG_SYNC;
    head.fm_extent_count = kMaxExtents;
    if (::ioctl(fd, FS_IOC_FIEMAP, &head) != 0) return false;
    const unsigned count = head.fm_mapped_extents;
    if (count == 0 || !(map.extent(count - 1).fe_flags & FIEMAP_EXTENT_LAST)) return false;
    for (unsigned i = 0; i < count; ++i) {
        const auto flags = map.extent(i).fe_flags;
        if (!(flags & FIEMAP_EXTENT_SHARED) || (flags & kUncertain)) return false;
    }
    return true;
}

bool sameMaps(const ExtentMap& first, const ExtentMap& second) {
    if (first.head().fm_mapped_extents != second.head().fm_mapped_extents) return false;
    for (unsigned i = 0; i < first.head().fm_mapped_extents; ++i) {
        const fiemap_extent& a = first.extent(i);
        const fiemap_extent& b = second.extent(i);
        if (a.fe_logical != b.fe_logical || a.fe_physical != b.fe_physical ||
            a.fe_length != b.fe_length) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool holdSameSharedExtents(int firstFd, int secondFd) {
    // A first file with an unshared extent ends the check after one call.
    ExtentMap first;
    ExtentMap second;
    return mapOf(firstFd, first) && mapOf(secondFd, second) && sameMaps(first, second);
}

bool fileSystemSharesExtents(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) return false;
    return info.f_type == XFS_SUPER_MAGIC || info.f_type == BTRFS_SUPER_MAGIC;
}

}  // namespace sorrelix::engine
