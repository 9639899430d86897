#include "file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace sorrelix::testing {

namespace fs = std::filesystem;

namespace {
void check(bool ok, const std::string& what) {
    if (!ok) throw std::system_error(errno, std::generic_category(), what);
}

timespec toTimespec(double seconds) {
    const double whole = std::floor(seconds);
    return {static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
}

std::string envOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> entryNames(int dirFd) {
    std::vector<std::string> names;
    const int listingFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listingFd < 0 ? nullptr : ::fdopendir(listingFd);
    if (listing == nullptr) {
        if (listingFd >= 0) ::close(listingFd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

void removeEntry(int dirFd, const std::string& name) {
    if (::unlinkat(dirFd, name.c_str(), 0) == 0) return;
    const int folder =
        ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return;
    ::fchmod(folder, 0700);  // a test may have locked it
    for (const auto& child : entryNames(folder)) removeEntry(folder, child);
    ::close(folder);
    ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
}  // namespace

FileTree::FileTree() : owned_(std::in_place) {
    root_ = owned_->path().toStdString();
}

FileTree::FileTree(const std::string& parent)
    : owned_(std::in_place, QString::fromStdString(parent + "/tree-XXXXXX")) {
    check(owned_->isValid(), "create a tree below " + parent);
    root_ = owned_->path().toStdString();
}

FileTree::~FileTree() {
    if (owned_) removeContents(root_);
}

std::string FileTree::path(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "/" + relative;
}

void FileTree::makeParents(const std::string& relative) const {
    const auto slash = relative.rfind('/');
    if (slash != std::string::npos) folder(relative.substr(0, slash));
}

void FileTree::file(const std::string& relative, const std::string& content,
                    std::optional<double> mtime) const {
    makeParents(relative);
    {
        std::ofstream out(path(relative), std::ios::binary | std::ios::trunc);
        check(out.good(), "create " + relative);
        out << content;
        check(out.good(), "write " + relative);
    }
    if (mtime) setMtime(relative, *mtime);
}

void FileTree::folder(const std::string& relative) const {
    std::error_code error;
    fs::create_directories(path(relative), error);
    if (error) throw std::system_error(error, "create folder " + relative);
}

void FileTree::symlink(const std::string& relative, const std::string& linkTarget) const {
    makeParents(relative);
    check(::symlink(linkTarget.c_str(), path(relative).c_str()) == 0, "symlink " + relative);
}

void FileTree::fifo(const std::string& relative) const {
    makeParents(relative);
    check(::mkfifo(path(relative).c_str(), 0644) == 0, "mkfifo " + relative);
}

void FileTree::socket(const std::string& relative) const {
    makeParents(relative);
    // sun_path is short; bind through the parent folder so long roots still work.
    const std::string full = path(relative);
    const auto slash = full.rfind('/');
    const int parent = ::open(full.substr(0, slash).c_str(), O_PATH | O_DIRECTORY);
    check(parent >= 0, "open parent of " + relative);
    const std::string viaProc =
        "/proc/self/fd/" + std::to_string(parent) + "/" + full.substr(slash + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, viaProc.c_str(), sizeof(address.sun_path) - 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    const int savedErrno = errno;
    ::close(fd);
    ::close(parent);
    errno = savedErrno;
    check(bound, "bind socket " + relative);
}

void FileTree::setMtime(const std::string& relative, double seconds) const {
    const timespec times[2] = {toTimespec(seconds), toTimespec(seconds)};
    check(::utimensat(AT_FDCWD, path(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0,
          "set time of " + relative);
}

void FileTree::chmod(const std::string& relative, unsigned mode) const {
    check(::chmod(path(relative).c_str(), mode) == 0, "chmod " + relative);
}

bool FileTree::exists(const std::string& relative) const {
    struct stat info {};
    return ::lstat(path(relative).c_str(), &info) == 0;
}

std::string FileTree::read(const std::string& relative) const {
    std::ifstream in(path(relative), std::ios::binary);
    check(in.good(), "read " + relative);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

double FileTree::mtime(const std::string& relative) const {
    struct stat info {};
    check(::lstat(path(relative).c_str(), &info) == 0, "stat " + relative);
    return static_cast<double>(info.st_mtim.tv_sec) + info.st_mtim.tv_nsec / 1e9;
}

unsigned FileTree::mode(const std::string& relative) const {
    struct stat info {};
    check(::lstat(path(relative).c_str(), &info) == 0, "stat " + relative);
    return info.st_mode & 07777;
}

bool FileTree::isSymlink(const std::string& relative) const {
    struct stat info {};
    return ::lstat(path(relative).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string FileTree::readLink(const std::string& relative) const {
    char buffer[4096];
    const ssize_t length = ::readlink(path(relative).c_str(), buffer, sizeof(buffer));
    check(length >= 0, "readlink " + relative);
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::vector<std::string> FileTree::list() const {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
        // Lexically: fs::relative would resolve links and name what they point to.
        paths.push_back(entry.path().lexically_relative(root_).native());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

ScopedConfigHome::ScopedConfigHome() {
    if (const char* value = std::getenv("XDG_CONFIG_HOME")) previous_ = value;
    if (const char* value = std::getenv("XDG_STATE_HOME")) previousState_ = value;
    ::setenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit().constData(), 1);
    ::setenv("XDG_STATE_HOME", stateHome().c_str(), 1);
    // QSettings reads the variable once per process, so its path is moved as well.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

ScopedConfigHome::~ScopedConfigHome() {
    if (previous_) {
        ::setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromLocal8Bit(previous_->c_str()));
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    if (previousState_) {
        ::setenv("XDG_STATE_HOME", previousState_->c_str(), 1);
    } else {
        ::unsetenv("XDG_STATE_HOME");
    }
}

std::string ScopedConfigHome::configHome() const {
    return dir_.path().toStdString();
}

std::string ScopedConfigHome::stateHome() const {
    return configHome() + "/state";
}

std::string ScopedConfigHome::historyFile() const {
    return stateHome() + "/Sorrelix/SorrelixSessions.json";
}

std::string ScopedConfigHome::settingsFile() const {
    return dir_.path().toStdString() + "/Sorrelix/Sorrelix.ini";
}

void removeContents(const std::string& root) {
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fchmod(fd, 0700);
    for (const auto& name : entryNames(fd)) removeEntry(fd, name);
    ::close(fd);
}

void makeSlowToComparePair(const FileTree& source, const FileTree& target, int names,
                           std::size_t bytes) {
    const std::string content(bytes, 'x');
    for (const FileTree* tree : {&source, &target}) {
        tree->file("0", content);
        for (int name = 1; name < names; ++name) {
            check(::link(tree->path("0").c_str(), tree->path(std::to_string(name)).c_str()) == 0,
                  "link " + std::to_string(name));
        }
    }
}

std::optional<std::string> runAsNobody(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobodyId, kNobodyId, kNobodyId) != 0 ||
            ::setresuid(kNobodyId, kNobodyId, kNobodyId) != 0) {
            ::_exit(3);
        }
        try {
            ::_exit(writeAll(channel[1], work()) ? 0 : 4);
        } catch (...) {
            ::_exit(5);
        }
    }
    ::close(channel[1]);
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

ScratchLock::ScratchLock(const std::string& dir)
    : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    check(fd_ >= 0, "open " + dir);
    while (::flock(fd_, LOCK_EX) != 0) check(errno == EINTR, "lock " + dir);
}

ScratchLock::~ScratchLock() {
    ::close(fd_);  // releases the lock
}

std::string xfsScratchDir() {
    return envOrEmpty("SORRELIX_XFS_DIR");
}
std::string ext4ScratchDir() {
    return envOrEmpty("SORRELIX_EXT4_DIR");
}
std::string tinyScratchDir() {
    return envOrEmpty("SORRELIX_TINY_DIR");
}
std::string sshfsScratchDir() {
    return envOrEmpty("SORRELIX_SSHFS_DIR");
}

}  // namespace sorrelix::testing
