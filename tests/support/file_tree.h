#pragma once

#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorrelix::testing {

// The modification time FileTree gives files unless told otherwise.
inline constexpr double kTreeTime = 1'700'000'000.0;

// Builds real files, folders, links and special files below one root, with fixed times, so
// tests describe trees in a line each. Paths are relative to the root and are raw bytes.
class FileTree {
public:
    // A new root in a fresh folder below `parent` (e.g. a scratch mount), by default below
    // the temporary folder.
    explicit FileTree(const std::string& parent = {});
    // Empties the tree first: QTemporaryDir alone cannot remove names that are not UTF-8
    // or paths longer than PATH_MAX.
    ~FileTree();
    FileTree(const FileTree&) = delete;
    FileTree& operator=(const FileTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const {
        return relative.empty() ? root_ : root_ + "/" + relative;
    }

    // Creates parent folders as needed; the modification time is `mtime` seconds since 1970.
    void file(const std::string& relative, const std::string& content,
              std::optional<double> mtime = kTreeTime) const;
    // Several files with one modification time, or several links: {path, content or link
    // target} each.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    void files(const Entries& entries, double mtime = kTreeTime) const {
        for (const auto& [relative, content] : entries) file(relative, content, mtime);
    }
    void symlinks(const Entries& entries) const {
        for (const auto& [relative, linkTarget] : entries) symlink(relative, linkTarget);
    }
    void folder(const std::string& relative) const;
    void symlink(const std::string& relative, const std::string& linkTarget) const;
    void fifo(const std::string& relative) const;
    // The file of a Unix socket, as one bound there leaves behind.
    void socket(const std::string& relative) const;
    void setMtime(const std::string& relative, double seconds) const;
    void chmod(const std::string& relative, unsigned mode) const;

    bool exists(const std::string& relative) const;  // lstat: links are not followed
    std::string read(const std::string& relative) const;
    double mtime(const std::string& relative) const;
    unsigned mode(const std::string& relative) const;
    bool isSymlink(const std::string& relative) const;
    // Relative paths of every entry below the root (folders included), sorted.
    std::vector<std::string> list() const;

private:
    void makeParents(const std::string& relative) const;

    std::optional<QTemporaryDir> owned_;
    std::string root_;
};

// Points XDG_CONFIG_HOME and XDG_STATE_HOME at fresh folders for the object's lifetime, so the
// settings store and the merge history of one test are its own.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

    std::string configHome() const { return dir_.path().toStdString(); }
    std::string stateHome() const { return configHome() + "/state"; }
    // The INI the application writes, and the merge history's store file.
    std::string settingsFile() const { return configHome() + "/Sorrelix/Sorrelix.ini"; }
    std::string historyFile() const { return stateHome() + "/Sorrelix/SorrelixSessions.json"; }

private:
    QTemporaryDir dir_;
    std::optional<std::string> previous_;
    std::optional<std::string> previousState_;
};

// A pair that takes long to compare on any disk, yet is quick to make: `names` names in each
// tree for one file of `bytes` bytes per side, equal in size, time and bytes but a different
// file on each side, so an analysis reads both sides in full for every name.
void makeSlowToComparePair(const FileTree& source, const FileTree& target, int names,
                           std::size_t bytes);

// Throws the errno of a failed system call, naming `what` was being done, unless `ok`.
void checkCall(bool ok, const std::string& what);

// Everything left to read from `fd`, up to its end.
std::string readAll(int fd);

// The names in an open folder, "." and ".." aside.
std::vector<std::string> entryNames(int folderFd);

// Removes everything below `root` (the root itself stays) without following links, whatever
// the names' encoding or the depth: QTemporaryDir gives up on names that are not UTF-8 and on
// paths longer than PATH_MAX.
void removeContents(const std::string& root);

// Runs `work` in a forked child as the unprivileged user "nobody" (root may read and write
// anything, whatever the modes say) and returns what it produced, or no value when the child
// could not switch users, threw or died. Callers must be root.
std::optional<std::string> runAsNobody(const std::function<std::string()>& work);
inline constexpr unsigned kNobodyId = 65534;

// Holds an exclusive lock on a scratch mount (a lock on its root folder) for the object's
// lifetime, so that tests that fill a mount or measure its free space run one at a time even
// when CTest runs several test programs at once.
class ScratchLock {
public:
    explicit ScratchLock(const std::string& dir);
    ~ScratchLock();
    ScratchLock(const ScratchLock&) = delete;
    ScratchLock& operator=(const ScratchLock&) = delete;

private:
    int fd_ = -1;
};

// The scratch mounts set up by scripts/scratch-fs.sh, or empty when they are absent.
inline std::string xfsScratchDir() {
    return qgetenv("SORRELIX_XFS_DIR").toStdString();
}
inline std::string ext4ScratchDir() {
    return qgetenv("SORRELIX_EXT4_DIR").toStdString();
}
inline std::string tinyScratchDir() {
    return qgetenv("SORRELIX_TINY_DIR").toStdString();
}
// A folder mounted through sshfs from a private sshd on 127.0.0.1, as a NAS share would be
// (scripts/sshfs-loopback.sh), or empty when it is absent.
inline std::string sshfsScratchDir() {
    return qgetenv("SORRELIX_SSHFS_DIR").toStdString();
}

}  // namespace sorrelix::testing
