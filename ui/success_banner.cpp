#include "success_banner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_state.h"
#include "loc.h"
#include "style.h"
#include "styled_label.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

using app::AppState;
using text::loc;

namespace {

PanelLook bannerLook() {
    return {fixedColor(style::green(), 0.08), fixedColor(style::green(), 0.25), 0.8, false, 8};
}

QWidget* titleColumn(QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* lines = new QVBoxLayout(column);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(1);
    lines->addWidget(
        styledLabel(loc("success_title"), style::systemFont(12, QFont::DemiBold), column));
    QLabel* subtitle = styledLabel(loc("success_subtitle"), style::systemFont(10.5), column);
    tintText(*subtitle, style::secondaryText(subtitle->palette()));
    subtitle->setWordWrap(true);  // a narrow window wraps it rather than cutting a word
    lines->addWidget(subtitle);
    return column;
}

}  // namespace

SuccessBanner::SuccessBanner(AppState& state, QWidget* parent)
    : TintedPanel(bannerLook(), parent), state_(state) {
    setObjectName(QStringLiteral("successBanner"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(10);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap(QStringLiteral("checkmark.circle.fill"), 15, style::green(),
                                   devicePixelRatioF()));
    row->addWidget(symbol);
    row->addWidget(titleColumn(this));
    row->addStretch(1);

    reveal_ = new QPushButton(loc("reveal_in_finder"), this);
    reveal_->setFont(style::systemFont(11.5));
    connect(reveal_, &QPushButton::clicked, this, [this] {
        if (state_.targetURL()) state_.openInFinder(*state_.targetURL());
    });
    row->addWidget(reveal_);

    undo_ = new QPushButton(loc("undo_button"), this);
    undo_->setFont(style::systemFont(11.5));
    tintText(*undo_, style::red());
    connect(undo_, &QPushButton::clicked, this, [this] { state_.undoLastMerge(); });
    row->addWidget(undo_);

    for (const auto signal : {&AppState::targetURLChanged, &AppState::lastSessionChanged,
                              &AppState::isUndoingChanged}) {
        connect(&state_, signal, this, &SuccessBanner::refresh);
    }
    refresh();
}

void SuccessBanner::refresh() {
    reveal_->setVisible(state_.targetURL().has_value());
    undo_->setVisible(state_.lastSession().has_value());
    undo_->setEnabled(!state_.isUndoing());
}

}  // namespace sorrelix::ui
