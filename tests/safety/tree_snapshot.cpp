#include "tree_snapshot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <cerrno>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace sorrelix::testing {

namespace {

constexpr std::string_view kBackupArea = ".sorrelix/backups/";

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

char typeOf(mode_t mode) {
    if (S_ISREG(mode)) return 'f';
    if (S_ISDIR(mode)) return 'd';
    if (S_ISLNK(mode)) return 'l';
    if (S_ISFIFO(mode)) return 'p';
    if (S_ISSOCK(mode)) return 's';
    if (S_ISCHR(mode)) return 'c';
    return 'b';
}

std::string hashOf(int dirFd, const char* name, const std::string& path) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) fail("open " + printable(path));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            fail("read " + printable(path));
        }
        if (n == 0) break;
        hash.addData(QByteArrayView(buffer.data(), n));
    }
    ::close(fd);
    return hash.result().toHex().toStdString();
}

std::string linkText(int dirFd, const char* name, const std::string& path) {
    std::vector<char> text(PATH_MAX + 1);
    const ssize_t length = ::readlinkat(dirFd, name, text.data(), text.size());
    if (length < 0) fail("readlink " + printable(path));
    return std::string(text.data(), static_cast<std::size_t>(length));
}

void walk(int dirFd, const std::string& prefix, std::map<std::string, EntryState>& entries) {
    const int listingFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listingFd < 0 ? nullptr : ::fdopendir(listingFd);
    if (listing == nullptr) fail("list " + printable(prefix));
    std::vector<std::string> folders;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = joined(prefix, name);
        struct stat st {};
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ::closedir(listing);
            fail("stat " + printable(path));
        }
        EntryState state{typeOf(st.st_mode),
                         static_cast<unsigned>(st.st_mode & 07777),
                         st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec,
                         static_cast<long long>(st.st_size),
                         {}};
        if (state.type == 'f') state.content = hashOf(dirFd, name.c_str(), path);
        if (state.type == 'l') state.content = linkText(dirFd, name.c_str(), path);
        if (state.isFolder()) {
            state.size = 0;  // a folder's size says nothing about its entries
            folders.push_back(name);
        }
        entries.emplace(path, std::move(state));
    }
    ::closedir(listing);
    for (const auto& name : folders) {
        const int child =
            ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const std::string path = joined(prefix, name);
        if (child < 0) fail("open folder " + printable(path));
        walk(child, path, entries);
        ::close(child);
    }
}

bool inBackupArea(const std::string& path) {
    return path == ".sorrelix" || path.starts_with(".sorrelix/");
}

// The engine's own files beside the backups: merge journals and lock files.
bool isBookkeeping(const std::string& path) {
    return path.starts_with(".sorrelix/journals/") || path == ".sorrelix/lock";
}

constexpr std::string_view kKeptArea = ".sorrelix/kept/";

// "<id>/<relative path>" for a path inside a backup folder of `ids`, else "".
std::string backedUpPath(const std::string& path, const std::set<std::string>& ids,
                         std::string* id) {
    if (!path.starts_with(kBackupArea)) return {};
    const std::string rest = path.substr(kBackupArea.size());
    const auto slash = rest.find('/');
    if (slash == std::string::npos || !ids.contains(rest.substr(0, slash))) return {};
    *id = rest.substr(0, slash);
    return rest.substr(slash + 1);
}

class Report {
public:
    void add(const std::string& path, const std::string& what) {
        out_ << printable(path) << ": " << what << '\n';
    }
    std::string text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

std::string stateOf(const TreeSnapshot& tree, const std::string& path) {
    const EntryState* state = tree.find(path);
    return state ? state->describe() : "nothing";
}

}  // namespace

bool EntryState::sameAs(const EntryState& other) const {
    if (isFolder() || other.isFolder()) return type == other.type && mode == other.mode;
    return *this == other;
}

std::string EntryState::describe() const {
    std::ostringstream out;
    out << type << " mode " << std::oct << mode << std::dec;
    if (!isFolder()) out << " mtime " << mtimeNs << " size " << size << " " << content;
    return out.str();
}

