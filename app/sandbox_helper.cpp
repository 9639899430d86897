#include "sandbox_helper.h"

#include <QFile>
#include <QSettings>
#include <algorithm>
#include <cstdio>

#include "app_settings.h"
#include "folder_bookmark.h"
#include "folder_location.h"

namespace sorrelix::app {

namespace {

// Diagnostics the user never sees: one line on standard output.
void printLine(const QString& line) {
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

bool holdsOnlyData(const QVariantMap& store) {
    return std::all_of(store.cbegin(), store.cend(), [](const QVariant& value) {
        return value.metaType() == QMetaType::fromType<QByteArray>();
    });
}

}  // namespace

SandboxHelper& SandboxHelper::shared() {
    static SandboxHelper helper;
    return helper;
}

SandboxHelper::SandboxHelper() : chooser_(std::make_unique<DialogFolderChooser>()) {}

void SandboxHelper::setFolderChooser(std::unique_ptr<FolderChooser> chooser) {
    chooser_ = chooser ? std::move(chooser) : std::make_unique<DialogFolderChooser>();
}

std::optional<QUrl> SandboxHelper::chooseFolder(const QString& prompt, bool canCreateDirectories) {
    std::optional<QUrl> folder = chooser_->chooseFolder(prompt, canCreateDirectories);
    if (!folder || folder->isEmpty()) return std::nullopt;
    saveBookmark(*folder);
    return folder;
}

QVariantMap SandboxHelper::readStore(QSettings& settings) {
    const QVariant value = settings.value(QString::fromLatin1(kStoreKey));
    // A store of any other shape counts as empty and is replaced as a whole by the next save.
    if (value.metaType() != QMetaType::fromType<QVariantMap>()) return {};
    QVariantMap store = value.toMap();
    return holdsOnlyData(store) ? store : QVariantMap();
}

void SandboxHelper::saveBookmark(const QUrl& folder) {
    QByteArray bytes;
    try {
        bytes = FolderBookmark::forFolder(QFile::encodeName(folderPath(folder))).toBytes();
    } catch (const BookmarkError& error) {
        printLine(QStringLiteral("Failed to create bookmark for %1: %2")
                      .arg(folder.toString(), QString::fromStdString(error.what())));
        return;
    }
    const auto settings = text::openAppSettings();
    QVariantMap store = readStore(*settings);
    store.insert(folderPath(folder), bytes);
    settings->setValue(QString::fromLatin1(kStoreKey), store);
    settings->sync();
}

std::optional<QUrl> SandboxHelper::resolveBookmark(const QString& path) {
    const auto settings = text::openAppSettings();
    const QVariantMap store = readStore(*settings);
    const auto entry = store.constFind(path);
    if (entry == store.cend()) return std::nullopt;
    FolderBookmark::Resolution resolution;
    try {
        resolution = FolderBookmark::fromBytes(entry->toByteArray()).resolve();
    } catch (const BookmarkError& error) {
        printLine(QStringLiteral("Failed to resolve bookmark: %1")
                      .arg(QString::fromStdString(error.what())));
        return std::nullopt;
    }
    const QUrl folder = folderLocation(QFile::decodeName(resolution.path));
    if (resolution.isStale) saveBookmark(folder);
    return folder;
}

bool SandboxHelper::startAccessingSecurityScopedResource(const QUrl& /*folder*/) {
    // Nothing to open on Linux; the count keeps the brackets observable.
    activeAccesses_.fetch_add(1);
    return true;
}

void SandboxHelper::stopAccessingSecurityScopedResource(const QUrl& /*folder*/) {
    activeAccesses_.fetch_sub(1);
}

}  // namespace sorrelix::app
