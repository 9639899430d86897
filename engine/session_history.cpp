#include "session_history.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app_settings.h"
#include "record_json.h"
#include "unique_fd.h"
#include "whole_file_io.h"

namespace sorrelix::engine {

namespace {

constexpr const char* kStoreName = "SorrelixSessions.json";

void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
    ::mkdir(path.c_str(), 0700);
}

// flock() on a lock file beside the store: one open file description per call, so threads
// of one process exclude each other as processes do. The store itself is replaced by rename,
// which a lock on it would not survive.
class StoreLock {
public:
    explicit StoreLock(int operation) {
        makeFolders(SessionHistory::storeFolder());
        const std::string file = SessionHistory::storeFolder() + "/SorrelixSessions.lock";
        fd_.reset(::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd_) return;
        while (::flock(fd_.get(), operation) != 0 && errno == EINTR) {
        }
    }

private:
    UniqueFd fd_;
};

std::optional<QByteArray> readStore() {
    UniqueFd fd(::open(SessionHistory::storeFile().c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    return readAll(fd.get());
}

std::vector<MergeSessionRecord> decodeOrEmpty(const QByteArray& bytes) {
    try {
        return decodeMergeSessionRecords(bytes);
    } catch (const JsonDecodeError&) {
        return {};
    }
}

void syncFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

// Written beside the store, flushed, then renamed over it: a reader or a power cut sees the
// old list or the new one, never a mix.
void writeStoreFile(const std::string& path, const QByteArray& bytes) {
    const std::string temporary = path + ".new-" + std::to_string(::getpid());
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd) return;
    const bool written = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    fd.reset();
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return;
    }
    syncFolder(SessionHistory::storeFolder());
}

// Bytes that do not decode are kept in a file of their own before anything replaces them.
void keepUnreadable(const QByteArray& bytes) {
    const std::string side = SessionHistory::storeFolder() + "/SorrelixSessions.unreadable-" +
                             std::to_string(::time(nullptr)) + "-" + std::to_string(::getpid()) +
                             ".json";
    writeStoreFile(side, bytes);
}

// Earlier versions kept the history in the settings file: moved over once, under the lock.
void migrateFromSettings() {
    auto settings = text::openAppSettings();
    settings->sync();
    const QVariant value = settings->value(SessionHistory::kStorageKey);
    if (!value.isValid()) return;
    writeStoreFile(SessionHistory::storeFile(), value.toByteArray());
    if (readStore()) {
        settings->remove(SessionHistory::kStorageKey);
        settings->sync();
    }
}

std::optional<QByteArray> readStoreMigrating() {
    if (auto bytes = readStore()) return bytes;
    migrateFromSettings();
    return readStore();
}

}  // namespace

std::string SessionHistory::storeFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/Sorrelix";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/Sorrelix";
}

std::string SessionHistory::storeFile() {
    return storeFolder() + "/" + kStoreName;
}

std::vector<MergeSessionRecord> SessionHistory::load() {
    {
        const StoreLock shared(LOCK_SH);
        if (const auto bytes = readStore()) return decodeOrEmpty(*bytes);
    }
    const StoreLock exclusive(LOCK_EX);
    const auto bytes = readStoreMigrating();
    return bytes ? decodeOrEmpty(*bytes) : std::vector<MergeSessionRecord>{};
}

void SessionHistory::change(const std::function<void(std::vector<MergeSessionRecord>&)>& edit) {
    const StoreLock exclusive(LOCK_EX);
    const std::optional<QByteArray> bytes = readStoreMigrating();
    std::vector<MergeSessionRecord> records;
    if (bytes && !bytes->isEmpty()) {
        try {
            records = decodeMergeSessionRecords(*bytes);
        } catch (const JsonDecodeError&) {
            keepUnreadable(*bytes);
        }
    }
    edit(records);
    if (records.size() > kCapacity) records.resize(kCapacity);
    writeStoreFile(storeFile(), encodeJson(records));
}

void SessionHistory::save(const MergeSessionRecord& record) {
    change(
        [&](std::vector<MergeSessionRecord>& records) { records.insert(records.begin(), record); });
}

void SessionHistory::replace(const MergeSessionRecord& record) {
    change([&](std::vector<MergeSessionRecord>& records) {
        for (auto& stored : records) {
            if (stored.id == record.id && stored.targetPath == record.targetPath) {
                stored = record;
                return;
            }
        }
        records.insert(records.begin(), record);
    });
}

}  // namespace sorrelix::engine
