#include "merge_view.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app_state.h"
#include "diff_list_view.h"
#include "folder_well.h"
#include "interrupted_merge_strip.h"
#include "loc.h"
#include "merge_dock.h"
#include "same_folder_strip.h"
#include "style.h"
#include "success_banner.h"
#include "swap_button.h"
#include "window_alert.h"
#include "workspace_panels.h"

namespace sorrelix::ui {

using app::AppState;
using text::loc;

struct MergeView::Parts {
    AppState& state;
    QVBoxLayout* stack = nullptr;
    FolderWell* sourceWell = nullptr;
    FolderWell* targetWell = nullptr;
    SameFolderStrip* strip = nullptr;
    QStackedWidget* centre = nullptr;
    QWidget* dropGuide = nullptr;
    ActionPanel ready{};
    ActionPanel scanning{};
    ActionPanel inSync{};
    DiffListView* diffList = nullptr;
    QWidget* differences = nullptr;
    MergeDock* mergeDock = nullptr;
    SuccessBanner* banner = nullptr;
    SuccessBanner* stoppedBanner = nullptr;
};

namespace {

bool editsText(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

bool analysedWithChanges(const AppState& state) {
    return state.mergeSummary() && state.isAnalyzed() && state.mergeSummary()->hasChanges();
}

}  // namespace

MergeView::MergeView(AppState& state, QWidget* parent) : QWidget(parent), parts_(new Parts{state}) {
    parts_->stack = new QVBoxLayout(this);
    parts_->stack->setContentsMargins(16, 10, 16, 8);
    parts_->stack->setSpacing(10);
    buildFolderRow();
    parts_->strip = new SameFolderStrip(this);
    parts_->strip->setObjectName(QStringLiteral("sameFolderStrip"));
    parts_->stack->addWidget(parts_->strip);
    parts_->stack->addWidget(new InterruptedMergeStrip(state, this));
    buildCentre();
    buildDock();
    new WindowAlert(state, *this);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &MergeView::pressDefaultButton);
    }
    connectState();
    refreshFolders();
    refreshCentre();
    refreshDock();
}

MergeView::~MergeView() {
    delete parts_;
}

FolderWell& MergeView::sourceWell() const {
    return *parts_->sourceWell;
}

FolderWell& MergeView::targetWell() const {
    return *parts_->targetWell;
}

DiffListView& MergeView::diffList() const {
    return *parts_->diffList;
}

void MergeView::buildFolderRow() {
    AppState& state = parts_->state;
    auto* row = new QHBoxLayout();
    row->setSpacing(10);
    parts_->sourceWell =
        new FolderWell(loc("source_title"), loc("source_badge"), style::green(), false, this);
    parts_->targetWell =
        new FolderWell(loc("target_title"), loc("target_badge"), style::blue(), true, this);
    connect(parts_->sourceWell, &FolderWell::folderSelected, this,
            [&state](const QUrl& folder) { state.setSource(folder); });
    connect(parts_->sourceWell, &FolderWell::cleared, this,
            [&state] { state.setSource(std::nullopt); });
    connect(parts_->targetWell, &FolderWell::folderSelected, this,
            [&state](const QUrl& folder) { state.setTarget(folder); });
    connect(parts_->targetWell, &FolderWell::cleared, this,
            [&state] { state.setTarget(std::nullopt); });

    auto* swapColumn = new QWidget(this);
    swapColumn->setFixedWidth(78);
    auto* swapStack = new QVBoxLayout(swapColumn);
    swapStack->setContentsMargins(0, 0, 0, 6);
    swapStack->addStretch(1);
    swapStack->addWidget(new SwapButton(state, swapColumn), 0, Qt::AlignHCenter);
    swapStack->addStretch(1);

    row->addWidget(parts_->sourceWell, 1);
    row->addWidget(swapColumn);
    row->addWidget(parts_->targetWell, 1);
    parts_->stack->addLayout(row);
}

