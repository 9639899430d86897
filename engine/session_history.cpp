#include "session_history.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <mutex>

#include "app_settings.h"
#include "record_json.h"

namespace sorrelix::engine {

namespace {

std::vector<MergeSessionRecord> readRecords(QSettings& settings) {
    const QVariant value = settings.value(SessionHistory::kStorageKey);
    if (!value.isValid()) return {};
    try {
        return decodeMergeSessionRecords(value.toByteArray());
    } catch (const JsonDecodeError&) {
        return {};
    }
}

std::mutex& saveMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::vector<MergeSessionRecord> SessionHistory::load() {
    auto settings = text::openAppSettings();
    settings->sync();  // pick up what another process wrote
    return readRecords(*settings);
}

void SessionHistory::save(const MergeSessionRecord& record) {
    std::lock_guard threadLock(saveMutex());
    auto settings = text::openAppSettings();
    const QString storeFile = settings->fileName();
    QDir().mkpath(QFileInfo(storeFile).absolutePath());
    QLockFile processLock(storeFile + QStringLiteral(".history-lock"));
    processLock.setStaleLockTime(0);  // a crashed holder is found by its process id instead
    const bool locked = processLock.tryLock(30000);
    settings->sync();
    std::vector<MergeSessionRecord> records = readRecords(*settings);
    records.insert(records.begin(), record);
    if (records.size() > kCapacity) records.resize(kCapacity);
    settings->setValue(kStorageKey, encodeJson(records));
    settings->sync();
    if (locked) processLock.unlock();
}

}  // namespace sorrelix::engine
