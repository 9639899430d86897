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

QColor accentOf(SuccessBanner::Kind kind) {
    return kind == SuccessBanner::Kind::completed ? style::green() : style::orange();
}

PanelLook bannerLook(SuccessBanner::Kind kind) {
    return {fixedColor(accentOf(kind), 0.08), fixedColor(accentOf(kind), 0.25), 0.8, false, 8};
}

}  // namespace

SuccessBanner::SuccessBanner(AppState& state, Kind kind, QWidget* parent)
    : TintedPanel(bannerLook(kind), parent), state_(state), kind_(kind) {
    setObjectName(kind == Kind::completed ? QStringLiteral("successBanner")
                                          : QStringLiteral("stoppedBanner"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(10);
    auto* symbol = new QLabel(this);
    const QString symbolName = kind == Kind::completed
                                   ? QStringLiteral("checkmark.circle.fill")
                                   : QStringLiteral("exclamationmark.triangle.fill");
    symbol->setPixmap(symbolPixmap(symbolName, 15, accentOf(kind), devicePixelRatioF()));
    row->addWidget(symbol);
    // The text takes the room the buttons leave, so the subtitle wraps only when it must.
    row->addWidget(buildTitleColumn(kind), 1);

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
                              &AppState::isUndoingChanged, &AppState::stoppedMergeChanged}) {
        connect(&state_, signal, this, &SuccessBanner::refresh);
    }
    refresh();
}

QWidget* SuccessBanner::buildTitleColumn(Kind kind) {
    auto* column = new QWidget(this);
    auto* lines = new QVBoxLayout(column);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(1);
    title_ = styledLabel(loc("success_title"), style::systemFont(12, QFont::DemiBold), column);
    title_->setObjectName(QStringLiteral("bannerTitle"));
    lines->addWidget(title_);
    const char* subtitleKey = kind == Kind::completed ? "success_subtitle" : "stopped_subtitle";
    QLabel* subtitle = styledLabel(loc(subtitleKey), style::systemFont(10.5), column);
    subtitle->setObjectName(QStringLiteral("bannerSubtitle"));
    tintText(*subtitle, style::secondaryText(subtitle->palette()));
    subtitle->setWordWrap(true);  // a narrow window wraps it rather than cutting a word
    lines->addWidget(subtitle);
    return column;
}

void SuccessBanner::refresh() {
    if (kind_ == Kind::stopped) {
        const auto stopped = state_.stoppedMerge().value_or(AppState::StoppedMerge{});
        title_->setText(loc("stopped_title", stopped.copied, stopped.total));
    }
    reveal_->setVisible(state_.targetURL().has_value());
    undo_->setVisible(state_.lastSession().has_value());
    undo_->setEnabled(!state_.isUndoing());
}

}  // namespace sorrelix::ui
