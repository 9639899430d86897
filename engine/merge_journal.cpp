#include "merge_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "engine_error.h"
#include "json_string_codec.h"
#include "record_json.h"
#include "relative_path.h"
#include "whole_file_io.h"

namespace sorrelix::engine {

namespace {

constexpr std::string_view kMagic = "sorrelix-merge-journal 1";
constexpr qsizetype kBatchBytes = 16384;

[[noreturn]] void failJournal(int errorNumber) {
    throw EngineError::posix(errorNumber, QStringLiteral("Could not write the merge journal in %1")
                                              .arg(displayPath(MergeJournal::kFolder)));
}

QByteArray headOf(const MergeSessionRecord& record, const std::vector<const FileDiffItem*>& work) {
    QByteArray head(kMagic.data(), static_cast<qsizetype>(kMagic.size()));
    head.append('\n').append(encodeJson(record)).append('\n').append('[');
    QByteArray kinds;
    kinds.reserve(static_cast<qsizetype>(work.size()));
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (i > 0) head.append(',');
        appendJsonString(head, work[i]->relativePath);
        kinds.append(work[i]->kind == FileDiffKind::added ? 'a' : 'u');
    }
    return head.append("]\n").append(kinds).append('\n');
}

std::optional<std::vector<std::string>> pathsFrom(const QByteArray& line) {
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isArray()) return std::nullopt;
    std::vector<std::string> paths;
    for (const auto& value : document.array()) {
        auto bytes = value.isString() ? bytesFromJsonString(value.toString()) : std::nullopt;
        if (!bytes) return std::nullopt;
        paths.push_back(std::move(*bytes));
    }
    return paths;
}

// "D <index> <occupant> <inode> <size> <seconds> <nanoseconds>" or "E <outcome>"; a line
// cut short by a kill is passed over.
void readLogLine(const QByteArray& line, MergeJournalContents& journal) {
    if (line.startsWith("E ")) {
        journal.ending = mergeOutcomeFromRawValue(line.mid(2).toStdString());
        return;
    }
    std::size_t index = 0;
    char occupant = 0;
    FileIdentity identity;
    const int fields =
        std::sscanf(line.constData(), "D %zu %c %" SCNu64 " %" SCNd64 " %" SCNd64 " %" SCNd64,
                    &index, &occupant, &identity.inode, &identity.size, &identity.mtimeSeconds,
                    &identity.mtimeNanoseconds);
    if (fields != 6 || index >= journal.copies.size()) return;
    if (occupant != 'n' && occupant != 'd' && occupant != 'f') return;
    journal.copies[index] = MergeJournalContents::Copy{static_cast<Occupant>(occupant), identity};
}

std::optional<MergeJournalContents> parse(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    // Only whole lines count: the last piece has no newline after it.
    if (!lines.isEmpty()) lines.removeLast();
    if (lines.size() < 4 || lines[0] != QByteArray(kMagic.data())) return std::nullopt;
    MergeJournalContents journal;
    try {
        journal.record = decodeMergeSessionRecord(lines[1]);
    } catch (const JsonDecodeError&) {
        return std::nullopt;
    }
    auto paths = pathsFrom(lines[2]);
    if (!paths || static_cast<std::size_t>(lines[3].size()) != paths->size()) return std::nullopt;
    journal.paths = std::move(*paths);
    for (const char kind : lines[3]) journal.added.push_back(kind == 'a');
    journal.copies.resize(journal.paths.size());
    for (qsizetype i = 4; i < lines.size(); ++i) readLogLine(lines[i], journal);
    return journal;
}

}  // namespace

MergeJournal::MergeJournal(const BeneathFolder& target, const MergeSessionRecord& record,
                           const std::vector<const FileDiffItem*>& work) {
    UniqueFd folder = target.makeFolders(kFolder);
    if (!folder) failJournal(errno);
    fd_.reset(::openat(folder.get(), record.id.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd_) failJournal(errno);
    // The head must be on disk before the first change it describes, and so must its name.
    if (!writeAll(fd_.get(), headOf(record, work)) || ::fdatasync(fd_.get()) != 0) {
        const int error = errno;
        (void)::unlinkat(folder.get(), record.id.c_str(), 0);
        failJournal(error);
    }
    UniqueFd listing(::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing) (void)::fsync(listing.get());
}

MergeJournal::~MergeJournal() {
    flush();
}

void MergeJournal::recordCopy(std::size_t index, Occupant occupant, const FileIdentity& identity) {
    char line[160];
    const int length = std::snprintf(
        line, sizeof line, "D %zu %c %" PRIu64 " %" PRId64 " %" PRId64 " %" PRId64 "\n", index,
        static_cast<char>(occupant), identity.inode, identity.size, identity.mtimeSeconds,
        identity.mtimeNanoseconds);
    pending_.append(line, length);
    if (pending_.size() >= kBatchBytes) flush();
}

// Not flushed to disk: a flush here would force out the whole merge's metadata at once, and
// the history's record, written next, is what says how the merge ended.
void MergeJournal::finish(MergeOutcome outcome) {
    pending_.append("E ").append(rawValue(outcome).data()).append('\n');
    flush();
}

void MergeJournal::flush() {
    if (pending_.isEmpty() || !fd_) return;
    // A lost line costs undo a comparison with the source, never a wrong deletion.
    (void)writeAll(fd_.get(), pending_);
    pending_.clear();
}

std::optional<MergeJournalContents> readMergeJournal(const BeneathFolder& target,
                                                     const std::string& mergeId) {
    UniqueFd folder = target.openFolder(MergeJournal::kFolder);
    if (!folder || !isSafeRelativePath(mergeId) || mergeId.find('/') != std::string::npos) {
        return std::nullopt;
    }
    UniqueFd fd(::openat(folder.get(), mergeId.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) return std::nullopt;
    auto journal = parse(readAll(fd.get()));
    if (journal && journal->record.id != mergeId) return std::nullopt;
    return journal;
}

void removeMergeJournal(const BeneathFolder& target, const std::string& mergeId) {
    UniqueFd folder = target.openFolder(MergeJournal::kFolder);
    if (folder && mergeId.find('/') == std::string::npos) {
        (void)::unlinkat(folder.get(), mergeId.c_str(), 0);
    }
}

}  // namespace sorrelix::engine
