#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QListView;
class QPushButton;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

class MergeHistoryModel;

// The stored merges, newest first, with Undo, Show Backup Folder and Copy Target Path for the
// selected one. Other processes (the command-line tool) merge and undo too, so the list is
// read again whenever the window is activated and after every merge or undo of the state.
// An undo started here reports its outcome on the window's status line as well.
class MergeHistoryWindow : public QDialog {
    Q_OBJECT

public:
    explicit MergeHistoryWindow(app::AppState& state, QWidget* parent = nullptr);

    MergeHistoryModel& model() const { return *model_; }
    QListView& list() const { return *list_; }
    QPushButton& undoButton() const { return *undo_; }
    QPushButton& backupButton() const { return *backup_; }
    QPushButton& copyButton() const { return *copy_; }
    QLabel& statusLine() const { return *status_; }
    // Selects the row (and the record it holds) as a click would.
    void selectRow(int row);

    // Reads the history off the GUI thread; the list shows it once it is read.
    void reload();

protected:
    bool event(QEvent* event) override;

private:
    void buildButtons(QWidget* row);
    void retranslate();
    void refreshButtons();
    void undoSelected();
    void undoEnded();
    int selectedRow() const;

    app::AppState& state_;
    MergeHistoryModel* model_;
    QListView* list_;
    QLabel* empty_;
    QLabel* status_;
    QPushButton* undo_ = nullptr;
    QPushButton* backup_ = nullptr;
    QPushButton* copy_ = nullptr;
    std::uint64_t loads_ = 0;
    bool undoStartedHere_ = false;
};

}  // namespace sorrelix::ui
