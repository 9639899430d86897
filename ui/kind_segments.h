#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "file_diff_kind.h"

class QAbstractButton;
class QButtonGroup;

namespace sorrelix::ui {

class SegmentButton;

// The segmented control of the difference list: "all" and one segment per kind, each with its
// count. One segment is always selected; clicking one selects it and announces the change.
class KindSegments : public QWidget {
    Q_OBJECT

public:
    explicit KindSegments(QWidget* parent = nullptr);

    // Counts of all items, then of each kind in declaration order.
    void setCounts(const std::array<std::int64_t, 4>& counts);
    std::optional<engine::FileDiffKind> selection() const;
    // Selects without announcing: the caller already knows.
    void setSelection(std::optional<engine::FileDiffKind> kind);
    QAbstractButton* segment(std::optional<engine::FileDiffKind> kind) const;

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup* group_;
    std::array<SegmentButton*, 4> segments_{};
};

}  // namespace sorrelix::ui
