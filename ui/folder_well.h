#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <optional>

class QDropEvent;

namespace sorrelix::ui {

// One folder slot of the workspace: a title row with a badge over a panel that is either empty
// (drop hint and choose button) or filled (name, volume, path, and reveal, copy, change and
// clear). The well shows the folder its owner gives it; a choice, a drop or a clear is only
// reported, through folderSelected() and cleared(), and the owner decides what it means.
class FolderWell : public QWidget {
    Q_OBJECT

public:
    FolderWell(const QString& title, const QString& badgeText, const QColor& badgeColor,
               bool isTarget, QWidget* parent = nullptr);

    const std::optional<QUrl>& url() const;
    void setUrl(const std::optional<QUrl>& url);
    bool isCompact() const;
    void setCompact(bool compact);
    // True while a drag that carries file locations hovers over the panel.
    bool isDropTargetActive() const;

signals:
    // A folder chosen with the chooser or dropped from the file manager, on the GUI thread.
    void folderSelected(const QUrl& folder);
    void cleared();

private:
    struct Parts;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void fitNameRow();
    void buildTitleRow(const QString& badgeText);
    void buildPanel();
    QWidget* buildEmptyForm();
    QWidget* buildFilledForm();
    void applyForm();
    void setDropTargetActive(bool active);
    void chooseFolder();
    void copyPath() const;
    void takeDrop(QDropEvent* event);
    void checkDroppedLocation(const QUrl& location);
    void acceptDroppedFolder(const QUrl& folder);

    Parts* parts_;  // owned through Qt's parent-child tree
};

}  // namespace sorrelix::ui
