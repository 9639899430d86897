#include "swap_button.h"

#include <QPainter>

#include "app_state.h"
#include "loc.h"
#include "style.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

using app::AppState;

namespace {
constexpr int kDiameter = 26;
constexpr int kSymbolSize = 12;
// Room for the faint shadow below the circle.
constexpr int kSide = kDiameter + 4;
}  // namespace

SwapButton::SwapButton(AppState& state, QWidget* parent) : QAbstractButton(parent), state_(state) {
    setFixedSize(kSide, kSide);
    setCursor(Qt::PointingHandCursor);
    setToolTip(text::loc("swap_tooltip"));
    setAccessibleName(text::loc("swap_tooltip"));
    connect(this, &QAbstractButton::clicked, this, [this] { state_.swapFolders(); });
    // Readiness depends on the folders and on the two activity flags.
    for (const auto signal : {&AppState::sourceURLChanged, &AppState::targetURLChanged,
                              &AppState::isAnalyzingChanged, &AppState::isMergingChanged}) {
        connect(&state_, signal, this, &SwapButton::refresh);
    }
    refresh();
}

QSize SwapButton::sizeHint() const {
    return {kSide, kSide};
}

QColor SwapButton::symbolColor() const {
    if (state_.isReadyToAnalyze()) return style::primaryText(palette());
    return style::withAlpha(style::secondaryText(palette()), 0.35);
}

void SwapButton::refresh() {
    setEnabled(!state_.isAnalyzing() && !state_.isMerging());
    update();
}

void SwapButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(2, 1, kDiameter, kDiameter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 8));
    painter.drawEllipse(circle.translated(0, 1));
    QColor fill = style::controlBackground(palette());
    if (isDown()) fill = fill.darker(110);
    painter.setBrush(fill);
    painter.setPen(QPen(style::withAlpha(style::separator(palette()), 0.6), 0.8));
    painter.drawEllipse(circle.adjusted(0.4, 0.4, -0.4, -0.4));
    const QPixmap symbol = symbolPixmap(QStringLiteral("arrow.left.arrow.right"), kSymbolSize,
                                        symbolColor(), devicePixelRatioF());
    if (symbol.isNull()) return;
    const QPointF corner = circle.center() - QPointF(kSymbolSize / 2.0, kSymbolSize / 2.0);
    painter.drawPixmap(corner, symbol);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(-1, -1, 1, 1));
    }
}

}  // namespace sorrelix::ui
