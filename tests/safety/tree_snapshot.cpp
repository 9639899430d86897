#include "tree_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <optional>
#include <set>
#include <sstream>

#include "file_tree.h"
#include "unique_fd.h"

namespace sorrelix::testing {

namespace {

using engine::UniqueFd;

constexpr std::string_view kBackupArea = ".sorrelix/backups/";

// Indexed by the type bits of a mode: S_IFIFO is 1, S_IFCHR 2, S_IFDIR 4 ... S_IFSOCK 12.
char typeOf(mode_t mode) {
    return "?pc?d?b?f?l?s???"[(mode & S_IFMT) >> 12];
}

// Read through QFile's small buffers: a big buffer allocated per file costs the address
// sanitizer a fresh mapping and a page fault per page, and made snapshots take minutes.
std::string hashOf(int dirFd, const std::string& name, const std::string& path) {
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    QFile file;
    checkCall(fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle),
              "open " + path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    checkCall(hash.addData(&file), "read " + path);
    return hash.result().toHex().toStdString();
}

std::string linkText(int dirFd, const std::string& name, const std::string& path) {
    std::string text(PATH_MAX + 1, '\0');
    const ssize_t length = ::readlinkat(dirFd, name.c_str(), text.data(), text.size());
    checkCall(length >= 0, "readlink " + path);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void walk(int dirFd, const std::string& prefix, std::map<std::string, EntryState>& entries) {
    for (const std::string& name : entryNames(dirFd)) {
        const std::string path = prefix.empty() ? name : prefix + "/" + name;
        struct stat st {};
        checkCall(::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0, "stat " + path);
        std::ostringstream kind;
        std::ostringstream details;
        kind << typeOf(st.st_mode) << " mode " << std::oct << (st.st_mode & 07777);
        details << " mtime " << st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
        if (S_ISREG(st.st_mode))
            details << " size " << st.st_size << " " << hashOf(dirFd, name, path);
        if (S_ISLNK(st.st_mode)) details << " to " << linkText(dirFd, name, path);
        if (S_ISDIR(st.st_mode)) {
            const UniqueFd child(
                ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            checkCall(bool(child), "open folder " + path);
            walk(child.get(), path, entries);
        }
        entries.emplace(path, EntryState{kind.str(), details.str()});
    }
}

// The engine's own files beside the backups: merge journals and lock files.
bool isBookkeeping(const std::string& path) {
    return path.starts_with(".sorrelix/journals/") || path == ".sorrelix/lock";
}

// The relative path an entry had in the target, for one inside a backup folder of `ids`.
std::optional<std::string> backedUpPath(const std::string& path, const std::set<std::string>& ids) {
    const auto slash = path.find('/', kBackupArea.size());
    if (!path.starts_with(kBackupArea) || slash == std::string::npos) return std::nullopt;
    if (!ids.contains(path.substr(kBackupArea.size(), slash - kBackupArea.size())))
        return std::nullopt;
    return path.substr(slash + 1);
}

void note(std::string& report, const std::string& path, const std::string& what) {
    report += path + ": " + what + "\n";
}

// Notes that `path` no longer holds `state` in `now`.
void noteChange(std::string& report, const std::string& what, const std::string& path,
                const EntryState& state, const TreeSnapshot& now) {
    const EntryState* found = now.find(path);
    note(report, path,
         what + "was " + state.describe() + ", now " + (found ? found->describe() : "nothing"));
}

bool holdsAs(const TreeSnapshot& tree, const std::string& path, const EntryState& state) {
    const EntryState* found = tree.find(path);
    return found && found->sameAs(state);
}

}  // namespace

TreeSnapshot TreeSnapshot::of(const std::string& root) {
    TreeSnapshot snapshot;
    const UniqueFd fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    checkCall(bool(fd), "open " + root);
    walk(fd.get(), {}, snapshot.entries);
    return snapshot;
}

const EntryState* TreeSnapshot::find(const std::string& relative) const {
    const auto found = entries.find(relative);
    return found == entries.end() ? nullptr : &found->second;
}

std::string mergePromiseViolations(const TreeSnapshot& before, const TreeSnapshot& source,
                                   const std::string& targetRoot) {
    const TreeSnapshot after = TreeSnapshot::of(targetRoot);
    std::set<std::string> newIds;  // of the backup folders the merge made
    for (const auto& [path, state] : after.entries) {
        const bool backupFolder = path.starts_with(kBackupArea) &&
                                  path.find('/', kBackupArea.size()) == std::string::npos;
        if (backupFolder && !before.find(path)) newIds.insert(path.substr(kBackupArea.size()));
    }
    std::string report;
    for (const auto& [path, state] : before.entries) {
        bool kept = holdsAs(after, path, state);
        for (const auto& id : newIds) {
            kept = kept || holdsAs(after, std::string(kBackupArea) + id + "/" + path, state);
        }
        if (!kept) noteChange(report, "lost: ", path, state, after);
    }
    for (const auto& [path, state] : after.entries) {
        if (state.isFolder() || isBookkeeping(path)) continue;
        const auto original = backedUpPath(path, newIds);
        const bool inBackupArea = path == ".sorrelix" || path.starts_with(".sorrelix/");
        const bool copied = !inBackupArea && holdsAs(source, path, state);
        if (original ? !holdsAs(before, *original, state)
                     : !holdsAs(before, path, state) && !copied) {
            note(report, path,
                 "neither an old entry at its place or in the backup nor a copy: " +
                     state.describe());
        }
    }
    return report;
}

std::string undoViolations(const TreeSnapshot& before, const std::string& targetRoot,
                           const std::string& mergeId) {
    const TreeSnapshot after = TreeSnapshot::of(targetRoot);
    std::string report;
    for (const auto& [path, state] : before.entries) {
        if (!holdsAs(after, path, state)) noteChange(report, "not restored: ", path, state, after);
    }
    for (const auto& [path, state] : after.entries) {
        if (!before.find(path) && !state.isFolder() && !isBookkeeping(path))
            note(report, path, "left behind: " + state.describe());
    }
    for (const std::string& leftover :
         {std::string(kBackupArea) + mergeId, ".sorrelix/journals/" + mergeId}) {
        if (after.find(leftover)) note(report, leftover, "still there");
    }
    return report;
}

std::string differences(const TreeSnapshot& expected, const TreeSnapshot& actual) {
    std::string report;
    for (const auto& [path, state] : expected.entries) {
        if (!(actual.find(path) && *actual.find(path) == state))
            noteChange(report, "", path, state, actual);
    }
    for (const auto& [path, state] : actual.entries) {
        if (!expected.find(path)) note(report, path, "appeared: " + state.describe());
    }
    return report;
}

}  // namespace sorrelix::testing
