#include "merged_places.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "relative_path.h"

namespace sorrelix::engine {

namespace {

// What the backup folder holds at a place: the occupant the merge set aside there, if any.
std::optional<Occupant> setAsideAt(int backup, const std::string& path) {
    const BeneathFolder folder(UniqueFd(::fcntl(backup, F_DUPFD_CLOEXEC, 0)), {});
    const auto split = splitParent(path);
    const UniqueFd parent = folder.openFolder(split.parent, false);
    struct stat info {};
    if (!parent ||
        ::fstatat(parent.get(), std::string(split.name).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(info.st_mode) ? Occupant::folder : Occupant::fileOrLink;
}

}  // namespace

MergedPlaces::MergedPlaces(const MergeSessionRecord& record, const BeneathFolder& target,
                           int backup) {
    if (const auto journal = readMergeJournal(target, record.id)) {
        fromJournal_ = true;
        addFromJournal(*journal, backup);
        return;
    }
    // Without a journal (merges of earlier versions), the record lists the added places.
    for (const auto& path : record.addedRelativePaths.value_or(std::vector<std::string>{})) {
        if (isSafeRelativePath(path)) add(path, Occupant::nothing, std::nullopt);
    }
}

// In the journal of a merge that did not end, a place whose copy it does not name (the item
// at hand when the merge was killed, or lines a power cut lost) may have been reached or not: the
// backup folder says what was set aside there, and an added place holds either nothing or a copy,
// which undo recognises by comparing it with the source.
void MergedPlaces::addFromJournal(const MergeJournalContents& journal, int backup) {
    for (std::size_t i = 0; i < journal.paths.size(); ++i) {
        const std::string& path = journal.paths[i];
        if (!isSafeRelativePath(path)) continue;
        if (const auto& copy = journal.copies[i]) {
            add(path, copy->occupant, copy->identity);
        } else if (journal.ending) {
            continue;  // a merge that ended logged every copy it made
        } else if (const auto occupant = setAsideAt(backup, path)) {
            add(path, *occupant, std::nullopt);
        } else if (journal.added[i]) {
            add(path, Occupant::nothing, std::nullopt);
        }
    }
}

void MergedPlaces::add(const std::string& path, Occupant occupant,
                       std::optional<FileIdentity> copy) {
    if (copy) copies_[path] = *copy;
    if (occupant == Occupant::fileOrLink || !addedSet_.insert(path).second) return;
    addedPaths_.push_back(path);
}

std::optional<FileIdentity> MergedPlaces::copyAt(const std::string& path) const {
    const auto found = copies_.find(path);
    if (found == copies_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> MergedPlaces::changedPaths() const {
    if (!fromJournal_) return addedPaths_;
    // Places the journal does not name were most likely never reached.
    std::vector<std::string> paths;
    for (const auto& [path, copy] : copies_) paths.push_back(path);
    return paths;
}

}  // namespace sorrelix::engine
