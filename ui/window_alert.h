#pragma once

#include <QObject>
#include <QPointer>

#include <QMessageBox>
class QWidget;

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The window's single alert: a window-modal message box shown while the state holds an alert
// message and the host widget is visible. Closing it in any way clears the message; a message
// that is replaced or cleared meanwhile updates or closes the box. There is never more than
// one box, and it never runs an event loop of its own.
class WindowAlert : public QObject {
    Q_OBJECT

public:
    WindowAlert(app::AppState& state, QWidget& host);
    ~WindowAlert() override;

    // The box on screen, or null.
    QMessageBox* box() const { return box_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void present(const QString& message);
    void dismissed();
    void dropBox();

    app::AppState& state_;
    QWidget& host_;
    QPointer<QMessageBox> box_;
};

}  // namespace sorrelix::ui
