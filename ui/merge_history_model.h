#pragma once

#include <QAbstractListModel>
#include <vector>

#include "merge_history.h"

namespace sorrelix::ui {

// The stored merges for the history window, newest first, one row each: when, from where to
// where, how many files, how it ended and whether it can still be undone. The rows are
// rendered in the interface language when they are read.
class MergeHistoryModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The parts of a row, for its delegate; the display text joins them in two lines.
    enum Role {
        TimeRole = Qt::UserRole,
        FoldersRole,  // "source → target"
        CountsRole,
        StatusRole,
        ToneRole,  // a Tone
    };
    // How a row's status reads: fine, worth a look, over, or out of reach.
    enum class Tone { undoable, unfinished, undone, missing };

    using QAbstractListModel::QAbstractListModel;

    void setEntries(std::vector<app::MergeHistoryEntry> entries);
    // None outside the rows.
    const app::MergeHistoryEntry* entryAt(int row) const;
    // The row of the merge with that id, or -1.
    int rowOf(const std::string& mergeId) const;
    // Every row is rendered anew (the interface language changed).
    void retranslate();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The two lines of a row.
    static QString describe(const app::MergeHistoryEntry& entry);
    static QString timeOf(const app::MergeHistoryEntry& entry);
    static QString foldersOf(const app::MergeHistoryEntry& entry);
    static QString countsOf(const app::MergeHistoryEntry& entry);
    static QString statusOf(const app::MergeHistoryEntry& entry);
    static Tone toneOf(const app::MergeHistoryEntry& entry);

private:
    std::vector<app::MergeHistoryEntry> entries_;
};

}  // namespace sorrelix::ui
