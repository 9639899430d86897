#include "diff_row_delegate.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QtMath>

#include "app_state.h"
#include "diff_list_model.h"
#include "loc.h"
#include "style.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

namespace {

constexpr int kRowInset = 6;        // the inset list's margin left and right of each row
constexpr int kRowGap = 2;          // above and below each row's highlight
constexpr int kContentPadding = 8;  // inside the row's rounded highlight
constexpr int kSpacing = 10;
constexpr int kButtonSize = 20;
constexpr int kButtonSymbol = 11;
constexpr qreal kBadgePaddingX = 5;
constexpr qreal kBadgePaddingY = 1.5;

QFont badgeFont() {
    return style::systemFont(10, QFont::DemiBold);
}
QFont pathFont() {
    return style::monospacedFont(11.5, QFont::Medium);
}
QFont sizeFont() {
    return style::systemFont(10.5);
}

QColor kindColor(engine::FileDiffKind kind) {
    switch (kind) {
        case engine::FileDiffKind::added:
            return style::green();
        case engine::FileDiffKind::updated:
            return style::orange();
        case engine::FileDiffKind::identical:
            return style::gray();
    }
    return style::gray();
}

}  // namespace

DiffRowDelegate::DiffRowDelegate(const app::AppState& state, QObject* parent)
    : QStyledItemDelegate(parent), state_(state), revealTip_(text::loc("reveal_in_finder")) {
    for (const auto kind : engine::kAllFileDiffKinds) {
        kindTitles_[std::size_t(kind)] = engine::title(kind);
        badgeColumnWidth_ =
            std::max(badgeColumnWidth_,
                     QFontMetrics(badgeFont()).horizontalAdvance(kindTitles_[std::size_t(kind)]) +
                         int(2 * kBadgePaddingX));
    }
}

QSize DiffRowDelegate::sizeHint(const QStyleOptionViewItem& /*option*/,
                                const QModelIndex& /*index*/) const {
    // The same for every row, so the list can use uniform row heights.
    const int badge = QFontMetrics(badgeFont()).height() + qCeil(2 * kBadgePaddingY);
    const int path = QFontMetrics(pathFont()).height();
    const int content = std::max({badge, path, kButtonSize}) + 2;  // padded 1 above and below
    return {200, content + 2 * kRowGap};
}

QRect DiffRowDelegate::contentRect(const QRect& rowRect) const {
    const int inset = kRowInset + kContentPadding;
    return rowRect.adjusted(inset, kRowGap + 1, -inset, -(kRowGap + 1));
}

QRect DiffRowDelegate::revealButtonRect(const QRect& rowRect) const {
    const QRect content = contentRect(rowRect);
    return {content.right() - kButtonSize + 1, content.center().y() - kButtonSize / 2 + 1,
            kButtonSize, kButtonSize};
}

void DiffRowDelegate::paintBadge(QPainter& painter, const QRect& content, int kind) const {
    const QString& text = kindTitles_[std::size_t(kind)];
    const QColor color = kindColor(engine::FileDiffKind(kind));
    const QFontMetricsF metrics(badgeFont());
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * kBadgePaddingX,
                      metrics.height() + 2 * kBadgePaddingY);
    const QRectF badge(QPointF(content.left(), content.center().y() + 0.5 - size.height() / 2),
                       size);
    style::paintRoundedPanel(painter, badge, badge.height() / 2, style::withAlpha(color, 0.15));
    painter.setFont(badgeFont());
    painter.setPen(color);
    painter.drawText(badge, Qt::AlignCenter, text);
}

void DiffRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const auto* model = qobject_cast<const DiffListModel*>(index.model());
    const engine::FileDiffItem* item = model ? model->item(index) : nullptr;
    if (!item) return;
    painter->save();
    const QPalette& palette = option.palette;
    const QRect row = option.rect.adjusted(kRowInset, kRowGap, -kRowInset, -kRowGap);
    if (option.state & QStyle::State_Selected) {
        style::paintRoundedPanel(*painter, row, 6,
                                 style::withAlpha(palette.color(QPalette::Highlight), 0.25));
    } else if (option.state & QStyle::State_MouseOver) {
        style::paintRoundedPanel(*painter, row, 6,
                                 style::withAlpha(style::primaryText(palette), 0.05));
    }

    const QRect content = contentRect(option.rect);
    paintBadge(*painter, content, int(item->kind));
    // Paths start in one column whatever the kind, so they read as a list.
    const int pathLeft = content.left() + badgeColumnWidth_ + kSpacing;

    const QRect button = revealButtonRect(option.rect);
    const QString sizeText = state_.formatBytes(item->sourceSize);
    const QFontMetrics sizeMetrics(sizeFont());
    const int sizeWidth = sizeMetrics.horizontalAdvance(sizeText);
    const QRect sizeRect(button.left() - kSpacing - sizeWidth, content.top(), sizeWidth,
                         content.height());
    painter->setFont(sizeFont());
    painter->setPen(style::secondaryText(palette));
    painter->drawText(sizeRect, Qt::AlignVCenter | Qt::AlignRight, sizeText);

    const QRect pathRect(pathLeft, content.top(), sizeRect.left() - kSpacing - pathLeft,
                         content.height());
    if (pathRect.width() > 0) {
        const QFontMetrics pathMetrics(pathFont());
        const QString path = index.data(Qt::DisplayRole).toString();
        painter->setFont(pathFont());
        painter->setPen(style::primaryText(palette));
        painter->drawText(pathRect, Qt::AlignVCenter | Qt::AlignLeft,
                          pathMetrics.elidedText(path, Qt::ElideMiddle, pathRect.width()));
    }

    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && (option.state & QStyle::State_MouseOver) &&
        button.contains(view->viewport()->mapFromGlobal(QCursor::pos()))) {
        style::paintRoundedPanel(*painter, button, 4,
                                 style::withAlpha(style::primaryText(palette), 0.08));
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QPixmap symbol = symbolPixmap(QStringLiteral("arrow.up.forward.square"), kButtonSymbol,
                                        style::secondaryText(palette), ratio);
    if (!symbol.isNull()) {
        const QRect symbolRect(button.center() - QPoint(kButtonSymbol / 2, kButtonSymbol / 2),
                               QSize(kButtonSymbol, kButtonSymbol));
        painter->drawPixmap(symbolRect, symbol);
    } else {
        painter->setFont(sizeFont());
        painter->drawText(button, Qt::AlignCenter, QStringLiteral("\u2197"));
    }
    painter->restore();
}

bool DiffRowDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (press || release) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            revealButtonRect(option.rect).contains(mouse->position().toPoint())) {
            if (release) emit revealRequested(index);
            return true;  // the button's click neither selects nor opens the row
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool DiffRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip && revealButtonRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), revealTip_, view->viewport(),
                           revealButtonRect(option.rect));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace sorrelix::ui
