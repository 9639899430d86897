#include "copy_preparer.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "file_copier.h"
#include "folder_cache.h"
#include "relative_path.h"

namespace sorrelix::engine {

namespace {

// The folder to make an item's unnamed copy in: its own folder in the target where that
// exists (so the copy starts with the folder's inherited defaults, as one made in place
// would), or else the nearest folder above it, which is where its folders will be made.
class ScratchFolders {
public:
    explicit ScratchFolders(const BeneathFolder& target) : target_(target) {}

    // An O_PATH folder descriptor, or -1 when the path cannot be used ahead of time (a link
    // that leads out, a file in the way): the merge reports that in the item's turn.
    int folderFor(std::string_view parent) {
        if (fd_ && parent == parent_) return fd_.get();
        parent_ = parent;
        for (std::string_view folder = parent;; folder = splitParent(folder).parent) {
            fd_ = target_.openFolder(folder);
            if (fd_ || errno != ENOENT || folder.empty()) break;
        }
        return fd_.get();
    }

private:
    const BeneathFolder& target_;
    std::string parent_;
    UniqueFd fd_;
};

}  // namespace

CopyPreparer::CopyPreparer(const BeneathFolder& source, const BeneathFolder& target,
                           const std::vector<const FileDiffItem*>& work)
    : source_(source), target_(target), work_(work) {
    try {
        thread_ = std::thread([this] { prepareAll(); });
    } catch (const std::system_error&) {
        // No thread to be had (a process limit): every item is copied in its turn.
    }
}

CopyPreparer::~CopyPreparer() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

PreparedCopy CopyPreparer::take(std::size_t index) {
    if (!thread_.joinable()) return {};
    std::unique_lock lock(mutex_);
    if (index != taken_) throw std::logic_error("prepared copies are taken in order");
    changed_.wait(lock, [this] { return !ready_.empty() || failure_; });
    if (ready_.empty()) std::rethrow_exception(failure_);
    PreparedCopy prepared = std::move(ready_.front());
    ready_.pop_front();
    ++taken_;
    bytesAhead_ -= prepared.bytesWritten;
    lock.unlock();
    changed_.notify_all();
    return prepared;
}

// A file larger than the window waits until everything before it is taken, so a stop never
// waits for a long copy far ahead of the item at hand.
bool CopyPreparer::waitForRoom(std::int64_t itemSize) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return stopping_ || ready_.empty() ||
               (ready_.size() < kWindowItems && bytesAhead_ + itemSize <= kWindowBytes);
    });
    return !stopping_;
}

void CopyPreparer::prepareAll() {
    try {
        FileCopier copier;
        FolderCache sourceFolders(source_);
        ScratchFolders scratchFolders(target_);
        for (const FileDiffItem* item : work_) {
            if (!waitForRoom(item->sourceSize)) return;
            PreparedCopy prepared;
            if (isSafeRelativePath(item->relativePath)) {
                const auto split = splitParent(item->relativePath);
                const int sourceDir = sourceFolders.folder(split.parent, false);
                const int scratchDir = scratchFolders.folderFor(split.parent);
                if (sourceDir >= 0 && scratchDir >= 0) {
                    prepared = copier.prepare(sourceDir, std::string(split.name), scratchDir);
                }
            }
            {
                const std::lock_guard lock(mutex_);
                bytesAhead_ += prepared.bytesWritten;
                ready_.push_back(std::move(prepared));
            }
            changed_.notify_all();
        }
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        changed_.notify_all();
    }
}

}  // namespace sorrelix::engine
