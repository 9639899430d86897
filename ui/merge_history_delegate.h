#pragma once

#include <QStyledItemDelegate>

namespace sorrelix::ui {

// Paints one row of a MergeHistoryModel in two lines: the time and the folders (elided in the
// middle, so both ends of long paths stay), then the counts and the status in its tone.
class MergeHistoryDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace sorrelix::ui
