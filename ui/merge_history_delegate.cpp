#include "merge_history_delegate.h"

#include <QPainter>

#include "merge_history_model.h"
#include "style.h"

namespace sorrelix::ui {

namespace {

constexpr int kRowInset = 4;
constexpr int kPaddingX = 10;
constexpr int kPaddingY = 7;
constexpr int kLineGap = 3;
constexpr int kSpacing = 10;

QFont titleFont() {
    return style::systemFont(12, QFont::Medium);
}

QFont detailFont() {
    return style::systemFont(11);
}

QColor toneColor(MergeHistoryModel::Tone tone, const QPalette& palette) {
    switch (tone) {
        case MergeHistoryModel::Tone::undoable:
            return style::green();
        case MergeHistoryModel::Tone::unfinished:
            return style::orange();
        case MergeHistoryModel::Tone::undone:
            break;
        case MergeHistoryModel::Tone::missing:
            return style::red();
    }
    return style::secondaryText(palette);
}

// Draws `text` from the left of `rect`, elided to what is left of it; returns the width used.
int drawElided(QPainter& painter, const QRect& rect, const QString& text, Qt::TextElideMode mode) {
    const QFontMetrics metrics(painter.font());
    const QString shown = metrics.elidedText(text, mode, rect.width());
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, shown);
    return metrics.horizontalAdvance(shown);
}

}  // namespace

void MergeHistoryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    painter->save();
    const QPalette& palette = option.palette;
    const QRect row = option.rect.adjusted(kRowInset, 2, -kRowInset, -2);
    if (option.state & QStyle::State_Selected) {
        style::paintRoundedPanel(*painter, row, 6,
                                 style::withAlpha(palette.color(QPalette::Highlight), 0.22));
    }
    const QRect content = row.adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    const int titleHeight = QFontMetrics(titleFont()).height();
    const QRect titleLine(content.left(), content.top(), content.width(), titleHeight);
    const QRect detailLine(content.left(), titleLine.bottom() + 1 + kLineGap, content.width(),
                           QFontMetrics(detailFont()).height());

    painter->setFont(detailFont());
    painter->setPen(style::secondaryText(palette));
    const int timeWidth = drawElided(
        *painter, titleLine, index.data(MergeHistoryModel::TimeRole).toString(), Qt::ElideRight);
    painter->setFont(titleFont());
    painter->setPen(style::primaryText(palette));
    drawElided(*painter, titleLine.adjusted(timeWidth + kSpacing, 0, 0, 0),
               index.data(MergeHistoryModel::FoldersRole).toString(), Qt::ElideMiddle);

    painter->setFont(detailFont());
    painter->setPen(style::secondaryText(palette));
    const QString counts =
        index.data(MergeHistoryModel::CountsRole).toString() + QStringLiteral(" · ");
    const int countsWidth = drawElided(*painter, detailLine, counts, Qt::ElideRight);
    painter->setFont(style::systemFont(11, QFont::DemiBold));
    const auto tone =
        static_cast<MergeHistoryModel::Tone>(index.data(MergeHistoryModel::ToneRole).toInt());
    painter->setPen(toneColor(tone, palette));
    drawElided(*painter, detailLine.adjusted(countsWidth, 0, 0, 0),
               index.data(MergeHistoryModel::StatusRole).toString(), Qt::ElideRight);
    painter->restore();
}

QSize MergeHistoryDelegate::sizeHint(const QStyleOptionViewItem& /*option*/,
                                     const QModelIndex& /*index*/) const {
    const int height = QFontMetrics(titleFont()).height() + kLineGap +
                       QFontMetrics(detailFont()).height() + 2 * kPaddingY + 4;
    // The width follows the view: rows elide instead of scrolling sideways.
    return {1, height};
}

}  // namespace sorrelix::ui
