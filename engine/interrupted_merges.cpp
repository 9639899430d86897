#include "interrupted_merges.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "beneath_folder.h"
#include "folder_listing.h"
#include "merge_journal.h"
#include "session_history.h"
#include "target_lock.h"

namespace sorrelix::engine {

namespace {

// A journal that ended says so in its last line: only the tail needs reading.
bool hasEnded(int folderFd, const std::string& name) {
    const UniqueFd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) return true;
    const off_t size = ::lseek(fd.get(), 0, SEEK_END);
    char tail[64];
    const off_t start = std::max<off_t>(0, size - static_cast<off_t>(sizeof tail));
    const ssize_t n = ::pread(fd.get(), tail, sizeof tail, start);
    if (n <= 0) return false;
    const std::string_view text(tail, static_cast<std::size_t>(n));
    const auto lastLine = text.substr(0, text.size() - 1).rfind('\n');
    return text.back() == '\n' && lastLine != std::string_view::npos &&
           text.substr(lastLine + 1).starts_with("E ");
}

}  // namespace

std::vector<MergeSessionRecord> findInterruptedMerges(const std::string& targetPath) {
    std::vector<MergeSessionRecord> found;
    UniqueFd probe(::open(targetPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!probe || TargetLock::isTargetBusy(targetPath)) return found;
    const BeneathFolder target(std::move(probe), targetPath);
    const UniqueFd journals = target.openFolder(MergeJournal::kFolder, false);
    if (!journals) return found;
    const auto history = SessionHistory::load();
    for (const auto& [entry, isFolder] : listFolder(journals.get())) {
        if (isFolder) continue;
        const std::string& name = entry;  // a structured binding cannot be captured
        const auto stored = std::find_if(history.begin(), history.end(), [&](const auto& record) {
            return record.id == name && record.targetPath == targetPath;
        });
        // The history says how a merge ended; the journal's last line speaks only where the
        // history has lost the record.
        const bool interrupted = stored != history.end()
                                     ? stored->outcome == MergeOutcome::interrupted
                                     : !hasEnded(journals.get(), name);
        if (!interrupted) continue;
        if (stored != history.end()) {
            found.push_back(*stored);
        } else if (auto journal = readMergeJournal(target, name)) {
            found.push_back(journal->record);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.timestamp > b.timestamp; });
    return found;
}

}  // namespace sorrelix::engine
