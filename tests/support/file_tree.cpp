#include "file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

struct stat statOf(const std::string& path) {
    struct stat info {};
    check(::lstat(path.c_str(), &info) == 0, "stat " + path);
    return info;
}

std::string envOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
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

// Sets an environment variable and returns the value it had.
std::optional<std::string> replaceEnv(const char* name, const std::string& value) {
    std::optional<std::string> previous;
    if (const char* old = std::getenv(name)) previous = old;
    ::setenv(name, value.c_str(), 1);
    return previous;
}

void restoreEnv(const char* name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
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
    try {
        if (owned_) removeContents(root_);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "could not empty %s: %s\n", root_.c_str(), error.what());
    }
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

void FileTree::files(const Entries& entries, double mtime) const {
    for (const auto& [relative, content] : entries) file(relative, content, mtime);
}

void FileTree::symlinks(const Entries& entries) const {
    for (const auto& [relative, linkTarget] : entries) symlink(relative, linkTarget);
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
    check(::mknod(path(relative).c_str(), S_IFSOCK | 0644, 0) == 0, "make socket " + relative);
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
    const auto info = statOf(path(relative));
    return static_cast<double>(info.st_mtim.tv_sec) + info.st_mtim.tv_nsec / 1e9;
}

unsigned FileTree::mode(const std::string& relative) const {
    return statOf(path(relative)).st_mode & 07777;
}

bool FileTree::isSymlink(const std::string& relative) const {
    return exists(relative) && S_ISLNK(statOf(path(relative)).st_mode);
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

ScopedConfigHome::ScopedConfigHome()
    : previous_(replaceEnv("XDG_CONFIG_HOME", configHome())),
      previousState_(replaceEnv("XDG_STATE_HOME", stateHome())) {
    // QSettings reads the variable once per process, so its path is moved as well.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

ScopedConfigHome::~ScopedConfigHome() {
    restoreEnv("XDG_CONFIG_HOME", previous_);
    restoreEnv("XDG_STATE_HOME", previousState_);
    if (previous_) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(*previous_));
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

std::vector<std::string> entryNames(int folderFd) {
    // A descriptor of its own: closedir() closes the one it lists.
    const int listingFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listingFd < 0 ? nullptr : ::fdopendir(listingFd);
    if (listing == nullptr) {
        const int error = errno;
        if (listingFd >= 0) ::close(listingFd);
        throw std::system_error(error, std::generic_category(), "list a folder");
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
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
            // A blocking pipe takes the whole result, however long, in one write.
            const std::string result = work();
            ::_exit(::write(channel[1], result.data(), result.size()) ==
                            static_cast<ssize_t>(result.size())
                        ? 0
                        : 4);
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