TreeSnapshot TreeSnapshot::of(const std::string& root) {
    TreeSnapshot snapshot;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fail("open " + printable(root));
    try {
        walk(fd, {}, snapshot.entries_);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return snapshot;
}

const EntryState* TreeSnapshot::find(const std::string& relative) const {
    const auto found = entries_.find(relative);
    return found == entries_.end() ? nullptr : &found->second;
}

std::string mergePromiseViolations(const TreeSnapshot& before, const TreeSnapshot& source,
                                   const std::string& targetRoot) {
    const TreeSnapshot after = TreeSnapshot::of(targetRoot);
    std::set<std::string> newIds;
    for (const auto& id : backupIds(targetRoot)) {
        if (!before.find(std::string(kBackupArea) + id)) newIds.insert(id);
    }
    Report report;
    for (const auto& [path, state] : before.entries()) {
        const EntryState* atPlace = after.find(path);
        if (atPlace && atPlace->sameAs(state)) continue;
        bool backedUp = false;
        for (const auto& id : newIds) {
            const EntryState* kept = after.find(joined(std::string(kBackupArea) + id, path));
            backedUp = backedUp || (kept && kept->sameAs(state));
        }
        if (!backedUp) {
            report.add(path, "lost: was " + state.describe() + ", now " + stateOf(after, path));
        }
    }
    for (const auto& [path, state] : after.entries()) {
        if (state.isFolder() || isBookkeeping(path)) continue;
        std::string id;
        const std::string original = backedUpPath(path, newIds, &id);
        if (!original.empty()) {
            const EntryState* was = before.find(original);
            if (!was || !was->sameAs(state)) {
                report.add(path, "in the backup but not as it was in the target: " +
                                     state.describe() + ", was " + stateOf(before, original));
            }
            continue;
        }
        const EntryState* was = before.find(path);
        const EntryState* copied = inBackupArea(path) ? nullptr : source.find(path);
        if ((was && was->sameAs(state)) || (copied && copied->sameAs(state))) continue;
        report.add(path, "neither the old entry nor a whole copy of the source: " +
                             state.describe() + ", source " + stateOf(source, path));
    }
    return report.text();
}

std::string undoViolations(const TreeSnapshot& before, const std::string& targetRoot,
                           const std::string& mergeId) {
    const TreeSnapshot after = TreeSnapshot::of(targetRoot);
    Report report;
    for (const auto& [path, state] : before.entries()) {
        const EntryState* now = after.find(path);
        if (!now || !now->sameAs(state)) {
            report.add(path,
                       "not restored: was " + state.describe() + ", now " + stateOf(after, path));
        }
    }
    for (const auto& [path, state] : after.entries()) {
        if (before.find(path) || state.isFolder() || isBookkeeping(path)) continue;
        report.add(path, path.starts_with(kKeptArea)
                             ? "set aside as changed since the merge: " + state.describe()
                             : "left behind: " + state.describe());
    }
    if (after.find(std::string(kBackupArea) + mergeId)) {
        report.add(std::string(kBackupArea) + mergeId, "backup folder still there");
    }
    if (after.find(".sorrelix/journals/" + mergeId)) {
        report.add(".sorrelix/journals/" + mergeId, "journal still there");
    }
    return report.text();
}

std::string differences(const TreeSnapshot& expected, const TreeSnapshot& actual) {
    Report report;
    for (const auto& [path, state] : expected.entries()) {
        const EntryState* now = actual.find(path);
        if (!now || !(*now == state)) {
            report.add(path, "was " + state.describe() + ", now " + stateOf(actual, path));
        }
    }
    for (const auto& [path, state] : actual.entries()) {
        if (!expected.find(path)) report.add(path, "appeared: " + state.describe());
    }
    return report.text();
}

std::vector<std::string> backupIds(const std::string& targetRoot) {
    std::vector<std::string> ids;
    const std::string folder = targetRoot + "/" + std::string(kBackupArea);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return ids;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") ids.push_back(name);
    }
    ::closedir(listing);
    return ids;
}

std::string printable(const std::string& path) {
    std::string out;
    for (const unsigned char c : path) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    return out;
}

}  // namespace sorrelix::testing
