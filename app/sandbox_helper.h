#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <atomic>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "folder_chooser.h"

class QSettings;

namespace sorrelix::app {

// The folder chooser and the store of folder access grants. Linux has no security-scoped
// access, so starting access does nothing and reports success; grants are FolderBookmark
// bytes kept under "SecurityScopedBookmarks", one entry per folder path.
// Everything but the access bracket runs on the GUI thread; the bracket may run anywhere.
class SandboxHelper {
public:
    static constexpr const char* kStoreKey = "SecurityScopedBookmarks";

    static SandboxHelper& shared();

    // Shows the chooser for one existing folder and records its grant; none when cancelled.
    std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories);
    // Records (or replaces) the grant for the folder; a failure is printed, never raised.
    void saveBookmark(const QUrl& folder);
    // The folder recorded under the path, recorded again when it went stale; none when
    // nothing usable is recorded.
    std::optional<QUrl> resolveBookmark(const QString& path);

    // Runs the block with the folder between the start and the stop of its access; the
    // access is stopped however the block ends, and its exception passes on unchanged.
    template <typename Block>
    std::invoke_result_t<Block&, const QUrl&> access(const QUrl& folder, Block&& block);

    bool startAccessingSecurityScopedResource(const QUrl& folder);
    void stopAccessingSecurityScopedResource(const QUrl& folder);
    // Accesses started and not yet stopped, for diagnostics.
    int activeAccessCount() const { return activeAccesses_.load(); }

    // Replaces the chooser (tests); null restores the dialog.
    void setFolderChooser(std::unique_ptr<FolderChooser> chooser);

private:
    SandboxHelper();
    static QVariantMap readStore(QSettings& settings);

    std::unique_ptr<FolderChooser> chooser_;
    std::atomic<int> activeAccesses_{0};
};

template <typename Block>
std::invoke_result_t<Block&, const QUrl&> SandboxHelper::access(const QUrl& folder, Block&& block) {
    struct Bracket {
        SandboxHelper& helper;
        const QUrl& folder;
        bool started;
        ~Bracket() {
            if (started) helper.stopAccessingSecurityScopedResource(folder);
        }
    };
    const Bracket bracket{*this, folder, startAccessingSecurityScopedResource(folder)};
    return block(folder);
}

}  // namespace sorrelix::app
