#include "interrupted_merge_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app_state.h"
#include "loc.h"
#include "style.h"
#include "styled_label.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

using app::AppState;

namespace {
// The look of the same-folder strip: both warn about the folder pair.
PanelLook stripLook() {
    return {fixedColor(style::orange(), 0.10), fixedColor(style::orange(), 0.25), 0.8, false, 8};
}
}  // namespace

InterruptedMergeStrip::InterruptedMergeStrip(AppState& state, QWidget* parent)
    : TintedPanel(stripLook(), parent), state_(state) {
    setObjectName(QStringLiteral("interruptedMergeStrip"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 5, 8, 5);
    row->setSpacing(8);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap(QStringLiteral("exclamationmark.triangle.fill"), 13,
                                   style::orange(), devicePixelRatioF()));
    row->addWidget(symbol);
    QLabel* message = styledLabel(text::loc("interrupted_merge_warning"),
                                  style::systemFont(11.5, QFont::Medium), this);
    tintText(*message, style::orange());
    message->setWordWrap(true);
    row->addWidget(message, 1);

    undo_ = new QPushButton(text::loc("undo_button"), this);
    undo_->setObjectName(QStringLiteral("interruptedUndoButton"));
    undo_->setFont(style::systemFont(11.5));
    undo_->setAccessibleName(text::loc("undo_button"));
    undo_->setAccessibleDescription(text::loc("interrupted_merge_warning"));
    connect(undo_, &QPushButton::clicked, this, [this] {
        if (state_.interruptedMerge()) state_.undoMerge(*state_.interruptedMerge());
    });
    row->addWidget(undo_);

    for (const auto signal : {&AppState::interruptedMergeChanged, &AppState::isMergingChanged,
                              &AppState::isUndoingChanged}) {
        connect(&state_, signal, this, &InterruptedMergeStrip::refresh);
    }
    refresh();
}

void InterruptedMergeStrip::refresh() {
    setVisible(state_.interruptedMerge().has_value());
    undo_->setEnabled(!state_.isMerging() && !state_.isUndoing());
}

}  // namespace sorrelix::ui
