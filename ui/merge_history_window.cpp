#include "merge_history_window.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "app_state.h"
#include "language_manager.h"
#include "loc.h"
#include "merge_history.h"
#include "merge_history_delegate.h"
#include "merge_history_model.h"
#include "style.h"
#include "styled_label.h"
#include "when_finished.h"

namespace sorrelix::ui {

using app::AppState;
using app::MergeHistory;
using app::MergeHistoryEntry;
using text::loc;

namespace {
QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
}  // namespace

MergeHistoryWindow::MergeHistoryWindow(AppState& state, QWidget* parent)
    : QDialog(parent),
      state_(state),
      model_(new MergeHistoryModel(this)),
      list_(new QListView(this)),
      empty_(new QLabel(this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("mergeHistoryWindow"));
    setModal(false);
    resize(680, 420);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(14, 14, 14, 12);
    stack->setSpacing(10);

    list_->setObjectName(QStringLiteral("historyList"));
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setItemDelegate(new MergeHistoryDelegate(list_));
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    empty_->setAlignment(Qt::AlignCenter);
    tintText(*empty_, style::secondaryText(empty_->palette()));
    auto* centre = new QStackedLayout();
    centre->addWidget(list_);
    centre->addWidget(empty_);
    stack->addLayout(centre, 1);

    status_->setObjectName(QStringLiteral("historyStatus"));
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->hide();
    stack->addWidget(status_);

    auto* buttons = new QWidget(this);
    buildButtons(buttons);
    stack->addWidget(buttons);

    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MergeHistoryWindow::refreshButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, [this, centre] {
        centre->setCurrentWidget(model_->rowCount() > 0 ? static_cast<QWidget*>(list_) : empty_);
    });
    for (const auto signal : {&AppState::isMergingChanged, &AppState::isUndoingChanged}) {
        connect(&state_, signal, this, [this] {
            refreshButtons();
            if (!state_.isMerging() && !state_.isUndoing()) reload();
        });
    }
    connect(&state_, &AppState::isUndoingChanged, this, &MergeHistoryWindow::undoEnded);
    connect(&text::LanguageManager::shared(), &text::LanguageManager::selectedLanguageChanged, this,
            &MergeHistoryWindow::retranslate);
    retranslate();
    refreshButtons();
}

void MergeHistoryWindow::buildButtons(QWidget* row) {
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    undo_ = new QPushButton(row);
    undo_->setObjectName(QStringLiteral("historyUndoButton"));
    tintText(*undo_, style::red());
    backup_ = new QPushButton(row);
    backup_->setObjectName(QStringLiteral("historyBackupButton"));
    copy_ = new QPushButton(row);
    copy_->setObjectName(QStringLiteral("historyCopyButton"));
    for (QPushButton* button : {undo_, backup_, copy_}) {
        // Return in the list must never undo a merge by accident.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    connect(undo_, &QPushButton::clicked, this, &MergeHistoryWindow::undoSelected);
    connect(backup_, &QPushButton::clicked, this, [this] {
        if (const MergeHistoryEntry* entry = model_->entryAt(selectedRow())) {
            state_.openInFinder(QUrl::fromLocalFile(displayPath(entry->record.backupDir)));
        }
    });
    connect(copy_, &QPushButton::clicked, this, [this] {
        if (const MergeHistoryEntry* entry = model_->entryAt(selectedRow())) {
            QApplication::clipboard()->setText(displayPath(entry->record.targetPath));
        }
    });
}

void MergeHistoryWindow::retranslate() {
    setWindowTitle(loc("history_title"));
    list_->setAccessibleName(loc("history_title"));
    empty_->setText(loc("history_empty"));
    undo_->setText(loc("undo_button"));
    backup_->setText(loc("history_show_backup"));
    copy_->setText(loc("history_copy_target"));
    for (QPushButton* button : {undo_, backup_, copy_}) button->setAccessibleName(button->text());
    model_->retranslate();
}

bool MergeHistoryWindow::event(QEvent* event) {
    // Activation is when the user comes back from elsewhere, where merges may have run.
    if (event->type() == QEvent::WindowActivate) reload();
    return QDialog::event(event);
}

void MergeHistoryWindow::reload() {
    const std::uint64_t load = ++loads_;
    app::whenFinished(MergeHistory::load(), this,
                      [this, load](const QFuture<std::vector<MergeHistoryEntry>>& loaded) {
                          // Only the latest load shows: it read the store last.
                          if (load != loads_) return;
                          const MergeHistoryEntry* selected = model_->entryAt(selectedRow());
                          const std::string selectedId = selected ? selected->record.id : "";
                          model_->setEntries(loaded.result());
                          const int row = model_->rowOf(selectedId);
                          selectRow(row >= 0 ? row : 0);
                      });
}

void MergeHistoryWindow::selectRow(int row) {
    if (row < model_->rowCount()) {
        list_->setCurrentIndex(model_->index(row));
    }
    refreshButtons();
}

int MergeHistoryWindow::selectedRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MergeHistoryWindow::refreshButtons() {
    const MergeHistoryEntry* entry = model_->entryAt(selectedRow());
    const bool idle = !state_.isMerging() && !state_.isUndoing();
    undo_->setEnabled(entry && entry->canUndo() && idle);
    backup_->setEnabled(entry && entry->canUndo());
    copy_->setEnabled(entry != nullptr);
}

void MergeHistoryWindow::undoSelected() {
    const MergeHistoryEntry* entry = model_->entryAt(selectedRow());
    if (!entry) return;
    status_->hide();
    state_.undoMerge(entry->record);
    undoStartedHere_ = state_.isUndoing();
}

void MergeHistoryWindow::undoEnded() {
    if (!undoStartedHere_ || state_.isUndoing()) return;
    undoStartedHere_ = false;
    // The state raises its alert right after the undo ends; the status line repeats it here,
    // where the user asked for the undo.
    QMetaObject::invokeMethod(
        this,
        [this] {
            status_->setText(state_.alertMessage().value_or(QString()));
            status_->setVisible(!status_->text().isEmpty());
        },
        Qt::QueuedConnection);
}

}  // namespace sorrelix::ui
