#include "file_copier.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "file_metadata.h"
#include "unique_fd.h"

namespace sorrelix::engine {

namespace {

// A file being written: unnamed (O_TMPFILE) where the file system supports it, so that a
// crash leaves nothing behind, or else under a hidden temporary name.
struct PendingFile {
    UniqueFd fd;
    std::string temporaryName;  // empty for an unnamed file
};

std::string freshTemporaryName() {
    static std::atomic<unsigned long> counter{0};
    char name[64];
    std::snprintf(name, sizeof name, ".sorrelix-partial-%d-%lu", static_cast<int>(::getpid()),
                  counter.fetch_add(1));
    return name;
}

// Marks a call whose failure the copy accepts; a (void) cast does not quiet glibc's
// must-check attributes under _FORTIFY_SOURCE.
void bestEffort(int /*result*/) {}

bool canLinkUnnamedFiles() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

bool isUnnamedFileUnsupported(int errorNumber) {
    return errorNumber == EOPNOTSUPP || errorNumber == EISDIR || errorNumber == EINVAL;
}

// An unnamed file can take the source's permissions from the start, which usually spares
// setting them afterwards; it stays writable by its owner until then, for its attributes.
mode_t unnamedFileMode(const struct stat& sourceStat) {
    return (sourceStat.st_mode & 0777) | 0600;
}

PendingFile createPendingFile(int dirFd, const struct stat& sourceStat) {
    if (canLinkUnnamedFiles()) {
        UniqueFd fd(
            ::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, unnamedFileMode(sourceStat)));
        if (fd || !isUnnamedFileUnsupported(errno)) {
            return {std::move(fd), {}};
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = freshTemporaryName();
        UniqueFd fd(::openat(dirFd, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600));
        if (fd || errno != EEXIST) return {std::move(fd), std::move(name)};
    }
    return {};
}

void discard(PendingFile& file, int dirFd) {
    if (!file.temporaryName.empty()) ::unlinkat(dirFd, file.temporaryName.c_str(), 0);
    file.fd.reset();
}

// Gives a named temporary entry its final name: refusing an existing entry first, then
// replacing it. Returns 0 or errno; the temporary entry is gone either way on success.
int renameIntoPlace(int dirFd, const std::string& temporaryName, const std::string& name) {
    if (::renameat2(dirFd, temporaryName.c_str(), dirFd, name.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EEXIST && errno != EINVAL && errno != ENOSYS) return errno;
    return ::renameat(dirFd, temporaryName.c_str(), dirFd, name.c_str()) == 0 ? 0 : errno;
}

// Gives an unnamed file its name.
int linkUnnamed(int fd, int dirFd, const std::string& name) {
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST) return errno;
    // Something took the name meanwhile: replace it, as a full copy does.
    std::string temporaryName = freshTemporaryName();
    if (::linkat(AT_FDCWD, procPath, dirFd, temporaryName.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return errno;
    }
    const int error = renameIntoPlace(dirFd, temporaryName, name);
    if (error != 0) ::unlinkat(dirFd, temporaryName.c_str(), 0);
    return error;
}

int publishPending(PendingFile& file, int dirFd, const std::string& name) {
    if (file.temporaryName.empty()) return linkUnnamed(file.fd.get(), dirFd, name);
    const int error = renameIntoPlace(dirFd, file.temporaryName, name);
    if (error == 0) file.temporaryName.clear();
    return error;
}

// O_NONBLOCK: an entry swapped for a FIFO since it was examined must not block the merge.
// Returns 0, or errno (EAGAIN when the entry is no regular file any more).
int openRegularSource(int dirFd, const std::string& name, UniqueFd& source,
                      struct stat& sourceStat) {
    source.reset(
        ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!source) return errno;
    if (::fstat(source.get(), &sourceStat) != 0) return errno;
    return S_ISREG(sourceStat.st_mode) ? 0 : EAGAIN;
}

PreparedCopy failedPreparation(int error) {
    PreparedCopy prepared;
    prepared.state = PreparedCopy::State::failed;
    prepared.error = error;
    return prepared;
}

bool isCloneUnsupported(int errorNumber) {
    return errorNumber == EOPNOTSUPP || errorNumber == EXDEV || errorNumber == EINVAL ||
           errorNumber == ENOTTY || errorNumber == ENOSYS || errorNumber == EPERM;
}

int readWriteCopy(int sourceFd, int targetFd) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(sourceFd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w =
                ::write(targetFd, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return errno;
            done += w;
        }
    }
}

}  // namespace

int FileCopier::copy(int sourceDirFd, const std::string& sourceName, int targetDirFd,
                     const std::string& targetName, FileIdentity& copied) {
    struct stat sourceStat {};
    if (::fstatat(sourceDirFd, sourceName.c_str(), &sourceStat, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (S_ISDIR(sourceStat.st_mode)) return EISDIR;
    if (!S_ISREG(sourceStat.st_mode)) {
        const int error =
            S_ISLNK(sourceStat.st_mode)
                ? copyLink(sourceDirFd, sourceName, sourceStat, targetDirFd, targetName)
                : copyNode(sourceStat, targetDirFd, targetName);
        struct stat made {};
        if (error == 0 &&
            ::fstatat(targetDirFd, targetName.c_str(), &made, AT_SYMLINK_NOFOLLOW) == 0) {
            copied = FileIdentity::of(made);
        }
        return error;
    }
    UniqueFd source;
    const int error = openRegularSource(sourceDirFd, sourceName, source, sourceStat);
    if (error != 0) return error;
    return copyRegular(source.get(), sourceStat, targetDirFd, targetName, copied);
}

PreparedCopy FileCopier::prepare(int sourceDirFd, const std::string& sourceName, int scratchDirFd) {
    if (!unnamedFilesSupported_ || !canLinkUnnamedFiles()) return {};
    struct stat sourceStat {};
    if (::fstatat(sourceDirFd, sourceName.c_str(), &sourceStat, AT_SYMLINK_NOFOLLOW) != 0) {
        return failedPreparation(errno);
    }
    if (!S_ISREG(sourceStat.st_mode)) return {};
    UniqueFd source;
    if (const int error = openRegularSource(sourceDirFd, sourceName, source, sourceStat)) {
        return failedPreparation(error);
    }
    UniqueFd file(
        ::openat(scratchDirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, unnamedFileMode(sourceStat)));
    if (!file) {
        if (!isUnnamedFileUnsupported(errno)) return failedPreparation(errno);
        unnamedFilesSupported_ = false;
        return {};
    }
    PreparedCopy prepared;
    if (const int error = fill(source.get(), sourceStat, file.get(), prepared)) {
        return failedPreparation(error);
    }
    prepared.state = PreparedCopy::State::ready;
    prepared.file = std::move(file);
    prepared.source = std::move(source);
    prepared.sourceStat = sourceStat;
    return prepared;
}

int FileCopier::publish(PreparedCopy& prepared, int targetDirFd, const std::string& targetName) {
    if (const int error = copyAttributesModeAndTimes(prepared.source.get(), prepared.sourceStat,
                                                     prepared.file.get(), prepared.modeToSet)) {
        return error;
    }
    return linkUnnamed(prepared.file.get(), targetDirFd, targetName);
}

int FileCopier::copyRegular(int sourceFd, const struct stat& sourceStat, int targetDirFd,
                            const std::string& targetName, FileIdentity& copied) {
    PendingFile pending = createPendingFile(targetDirFd, sourceStat);
    if (!pending.fd) return errno;
    PreparedCopy filled;
    int error = fill(sourceFd, sourceStat, pending.fd.get(), filled);
    if (error == 0) {
        error =
            copyAttributesModeAndTimes(sourceFd, sourceStat, pending.fd.get(), filled.modeToSet);
    }
    if (error == 0) error = publishPending(pending, targetDirFd, targetName);
    if (error != 0) {
        discard(pending, targetDirFd);
        return error;
    }
    copied = filled.identity;
    return 0;
}

int FileCopier::fill(int sourceFd, const struct stat& sourceStat, int targetFd,
                     PreparedCopy& copy) {
    bool cloned = false;
    if (clonesSupported_) {
        cloned = ::ioctl(targetFd, FICLONE, sourceFd) == 0;
        if (!cloned && isCloneUnsupported(errno)) clonesSupported_ = false;
    }
    int error = cloned ? 0 : copyData(sourceFd, targetFd, sourceStat.st_size);
    ino_t inode = 0;
    if (error == 0) error = copyOwner(sourceStat, targetFd, inode, copy.modeToSet);
    if (error != 0) return error;
    if (cloned) {
        ++clonedFiles_;
    } else {
        copy.bytesWritten = sourceStat.st_size;
    }
    // Its size and time are the source's: only the inode needed asking.
    struct stat identity = sourceStat;
    identity.st_ino = inode;
    copy.identity = FileIdentity::of(identity);
    return 0;
}

// Both files are fresh: the copy is empty and the source unread (a failed clone changes
// neither), so no truncation or seek is needed.
// The copy takes the size the source had when it was examined, as its times and mode are: a
// file that grows meanwhile is not chased, which saves the call that would find its end.
int FileCopier::copyData(int sourceFd, int targetFd, off_t size) {
    if (copyRangeSupported_) {
        for (off_t copied = 0; copied < size;) {
            const ssize_t n = ::copy_file_range(sourceFd, nullptr, targetFd, nullptr,
                                                static_cast<std::size_t>(size - copied), 0);
            if (n > 0) {
                copied += n;
                continue;
            }
            if (n == 0) return 0;  // it shrank
            if (errno == EINTR) continue;
            if (errno != EXDEV && errno != EINVAL && errno != EOPNOTSUPP && errno != ENOSYS) {
                return errno;
            }
            copyRangeSupported_ = false;
            break;  // go on from the current offsets with plain reads and writes
        }
        if (copyRangeSupported_) return 0;
    }
    return readWriteCopy(sourceFd, targetFd);
}

int FileCopier::copyLink(int sourceDirFd, const std::string& sourceName,
                         const struct stat& sourceStat, int targetDirFd,
                         const std::string& targetName) {
    std::vector<char> text(PATH_MAX + 1);
    const ssize_t length = ::readlinkat(sourceDirFd, sourceName.c_str(), text.data(), text.size());
    if (length < 0) return errno;
    if (static_cast<std::size_t>(length) == text.size()) return ENAMETOOLONG;
    text[static_cast<std::size_t>(length)] = 0;
    // A link has no content to be partial, but it is still made under a temporary name
    // and renamed, so that an existing entry is replaced in one step.
    const std::string temporaryName = freshTemporaryName();
    if (::symlinkat(text.data(), targetDirFd, temporaryName.c_str()) != 0) return errno;
    // Owner and times of a link are best effort, as with cp -a: without privileges the
    // owner cannot be given away, and the link itself still points where it should.
    bestEffort(::fchownat(targetDirFd, temporaryName.c_str(), sourceStat.st_uid, sourceStat.st_gid,
                          AT_SYMLINK_NOFOLLOW));
    const timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    (void)::utimensat(targetDirFd, temporaryName.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const int error = renameIntoPlace(targetDirFd, temporaryName, targetName);
    if (error != 0) ::unlinkat(targetDirFd, temporaryName.c_str(), 0);
    return error;
}

int FileCopier::copyNode(const struct stat& sourceStat, int targetDirFd,
                         const std::string& targetName) {
    const std::string temporaryName = freshTemporaryName();
    if (::mknodat(targetDirFd, temporaryName.c_str(), sourceStat.st_mode & (S_IFMT | 07777),
                  sourceStat.st_rdev) != 0) {
        return errno;
    }
    bestEffort(::fchownat(targetDirFd, temporaryName.c_str(), sourceStat.st_uid, sourceStat.st_gid,
                          AT_SYMLINK_NOFOLLOW));
    bestEffort(::fchmodat(targetDirFd, temporaryName.c_str(), sourceStat.st_mode & 07777, 0));
    const timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    (void)::utimensat(targetDirFd, temporaryName.c_str(), times, AT_SYMLINK_NOFOLLOW);
    const int error = renameIntoPlace(targetDirFd, temporaryName, targetName);
    if (error != 0) ::unlinkat(targetDirFd, temporaryName.c_str(), 0);
    return error;
}

}  // namespace sorrelix::engine
