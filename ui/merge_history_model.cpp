#include "merge_history_model.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <algorithm>

#include "language_manager.h"
#include "loc.h"

namespace sorrelix::ui {

using app::MergeHistoryEntry;
using text::loc;

namespace {

const QString kSeparator = QStringLiteral(" · ");

QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

const char* outcomeKey(engine::MergeOutcome outcome) {
    switch (outcome) {
        case engine::MergeOutcome::completed:
            return "history_outcome_completed";
        case engine::MergeOutcome::stopped:
            return "history_outcome_stopped";
        case engine::MergeOutcome::failed:
            return "history_outcome_failed";
        case engine::MergeOutcome::interrupted:
            break;
    }
    return "history_outcome_interrupted";
}

}  // namespace

void MergeHistoryModel::setEntries(std::vector<MergeHistoryEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

const MergeHistoryEntry* MergeHistoryModel::entryAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return &entries_[static_cast<std::size_t>(row)];
}

int MergeHistoryModel::rowOf(const std::string& mergeId) const {
    for (std::size_t row = 0; row < entries_.size(); ++row) {
        if (entries_[row].record.id == mergeId) return static_cast<int>(row);
    }
    return -1;
}

void MergeHistoryModel::retranslate() {
    if (!entries_.empty()) emit dataChanged(index(0), index(rowCount() - 1));
}

int MergeHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant MergeHistoryModel::data(const QModelIndex& index, int role) const {
    const MergeHistoryEntry* entry = entryAt(index.row());
    if (!entry || index.column() != 0) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return describe(*entry);
        case Qt::ToolTipRole:
            return displayPath(entry->record.sourcePath) + QStringLiteral("\n→ ") +
                   displayPath(entry->record.targetPath);
        case TimeRole:
            return timeOf(*entry);
        case FoldersRole:
            return foldersOf(*entry);
        case CountsRole:
            return countsOf(*entry);
        case StatusRole:
            return statusOf(*entry);
        case ToneRole:
            return static_cast<int>(toneOf(*entry));
        default:
            return {};
    }
}

QString MergeHistoryModel::describe(const MergeHistoryEntry& entry) {
    return timeOf(entry) + kSeparator + foldersOf(entry) + QLatin1Char('\n') + countsOf(entry) +
           kSeparator + statusOf(entry);
}

QString MergeHistoryModel::timeOf(const MergeHistoryEntry& entry) {
    const QLocale locale(text::LanguageManager::shared().currentTableCode());
    // Stored dates may lie far beyond what milliseconds hold; a quarter million years will do.
    constexpr std::int64_t kLimit = 8'000'000'000'000;
    const engine::Date& date = entry.record.timestamp;
    const std::int64_t seconds = std::clamp(date.seconds, -kLimit, kLimit);
    const QDateTime time =
        QDateTime::fromMSecsSinceEpoch(seconds * 1000 + date.nanoseconds / 1'000'000);
    return locale.toString(time.toLocalTime(), QLocale::ShortFormat);
}

QString MergeHistoryModel::foldersOf(const MergeHistoryEntry& entry) {
    return displayPath(entry.record.sourcePath) + QStringLiteral(" → ") +
           displayPath(entry.record.targetPath);
}

QString MergeHistoryModel::countsOf(const MergeHistoryEntry& entry) {
    return loc("diff_added", entry.record.addedCount) + kSeparator +
           loc("diff_updated", entry.record.updatedCount);
}

// Undo removes the backup folder, so a merge whose target is there without it was undone.
QString MergeHistoryModel::statusOf(const MergeHistoryEntry& entry) {
    const QString outcome = loc(outcomeKey(entry.record.outcome));
    switch (entry.backup) {
        case MergeHistoryEntry::Backup::present:
            return outcome + kSeparator + loc("history_can_undo");
        case MergeHistoryEntry::Backup::gone:
            return loc("history_outcome_undone");
        case MergeHistoryEntry::Backup::targetMissing:
            break;
    }
    return outcome + kSeparator + loc("history_target_missing");
}

MergeHistoryModel::Tone MergeHistoryModel::toneOf(const MergeHistoryEntry& entry) {
    switch (entry.backup) {
        case MergeHistoryEntry::Backup::present:
            return entry.record.outcome == engine::MergeOutcome::completed ? Tone::undoable
                                                                           : Tone::unfinished;
        case MergeHistoryEntry::Backup::gone:
            return Tone::undone;
        case MergeHistoryEntry::Backup::targetMissing:
            break;
    }
    return Tone::missing;
}

}  // namespace sorrelix::ui
