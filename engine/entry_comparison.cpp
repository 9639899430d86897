#include "entry_comparison.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "analysis_progress.h"
#include "shared_extents.h"
#include "unique_fd.h"

namespace sorrelix::engine {

namespace {

constexpr std::size_t kChunk = std::size_t{256} * 1024;

bool readFully(int fd, char* buffer, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::read(fd, buffer + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads exactly `length` bytes and confirms that the file ends there, so that a file that
// grew since its stat is not taken for its old size. A regular file's read comes back short
// only at its end, so one read of length + 1 bytes settles both.
bool readToEnd(int fd, char* buffer, std::size_t length) {
    std::size_t done = 0;
    for (;;) {
        const std::size_t wanted = length + 1 - done;
        const ssize_t n = ::read(fd, buffer + done, wanted);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return done == length;
        done += static_cast<std::size_t>(n);
        if (done > length) return false;
        if (done == length && static_cast<std::size_t>(n) < wanted) return true;
    }
}

bool sameLinkText(int sourceDirFd, const char* sourceName, int targetDirFd,
                  const char* targetName) {
    char sourceText[4096];
    char targetText[4096];
    const ssize_t s = ::readlinkat(sourceDirFd, sourceName, sourceText, sizeof sourceText);
    const ssize_t t = ::readlinkat(targetDirFd, targetName, targetText, sizeof targetText);
    return s >= 0 && s == t && std::memcmp(sourceText, targetText, static_cast<size_t>(s)) == 0;
}

}  // namespace

EntryComparison::EntryComparison(AnalysisProgress* progress)
    : progress_(progress), sourceBuffer_(kChunk + 1), targetBuffer_(kChunk + 1) {}

bool EntryComparison::sameContent(int sourceDirFd, const char* sourceName,
                                  const struct stat& sourceStat, int targetDirFd,
                                  const char* targetName, const struct stat& targetStat) {
    const auto sourceType = sourceStat.st_mode & S_IFMT;
    if (sourceType != (targetStat.st_mode & S_IFMT)) return false;
    switch (sourceType) {
        case S_IFREG:
            break;
        case S_IFLNK:
            return sameLinkText(sourceDirFd, sourceName, targetDirFd, targetName);
        case S_IFCHR:
        case S_IFBLK:
            return sourceStat.st_rdev == targetStat.st_rdev;
        case S_IFDIR:
            return false;  // a folder never equals a source file
        default:
            return true;  // FIFOs and sockets carry no content
    }
    const bool sameDevice = sourceStat.st_dev == targetStat.st_dev;
    if (sameDevice && sourceStat.st_ino == targetStat.st_ino) return true;
    // O_NONBLOCK: should an entry have been swapped for a FIFO, opening it must not block.
    // Nothing is stated again after opening: what was swapped in since the stat no longer
    // has the size read below (a FIFO or folder gives no bytes), and so counts as different.
    UniqueFd source(openToRead(sourceDirFd, sourceName, O_NOFOLLOW));
    UniqueFd target(openToRead(targetDirFd, targetName, 0));
    if (!source || !target) return false;
    if (sameDevice && mayShareExtents(targetStat.st_dev, target.get()) &&
        holdSameSharedExtents(source.get(), target.get())) {
        return true;
    }
    return sameFileBytes(source.get(), target.get(), sourceStat.st_size);
}

// A comparison is no access by the user: O_NOATIME spares every file read an inode update
// (and on a journalled file system a transaction). Only the owner may ask for it; after the
// first refusal this comparison stops asking.
int EntryComparison::openToRead(int dirFd, const char* name, int extraFlags) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extraFlags;
    if (keepAccessTimes_) {
        const int fd = ::openat(dirFd, name, flags | O_NOATIME);
        if (fd >= 0 || errno != EPERM) return fd;
        keepAccessTimes_ = false;
    }
    return ::openat(dirFd, name, flags);
}

bool EntryComparison::mayShareExtents(dev_t device, int fd) {
    if (device != sharingDevice_ || !sharingKnown_) {
        sharingDevice_ = device;
        sharingKnown_ = true;
        deviceShares_ = fileSystemSharesExtents(fd);
    }
    return deviceShares_;
}

bool EntryComparison::sameFileBytes(int sourceFd, int targetFd, off_t size) {
    auto remaining = static_cast<std::size_t>(size);
    do {
        const std::size_t chunk = std::min(remaining, kChunk);
        const bool last = chunk == remaining;
        auto read = last ? readToEnd : readFully;
        if (!read(sourceFd, sourceBuffer_.data(), chunk)) return false;
        if (!read(targetFd, targetBuffer_.data(), chunk)) return false;
        if (progress_) {
            progress_->bytesRead.fetch_add(static_cast<std::int64_t>(2 * chunk),
                                           std::memory_order_relaxed);
            if (progress_->isCancelled()) return false;
        }
        if (std::memcmp(sourceBuffer_.data(), targetBuffer_.data(), chunk) != 0) return false;
        remaining -= chunk;
    } while (remaining > 0);
    return true;
}

}  // namespace sorrelix::engine
