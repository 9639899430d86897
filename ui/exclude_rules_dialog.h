#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// Edits the stored exclude rules, one pattern a line. The lines are checked a moment after
// typing stops: each line that is not a pattern is marked and listed with its reason, and
// Save stays disabled (and refuses) while any is left. A stored line that is not UTF-8 text
// shows its unreadable bytes as "�" and is saved byte for byte while it is left as it is; a
// changed one is refused, since the editor cannot hold its bytes. Saving a changed list
// compares an analysed folder pair again.
class ExcludeRulesDialog : public QDialog {
    Q_OBJECT

public:
    explicit ExcludeRulesDialog(app::AppState& state, QWidget* parent = nullptr);

    QPlainTextEdit& editor() const { return *editor_; }
    QPushButton& saveButton() const { return *save_; }
    // "Line N: reason" for each line that is not a pattern; hidden when there is none.
    QLabel& problemList() const { return *problems_; }
    // Which lines are kept as stored bytes; hidden when there is none.
    QLabel& keptBytesNote() const { return *keptNote_; }

private:
    struct StoredLine {
        QString shown;
        std::string bytes;
    };
    struct Draft;

    void buildButtons();
    void check();
    Draft draft() const;
    void markLines(const Draft& draft);
    void save();

    app::AppState& state_;
    std::vector<std::string> stored_;
    // The stored lines that show "�", to give them their bytes back when saved unchanged.
    std::vector<StoredLine> unreadable_;
    QPlainTextEdit* editor_;
    QLabel* problems_;
    QLabel* keptNote_;
    QPushButton* save_ = nullptr;
    QTimer* pause_;
};

}  // namespace sorrelix::ui
