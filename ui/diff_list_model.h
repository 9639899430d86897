#pragma once

#include <QAbstractListModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "file_diff_item.h"
#include "file_diff_kind.h"
#include "merge_summary.h"

namespace sorrelix::ui {

class PathSearchIndex;

// The items of the current summary that pass the kind filter and the search text, one row
// each, in the summary's order. It never copies the items: it reads them through `summary`
// and keeps only their positions, so it must hear of every new summary (`reload`) before the
// old one's items go away. The search index is built on the first search of a summary.
class DiffListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using SummarySource = std::function<const engine::MergeSummary*()>;

    explicit DiffListModel(SummarySource summary, QObject* parent = nullptr);
    ~DiffListModel() override;

    // The summary was replaced (or dropped): the filter and the search text stay.
    void reload();

    std::optional<engine::FileDiffKind> filterKind() const { return filterKind_; }
    void setFilterKind(std::optional<engine::FileDiffKind> kind);
    const QString& searchText() const { return searchText_; }
    void setSearchText(const QString& text);

    const engine::FileDiffItem* item(const QModelIndex& index) const;
    std::vector<const engine::FileDiffItem*> filteredItems() const;

    // Bytes held besides the summary: row list, kinds and search index.
    std::size_t memoryBytes() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const std::vector<engine::FileDiffItem>* items() const;
    void refilter();
    void collectRows();

    SummarySource summary_;
    std::optional<engine::FileDiffKind> filterKind_;
    QString searchText_;
    // Item positions fit 32 bits: four billion items would not fit in memory anyway.
    std::vector<std::uint32_t> rows_;
    std::vector<engine::FileDiffKind> kinds_;  // compact copy, for quick kind switches
    std::unique_ptr<PathSearchIndex> index_;
};

}  // namespace sorrelix::ui
