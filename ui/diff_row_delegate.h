#pragma once

#include <QRect>
#include <QString>
#include <QStyledItemDelegate>
#include <array>

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// Paints one difference row of a DiffListModel: kind badge, path elided in the middle, size
// and a reveal button, which it also answers (click and tooltip).
class DiffRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit DiffRowDelegate(const app::AppState& state, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where the reveal button sits in a row's rectangle.
    QRect revealButtonRect(const QRect& rowRect) const;

signals:
    void revealRequested(const QModelIndex& index);

private:
    QRect contentRect(const QRect& rowRect) const;
    void paintBadge(QPainter& painter, const QRect& content, int kind) const;

    const app::AppState& state_;
    // Read once: the window rebuilds its views when the language changes.
    std::array<QString, 3> kindTitles_;
    int badgeColumnWidth_ = 0;
    QString revealTip_;
};

}  // namespace sorrelix::ui
