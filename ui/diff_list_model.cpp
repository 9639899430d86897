#include "diff_list_model.h"

#include <QFile>
#include <numeric>

#include "path_search_index.h"

namespace sorrelix::ui {

using engine::FileDiffItem;
using engine::FileDiffKind;

DiffListModel::DiffListModel(SummarySource summary, QObject* parent)
    : QAbstractListModel(parent), summary_(std::move(summary)) {
    reload();
}

DiffListModel::~DiffListModel() = default;

const std::vector<FileDiffItem>* DiffListModel::items() const {
    const engine::MergeSummary* summary = summary_();
    return summary ? &summary->items : nullptr;
}

void DiffListModel::reload() {
    beginResetModel();
    index_.reset();
    kinds_.clear();
    if (const auto* list = items()) {
        kinds_.reserve(list->size());
        for (const FileDiffItem& entry : *list) kinds_.push_back(entry.kind);
    }
    kinds_.shrink_to_fit();
    // Built with the summary, so that no keystroke waits for it.
    if (const auto* list = items()) index_ = std::make_unique<PathSearchIndex>(*list);
    collectRows();
    endResetModel();
}

void DiffListModel::setFilterKind(std::optional<FileDiffKind> kind) {
    if (kind == filterKind_) return;
    filterKind_ = kind;
    refilter();
}

void DiffListModel::setSearchText(const QString& text) {
    if (text == searchText_) return;
    searchText_ = text;
    refilter();
}

void DiffListModel::refilter() {
    beginResetModel();
    collectRows();
    endResetModel();
}

void DiffListModel::collectRows() {
    rows_.clear();  // keeps its capacity for the next keystroke
    const auto* list = items();
    if (!list) return;
    if (searchText_.isEmpty()) {
        if (!filterKind_) {
            rows_.resize(list->size());
            std::iota(rows_.begin(), rows_.end(), 0U);
            return;
        }
        for (std::uint32_t item = 0; item < kinds_.size(); ++item) {
            if (kinds_[item] == *filterKind_) rows_.push_back(item);
        }
        return;
    }
    const std::optional<std::string> needle = PathSearchIndex::foldedNeedle(searchText_);
    if (!needle) return;
    index_->appendMatches(*needle, rows_);
    if (filterKind_) {
        std::erase_if(rows_, [this](std::uint32_t item) { return kinds_[item] != *filterKind_; });
    }
}

const FileDiffItem* DiffListModel::item(const QModelIndex& index) const {
    const auto* list = items();
    if (!list || !index.isValid() || index.row() < 0 || std::size_t(index.row()) >= rows_.size()) {
        return nullptr;
    }
    const std::uint32_t position = rows_[std::size_t(index.row())];
    return position < list->size() ? &(*list)[position] : nullptr;
}

std::vector<const FileDiffItem*> DiffListModel::filteredItems() const {
    std::vector<const FileDiffItem*> result;
    const auto* list = items();
    if (!list) return result;
    result.reserve(rows_.size());
    for (const std::uint32_t position : rows_) result.push_back(&(*list)[position]);
    return result;
}

std::size_t DiffListModel::memoryBytes() const {
    return rows_.capacity() * sizeof(std::uint32_t) + kinds_.capacity() * sizeof(FileDiffKind) +
           (index_ ? index_->memoryBytes() : 0);
}

int DiffListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant DiffListModel::data(const QModelIndex& index, int role) const {
    const FileDiffItem* entry = item(index);
    if (!entry) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return QFile::decodeName(QByteArray::fromStdString(entry->relativePath));
        case Qt::AccessibleDescriptionRole:
            return engine::title(entry->kind);
        default:
            return {};
    }
}

}  // namespace sorrelix::ui
