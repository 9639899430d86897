#include "window_alert.h"

#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "app_state.h"
#include "loc.h"

namespace sorrelix::ui {

WindowAlert::WindowAlert(app::AppState& state, QWidget& host)
    : QObject(&host), state_(state), host_(host) {
    connect(&state_, &app::AppState::alertMessageChanged, this, &WindowAlert::follow);
    connect(&state_, &app::AppState::alertKeptFolderChanged, this, &WindowAlert::follow);
    host_.installEventFilter(this);
}

WindowAlert::~WindowAlert() {
    dropBox();
}

bool WindowAlert::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &host_) {
        // A host taken off screen (the window content being replaced, the window closed)
        // takes its box along without answering it: the message stays for the next host.
        if (event->type() == QEvent::Hide && !event->spontaneous()) dropBox();
        if (event->type() == QEvent::Show) follow();
    }
    return QObject::eventFilter(watched, event);
}

void WindowAlert::follow() {
    const std::optional<QString>& message = state_.alertMessage();
    if (!message) {
        dropBox();
        return;
    }
    if (!host_.isVisible()) return;
    present(*message);
}

void WindowAlert::present(const QString& message) {
    if (box_) {
        box_->setText(message);
        offerKeptFiles();
        return;
    }
    auto* box = new QMessageBox(&host_);
    box->setWindowTitle(text::loc("app_name"));
    // Error descriptions carry file names; none of them is markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(message);
    box->setIcon(QMessageBox::NoIcon);
    // Qt sizes a message box to its text's shortest wrap; a sentence reads better on one line.
    box->setStyleSheet(QStringLiteral("QLabel { min-width: 340px; }"));
    QPushButton* close = box->addButton(text::loc("close"), QMessageBox::AcceptRole);
    box->setDefaultButton(close);
    box->setEscapeButton(close);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QDialog::finished, this, &WindowAlert::dismissed);
    box_ = box;
    offerKeptFiles();
    box->open();
}

void WindowAlert::offerKeptFiles() {
    const std::optional<QUrl>& folder = state_.alertKeptFolder();
    // Kept here: closing the box, which any of its buttons does first, clears the state's.
    if (folder) keptFolder_ = *folder;
    if (folder && !showKept_) {
        showKept_ = box_->addButton(text::loc("show_kept_files"), QMessageBox::ActionRole);
        showKept_->setAccessibleName(text::loc("show_kept_files"));
        connect(showKept_, &QPushButton::clicked, this,
                [this] { state_.openInFinder(keptFolder_); });
    } else if (!folder && showKept_) {
        box_->removeButton(showKept_);
        showKept_->deleteLater();
        showKept_ = nullptr;
    }
}

void WindowAlert::dismissed() {
    // Detach first: clearing the message comes back here through follow().
    QMessageBox* box = box_;
    box_ = nullptr;
    showKept_ = nullptr;
    if (box) box->deleteLater();
    state_.setAlertMessage(std::nullopt);
}

void WindowAlert::dropBox() {
    QMessageBox* box = box_;
    box_ = nullptr;
    showKept_ = nullptr;
    if (!box) return;
    disconnect(box, nullptr, this, nullptr);
    box->hide();
    box->deleteLater();
}

}  // namespace sorrelix::ui
