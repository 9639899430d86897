#include "file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace sorrelix::testing {

namespace fs = std::filesystem;

namespace {
timespec toTimespec(double seconds) {
    const double whole = std::floor(seconds);
    return {static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
}

struct stat statOf(const std::string& path) {
    struct stat info {};
    checkCall(::lstat(path.c_str(), &info) == 0, "stat " + path);
    return info;
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
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}
}  // namespace

void checkCall(bool ok, const std::string& what) {
    if (!ok) throw std::system_error(errno, std::generic_category(), what);
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    checkCall(n == 0, "read");
    return text;
}

FileTree::FileTree(const std::string& parent)
    : owned_(std::in_place, (parent.empty() ? QDir::tempPath() : QString::fromStdString(parent)) +
                                "/tree-XXXXXX") {
    checkCall(owned_->isValid(), "create a tree below " + parent);
    root_ = owned_->path().toStdString();
}

FileTree::~FileTree() {
    try {
        if (owned_) removeContents(root_);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "could not empty %s: %s\n", root_.c_str(), error.what());
    }
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
        checkCall(out.good(), "create " + relative);
        out << content;
        checkCall(out.good(), "write " + relative);
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
    checkCall(::symlink(linkTarget.c_str(), path(relative).c_str()) == 0, "symlink " + relative);
}

void FileTree::fifo(const std::string& relative) const {
    makeParents(relative);
    checkCall(::mkfifo(path(relative).c_str(), 0644) == 0, "mkfifo " + relative);
}

void FileTree::socket(const std::string& relative) const {
    makeParents(relative);
    checkCall(::mknod(path(relative).c_str(), S_IFSOCK | 0644, 0) == 0, "make socket " + relative);
}

void FileTree::setMtime(const std::string& relative, double seconds) const {
    const timespec times[2] = {toTimespec(seconds), toTimespec(seconds)};
    checkCall(::utimensat(AT_FDCWD, path(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0,
              "set time of " + relative);
}

void FileTree::chmod(const std::string& relative, unsigned mode) const {
    checkCall(::chmod(path(relative).c_str(), mode) == 0, "chmod " + relative);
}

bool FileTree::exists(const std::string& relative) const {
    struct stat info {};
    return ::lstat(path(relative).c_str(), &info) == 0;
}

std::string FileTree::read(const std::string& relative) const {
    const int fd = ::open(path(relative).c_str(), O_RDONLY | O_CLOEXEC);
    checkCall(fd >= 0, "read " + relative);
    std::string content = readAll(fd);
    ::close(fd);
    return content;
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

std::vector<std::string> entryNames(int folderFd) {
    // A descriptor of its own: closedir() closes the one it lists.
    DIR* listing = ::fdopendir(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    checkCall(listing != nullptr, "list a folder");
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
            checkCall(
                ::link(tree->path("0").c_str(), tree->path(std::to_string(name)).c_str()) == 0,
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
            const bool written =
                ::write(channel[1], result.data(), result.size()) == std::ssize(result);
            ::_exit(written ? 0 : 4);
        } catch (...) {
            ::_exit(5);
        }
    }
    ::close(channel[1]);
    const std::string out = readAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

ScratchLock::ScratchLock(const std::string& dir)
    : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    checkCall(fd_ >= 0, "open " + dir);
    while (::flock(fd_, LOCK_EX) != 0) checkCall(errno == EINTR, "lock " + dir);
}

ScratchLock::~ScratchLock() {
    ::close(fd_);  // releases the lock
}

}  // namespace sorrelix::testing
