#include "merge_dock.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app_state.h"
#include "color_dot.h"
#include "loc.h"
#include "style.h"
#include "styled_label.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

using app::AppState;
using text::loc;

ProgressSteps progressSteps(std::int64_t current, std::int64_t total) {
    const std::int64_t maximum = std::max<std::int64_t>(total, 1);
    const std::int64_t value = std::clamp<std::int64_t>(current, 0, maximum);
    constexpr std::int64_t kLimit = std::numeric_limits<int>::max();
    if (maximum <= kLimit) return {static_cast<int>(value), static_cast<int>(maximum)};
    // Ten thousand steps are finer than any bar is wide.
    constexpr int kSteps = 10'000;
    const auto scaled = static_cast<int>(static_cast<long double>(value) * kSteps /
                                         static_cast<long double>(maximum));
    return {scaled, kSteps};
}

namespace {

PanelLook dockLook() {
    return {controlBackgroundAt(1.0), separatorAt(0.5), 0.8, false, 8};
}

QWidget* dotAndCount(const QColor& color, QLabel* count, QWidget* parent) {
    auto* pair = new QWidget(parent);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    row->addWidget(new ColorDot(color, 6.5, pair), 0, Qt::AlignVCenter);
    row->addWidget(count);
    return pair;
}

}  // namespace

