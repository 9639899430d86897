#pragma once

#include <QObject>
#include <QPointer>

#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
class QWidget;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The window's single alert: a window-modal message box shown while the state holds an alert
// message and the host widget is visible. After an undo that kept files it also offers to show
// them in the file manager. Closing it in any way clears the message; a message
// that is replaced or cleared meanwhile updates or closes the box. There is never more than
// one box, and it never runs an event loop of its own.
class WindowAlert : public QObject {
    Q_OBJECT

public:
    WindowAlert(app::AppState& state, QWidget& host);
    ~WindowAlert() override;

    // The box on screen, or null.
    QMessageBox* box() const { return box_; }
    // The box's "Show Kept Files" button, or null.
    QPushButton* showKeptButton() const { return showKept_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void present(const QString& message);
    void dismissed();
    void dropBox();
    void offerKeptFiles();

    app::AppState& state_;
    QWidget& host_;
    QPointer<QMessageBox> box_;
    QPointer<QPushButton> showKept_;
    QUrl keptFolder_;
};

}  // namespace sorrelix::ui
