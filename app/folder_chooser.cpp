#include "folder_chooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace sorrelix::app {

void DialogFolderChooser::configure(QFileDialog& dialog, const QString& prompt,
                                    bool canCreateDirectories) {
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // A read-only dialog offers no "new folder" action.
    dialog.setOption(QFileDialog::ReadOnly, !canCreateDirectories);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowTitle(prompt);
    dialog.setLabelText(QFileDialog::Accept, prompt);
}

std::optional<QUrl> DialogFolderChooser::chooseFolder(const QString& prompt,
                                                      bool canCreateDirectories) {
    QFileDialog dialog(QApplication::activeWindow());
    configure(dialog, prompt, canCreateDirectories);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QList<QUrl> chosen = dialog.selectedUrls();
    if (chosen.size() != 1) return std::nullopt;
    const QUrl& folder = chosen.front();
    // Typed names may name nothing; only a local folder that exists is a choice.
    if (!folder.isLocalFile() || !QFileInfo(folder.toLocalFile()).isDir()) return std::nullopt;
    return folder;
}

}  // namespace sorrelix::app