void MergeView::buildCentre() {
    AppState& state = parts_->state;
    parts_->centre = new QStackedWidget(this);
    parts_->dropGuide = makeDropGuidePanel(parts_->centre);
    parts_->ready = makeReadyPanel(parts_->centre);
    parts_->scanning = makeScanningPanel(state, parts_->centre);
    parts_->inSync = makeInSyncPanel(parts_->centre);
    parts_->diffList = new DiffListView(state, parts_->centre);
    parts_->differences = makeDifferencesPanel(parts_->diffList, parts_->centre);
    for (QWidget* panel : {parts_->dropGuide, static_cast<QWidget*>(parts_->ready.panel),
                           static_cast<QWidget*>(parts_->scanning.panel),
                           static_cast<QWidget*>(parts_->inSync.panel), parts_->differences}) {
        parts_->centre->addWidget(panel);
    }
    connect(parts_->ready.button, &QPushButton::clicked, this,
            [&state] { state.startAnalysis(false); });
    connect(parts_->scanning.button, &QPushButton::clicked, this,
            [&state] { state.cancelAnalysis(); });
    connect(parts_->inSync.button, &QPushButton::clicked, this,
            [&state] { state.startAnalysis(false); });
    parts_->stack->addWidget(parts_->centre, 1);
}

void MergeView::buildDock() {
    parts_->banner = new SuccessBanner(parts_->state, SuccessBanner::Kind::completed, this);
    parts_->stoppedBanner = new SuccessBanner(parts_->state, SuccessBanner::Kind::stopped, this);
    parts_->mergeDock = new MergeDock(parts_->state, this);
    parts_->stack->addWidget(parts_->banner);
    parts_->stack->addWidget(parts_->stoppedBanner);
    parts_->stack->addWidget(parts_->mergeDock);
}

void MergeView::connectState() {
    // Specific signals only: a merge reports progress once per file, and none of these
    // depends on progress.
    AppState& state = parts_->state;
    for (const auto signal : {&AppState::sourceURLChanged, &AppState::targetURLChanged}) {
        connect(&state, signal, this, &MergeView::refreshFolders);
    }
    for (const auto signal : {&AppState::sourceURLChanged, &AppState::targetURLChanged,
                              &AppState::isAnalyzingChanged, &AppState::isAnalyzedChanged,
                              &AppState::mergeSummaryChanged, &AppState::isMergingChanged}) {
        connect(&state, signal, this, &MergeView::refreshCentre);
    }
    for (const auto signal : {&AppState::showSuccessBannerChanged, &AppState::stoppedMergeChanged,
                              &AppState::isAnalyzedChanged, &AppState::mergeSummaryChanged}) {
        connect(&state, signal, this, &MergeView::refreshDock);
    }
}

void MergeView::refreshFolders() {
    const AppState& state = parts_->state;
    const bool compact = state.sourceURL() || state.targetURL();
    parts_->sourceWell->setUrl(state.sourceURL());
    parts_->targetWell->setUrl(state.targetURL());
    parts_->sourceWell->setCompact(compact);
    parts_->targetWell->setCompact(compact);
    parts_->strip->setVisible(state.isSameFolder());
}

void MergeView::refreshCentre() {
    const AppState& state = parts_->state;
    QWidget* panel = parts_->dropGuide;
    if (state.isAnalyzing()) {
        panel = parts_->scanning.panel;
    } else if (state.mergeSummary() && state.isAnalyzed()) {
        panel = state.mergeSummary()->hasChanges() ? parts_->differences : parts_->inSync.panel;
    } else if (state.isReadyToAnalyze()) {
        panel = parts_->ready.panel;
    }
    parts_->centre->setCurrentWidget(panel);
}

void MergeView::refreshDock() {
    const AppState& state = parts_->state;
    // A stopped merge's banner stands in the success banner's place.
    const bool stopped = state.stoppedMerge().has_value();
    const bool banner = state.showSuccessBanner() && !stopped;
    parts_->banner->setVisible(banner);
    parts_->stoppedBanner->setVisible(stopped);
    parts_->mergeDock->setVisible(!banner && !stopped && analysedWithChanges(state));
}

void MergeView::pressDefaultButton() {
    // Return in a text field belongs to the field (where it does nothing).
    if (editsText(QApplication::focusWidget())) return;
    for (QPushButton* button : {parts_->ready.button, &parts_->mergeDock->mergeButton()}) {
        if (button->isVisible() && button->isEnabled()) {
            button->click();
            return;
        }
    }
}

}  // namespace sorrelix::ui
