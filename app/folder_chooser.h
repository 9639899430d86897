#pragma once

#include <QString>
#include <QUrl>
#include <optional>

class QFileDialog;

namespace sorrelix::app {

// Asks the user for exactly one existing folder. The application uses DialogFolderChooser;
// tests put a scripted chooser in its place.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // None when the user cancels.
    virtual std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories) = 0;
};

// The modal Qt file dialog (the desktop portal's, where the platform provides one).
class DialogFolderChooser : public FolderChooser {
public:
    std::optional<QUrl> chooseFolder(const QString& prompt, bool canCreateDirectories) override;

    // Folders only, one at a time; the prompt is the title and the accept button's text.
    static void configure(QFileDialog& dialog, const QString& prompt, bool canCreateDirectories);
};

}  // namespace sorrelix::app
