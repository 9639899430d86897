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
    : progress_(progress), sourceBuffer_(kChunk), targetBuffer_(kChunk) {}

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
    // O_NONBLOCK: should an entry have been swapped for a FIFO, opening it must not block.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    UniqueFd source(::openat(sourceDirFd, sourceName, flags | O_NOFOLLOW));
    UniqueFd target(::openat(targetDirFd, targetName, flags));
    if (!source || !target) return false;
    struct stat s {};
    struct stat t {};
    if (::fstat(source.get(), &s) != 0 || ::fstat(target.get(), &t) != 0) return false;
    if (!S_ISREG(s.st_mode) || !S_ISREG(t.st_mode) || s.st_size != t.st_size) return false;
    if (s.st_dev == t.st_dev && s.st_ino == t.st_ino) return true;
    if (s.st_dev == t.st_dev && mayShareExtents(t.st_dev, target.get()) &&
        holdSameSharedExtents(source.get(), target.get())) {
        return true;
    }
    return sameFileBytes(source.get(), target.get(), s.st_size);
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
    while (remaining > 0) {
        const std::size_t chunk = std::min(remaining, kChunk);
        if (!readFully(sourceFd, sourceBuffer_.data(), chunk)) return false;
        if (!readFully(targetFd, targetBuffer_.data(), chunk)) return false;
        if (progress_) {
            progress_->bytesRead.fetch_add(static_cast<std::int64_t>(2 * chunk),
                                           std::memory_order_relaxed);
            if (progress_->isCancelled()) return false;
        }
        if (std::memcmp(sourceBuffer_.data(), targetBuffer_.data(), chunk) != 0) return false;
        remaining -= chunk;
    }
    // A file that grew since fstat differs from one that did not.
    char extra;
    const bool sourceGrew = ::read(sourceFd, &extra, 1) > 0;
    const bool targetGrew = ::read(targetFd, &extra, 1) > 0;
    return sourceGrew == targetGrew && !sourceGrew;
}

}  // namespace sorrelix::engine