MergeDock::MergeDock(AppState& state, QWidget* parent)
    : TintedPanel(dockLook(), parent), state_(state) {
    setObjectName(QStringLiteral("mergeDock"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(10);
    row->addWidget(buildSummaryColumn(), 1);
    row->addWidget(buildProgressColumn());
    row->addWidget(buildActions());

    for (const auto signal : {&AppState::mergeSummaryChanged, &AppState::targetURLChanged,
                              &AppState::isMergingChanged}) {
        connect(&state_, signal, this, &MergeDock::refreshSummary);
    }
    connect(&state_, &AppState::isMergingChanged, this, &MergeDock::refreshMode);
    connect(&state_, &AppState::progressCurrentChanged, this, &MergeDock::progressReported);
    connect(&state_, &AppState::progressTotalChanged, this, &MergeDock::progressReported);
    refreshSummary();
    refreshMode();
}

QWidget* MergeDock::buildSummaryColumn() {
    auto* column = new QWidget(this);
    auto* lines = new QVBoxLayout(column);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(2);

    auto* summaryLine = new QWidget(column);
    auto* counts = new QHBoxLayout(summaryLine);
    counts->setContentsMargins(0, 0, 0, 0);
    counts->setSpacing(8);
    added_ = styledLabel({}, style::systemFont(11.5, QFont::DemiBold), summaryLine);
    added_->setObjectName(QStringLiteral("addedCount"));
    updated_ = styledLabel({}, style::systemFont(11.5, QFont::DemiBold), summaryLine);
    updated_->setObjectName(QStringLiteral("updatedCount"));
    transfer_ = styledLabel({}, style::monospacedFont(11), summaryLine);
    transfer_->setObjectName(QStringLiteral("transferSize"));
    tintText(*transfer_, style::secondaryText(transfer_->palette()));
    counts->addWidget(dotAndCount(style::green(), added_, summaryLine));
    counts->addWidget(dotAndCount(style::orange(), updated_, summaryLine));
    counts->addWidget(transfer_);
    counts->addStretch(1);
    lines->addWidget(summaryLine);

    status_ = styledLabel({}, style::systemFont(10), column);
    status_->setObjectName(QStringLiteral("dockStatus"));
    // The disk-space warning names both sizes; it wraps rather than losing its end.
    status_->setWordWrap(true);
    lines->addWidget(status_);
    return column;
}

QWidget* MergeDock::buildProgressColumn() {
    progressColumn_ = new QWidget(this);
    auto* row = new QHBoxLayout(progressColumn_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    auto* lines = new QVBoxLayout();
    lines->setSpacing(3);
    row->addLayout(lines);
    progressBar_ = new QProgressBar(progressColumn_);
    progressBar_->setObjectName(QStringLiteral("mergeProgress"));
    progressBar_->setFixedWidth(140);
    progressBar_->setTextVisible(false);
    lines->addWidget(progressBar_, 0, Qt::AlignRight);
    progressCaption_ = styledLabel({}, style::systemFont(9.5), progressColumn_);
    progressCaption_->setObjectName(QStringLiteral("progressCaption"));
    progressCaption_->setAlignment(Qt::AlignRight);
    tintText(*progressCaption_, style::secondaryText(progressCaption_->palette()));
    lines->addWidget(progressCaption_, 0, Qt::AlignRight);

    // The merge ends after the file at hand; until then the button cannot be pressed again.
    stop_ = new QPushButton(loc("stop_button"), progressColumn_);
    stop_->setObjectName(QStringLiteral("stopButton"));
    stop_->setAccessibleName(loc("stop_button"));
    connect(stop_, &QPushButton::clicked, this, [this] {
        stop_->setEnabled(false);
        state_.stopMerge();
    });
    row->addWidget(stop_, 0, Qt::AlignVCenter);
    return progressColumn_;
}

QWidget* MergeDock::buildActions() {
    actions_ = new QWidget(this);
    auto* buttons = new QHBoxLayout(actions_);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    auto* reAnalyze = new QPushButton(loc("re_analyze"), actions_);
    connect(reAnalyze, &QPushButton::clicked, this, [this] { state_.startAnalysis(false); });
    buttons->addWidget(reAnalyze);

    merge_ = new QPushButton(loc("merge_now"), actions_);
    merge_->setObjectName(QStringLiteral("mergeButton"));
    merge_->setFont(style::systemFont(13, QFont::Bold));
    merge_->setIcon(QIcon(
        symbolPixmap(QStringLiteral("sparkles"), 13, Qt::white, merge_->devicePixelRatioF())));
    merge_->setDefault(true);
    merge_->setCursor(Qt::PointingHandCursor);
    merge_->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; border: none; border-radius: 6px; padding: 5px 12px;"
        " background: rgb(0, 122, 255); }"
        "QPushButton:pressed { background: rgb(0, 96, 207); }"
        "QPushButton:focus { border: 2px solid rgba(255, 255, 255, 140); }"));
    connect(merge_, &QPushButton::clicked, this, [this] { state_.startMerge(); });
    buttons->addWidget(merge_);
    return actions_;
}

void MergeDock::refreshSummary() {
    const std::optional<AppState::Summary>& summary = state_.mergeSummary();
    if (!summary) return;
    added_->setText(loc("diff_added", summary->addedCount));
    updated_->setText(loc("diff_updated", summary->updatedCount));
    const bool copies = summary->bytesToTransfer >= 1;
    transfer_->setVisible(copies);
    if (copies) {
        transfer_->setText(QStringLiteral("· ") +
                           loc("diff_transfer", state_.formatBytes(summary->bytesToTransfer)));
    }
    // One capacity query serves both the test and the text.
    const std::optional<std::int64_t> available = state_.targetAvailableBytes();
    if (AppState::isDiskSpaceInsufficient(available, summary->bytesToTransfer)) {
        status_->setText(loc("warning_disk_space", state_.formatBytes(summary->bytesToTransfer),
                             state_.formatBytes(*available)));
        status_->setFont(style::systemFont(10, QFont::Medium));
        tintText(*status_, style::orange());
    } else {
        status_->setText(loc("apfs_ready_subtitle"));
        status_->setFont(style::systemFont(10));
        tintText(*status_, style::secondaryText(palette()));
    }
}

void MergeDock::refreshMode() {
    const bool merging = state_.isMerging();
    progressColumn_->setVisible(merging);
    actions_->setVisible(!merging);
    stop_->setEnabled(merging);
    if (merging) refreshProgress();
}

void MergeDock::progressReported() {
    // Each report is an event of its own, queued by the merge as fast as it copies. Drawing
    // once per file costs far more than copying a small one, so the column is redrawn once
    // the reports queued so far are through, with the latest values.
    if (progressPending_) return;
    progressPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            progressPending_ = false;
            refreshProgress();
        },
        Qt::QueuedConnection);
}

void MergeDock::refreshProgress() {
    if (!state_.isMerging()) return;
    const ProgressSteps steps = progressSteps(state_.progressCurrent(), state_.progressTotal());
    if (progressBar_->maximum() != steps.maximum) progressBar_->setRange(0, steps.maximum);
    progressBar_->setValue(steps.value);
    progressCaption_->setText(
        loc("syncing_progress", state_.progressCurrent(), state_.progressTotal()));
}

}  // namespace sorrelix::ui
