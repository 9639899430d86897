#include "self_check.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUuid>
#include <exception>
#include <optional>
#include <stdexcept>

#include "apfs_engine.h"
#include "engine_error.h"

namespace sorrelix::app {

namespace {
using engine::APFSEngine;

constexpr qint64 kFixedModificationSeconds = 1'700'000'000;

// A failure inside the run's failure scope; its message is the printed description.
struct ScopeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) throw ScopeError("Could not create the folder " + path.toStdString());
}

void writeWhole(const QString& path, const char* content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0) {
        throw ScopeError("Could not write " + path.toStdString() + ": " +
                         file.errorString().toStdString());
    }
}

void setModificationTime(const QString& path, const QDateTime& time) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(time, QFileDevice::FileModificationTime)) {
        throw ScopeError("Could not set the modification time of " + path.toStdString() + ": " +
                         file.errorString().toStdString());
    }
}

// Reads a file whole; a file that cannot be read fails the scope, bytes that are not
// UTF-8 give no text (which fails the check, not the scope).
std::optional<QString> readUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw ScopeError("Could not read " + path.toStdString() + ": " +
                         file.errorString().toStdString());
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::string bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Taken as configured: QDir::tempPath() is empty for a TMPDIR that does not exist, which
// would put the scratch root at "/".
QString temporaryFolder() {
    const QString configured = qEnvironmentVariable("TMPDIR");
    return QDir(configured.isEmpty() ? QStringLiteral("/tmp") : configured).absolutePath();
}

// Creating the scratch root with its parents would otherwise make up a missing TMPDIR.
void requireFolder(const QString& path) {
    if (!QFileInfo(path).isDir()) {
        throw ScopeError("The temporary folder " + path.toStdString() +
                         " does not exist or is not a folder");
    }
}
}  // namespace

SelfCheck::SelfCheck(std::FILE* out) : out_(out) {}

QString SelfCheck::makeScratchRoot() {
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return QDir(temporaryFolder()).filePath(QStringLiteral("SorrelixTest_") + uuid);
}

void SelfCheck::run() {
    print("🧪 [Self-Test] Starting Sorrelix boutique verification...");
    root_ = makeScratchRoot();
    source_ = root_ + QStringLiteral("/Source");
    target_ = root_ + QStringLiteral("/Target");
    try {
        prepareFixtures();
        testAnalyze();
        testMerge();
        testUndo();
    } catch (const engine::EngineError& error) {
        failScope(error.description());
    } catch (const std::exception& error) {
        failScope(QString::fromUtf8(error.what()));
    }
    QDir(root_).removeRecursively();
    print("🎉 ALL TESTS PASSED! 100% Core Verification Successful.");
}

void SelfCheck::prepareFixtures() const {
    requireFolder(QFileInfo(root_).path());
    makeFolder(root_);
    makeFolder(source_);
    makeFolder(target_);
    const QDateTime fixed = QDateTime::fromSecsSinceEpoch(kFixedModificationSeconds, Qt::UTC);
    writeWhole(source_ + "/common.txt", "Hello World Identical");
    writeWhole(target_ + "/common.txt", "Hello World Identical");
    setModificationTime(source_ + "/common.txt", fixed);
    setModificationTime(target_ + "/common.txt", fixed);
    writeWhole(source_ + "/diff.txt", "Version 2 in Src");
    writeWhole(target_ + "/diff.txt", "Version 1 in Dst");
    setModificationTime(target_ + "/diff.txt", QDateTime::currentDateTimeUtc().addSecs(-3600));
    writeWhole(source_ + "/new.txt", "I am new in source");
    writeWhole(source_ + "/.DS_Store", "junk data");
    writeWhole(source_ + "/Thumbs.db", "junk data");
}

void SelfCheck::testAnalyze() {
    print("▶️ [Test 1] Testing APFSEngine.analyze...");
    summary_ = APFSEngine::shared().analyze(bytes(source_), bytes(target_)).result();
    std::fprintf(out_, "   Diff result: added=%lld, updated=%lld, identical=%lld\n",
                 static_cast<long long>(summary_.addedCount),
                 static_cast<long long>(summary_.updatedCount),
                 static_cast<long long>(summary_.identicalCount));
    std::fflush(out_);
    if (summary_.addedCount != 1 || summary_.updatedCount != 1 || summary_.identicalCount != 1) {
        failCheck();
    }
    print("   ✅ APFSEngine.analyze passed!");
}

void SelfCheck::testMerge() {
    print("▶️ [Test 2] Testing APFSEngine.executeMerge...");
    auto ignoreProgress = [](std::int64_t, std::int64_t, const std::string&) {};
    record_ = APFSEngine::shared()
                  .executeMerge(bytes(source_), bytes(target_), summary_, ignoreProgress)
                  .result();
    std::fprintf(out_, "   Merged record: added=%lld, updated=%lld\n",
                 static_cast<long long>(record_.addedCount),
                 static_cast<long long>(record_.updatedCount));
    std::fflush(out_);
    if (!QFile::exists(target_ + "/new.txt")) failCheck();
    if (readUtf8(target_ + "/diff.txt") != QStringLiteral("Version 2 in Src")) failCheck();
    if (!QFile::exists(source_ + "/new.txt")) failCheck();
    if (QFile::exists(target_ + "/Thumbs.db")) failCheck();
    print("   ✅ APFSEngine.executeMerge passed!");
}

void SelfCheck::testUndo() {
    print("▶️ [Test 3] Testing APFSEngine.undoMerge...");
    APFSEngine::shared().undoMerge(record_).waitForFinished();
    if (readUtf8(target_ + "/diff.txt") != QStringLiteral("Version 1 in Dst")) failCheck();
    if (QFile::exists(target_ + "/new.txt")) failCheck();
    print("   ✅ APFSEngine.undoMerge passed!");
}

void SelfCheck::print(const char* line) const {
    std::fputs(line, out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void SelfCheck::failCheck() const {
    // The scratch folders stay for inspection; nothing more is printed.
    std::fflush(nullptr);
    std::_Exit(2);
}

void SelfCheck::failScope(const QString& description) const {
    std::fprintf(out_, "❌ [Self-Test Failed]: %s\n", description.toUtf8().constData());
    std::fflush(nullptr);
    QDir(root_).removeRecursively();
    std::_Exit(1);
}

}  // namespace sorrelix::app
