#include "folder_analysis.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "apfs_engine.h"
#include "deep_open.h"
#include "entry_comparison.h"
#include "loc.h"
#include "relative_path.h"

namespace sorrelix::engine {

namespace {

// The items of one folder in walk order, and where among them each subfolder's items go.
// Kept apart, the items need no room for a placeholder each.
struct WalkNode {
    struct Subfolder {
        std::size_t position;  // the number of the folder's items listed before it
        std::size_t node;
    };
    std::vector<FileDiffItem> items;
    std::vector<Subfolder> subfolders;
};

struct FolderTask {
    std::string relativePath;
    std::size_t node;
};

int openSourceFolder(int dirFd, const std::string& path) {
    return ::openat(dirFd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

// The target is never listed, only looked up by the source's names: O_PATH needs no read
// permission, so a folder that may be entered but not listed is still compared.
int openTargetFolder(int dirFd, const std::string& path) {
    return ::openat(dirFd, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Looking up "." needs search permission on the folder itself, as every name in it does.
bool canSearch(int folderFd) {
    struct stat st {};
    return ::fstatat(folderFd, ".", &st, 0) == 0;
}

// Shared state of one analysis: the folder nodes and the queue of folders still to read.
class ParallelWalk {
public:
    ParallelWalk(int sourceRoot, int targetRoot, AnalysisProgress& progress,
                 const ExcludeRules& rules)
        : sourceRoot_(sourceRoot), targetRoot_(targetRoot), progress_(progress), rules_(rules) {
        nodes_.emplace_back();
        queue_.push_back({std::string(), 0});
    }

    void run(unsigned workerCount) {
        std::vector<std::jthread> workers;
        for (unsigned i = 0; i < workerCount; ++i) workers.emplace_back([this] { work(); });
    }

    MergeSummary flatten();

private:
    void work();
    void readFolder(const FolderTask& task, EntryComparison& comparison);
    void addFile(WalkNode& node, const std::string& folder, const char* name, int sourceDir,
                 int targetDir, EntryComparison& comparison);
    std::size_t addSubfolder(std::string relativePath);

    int sourceRoot_;
    int targetRoot_;
    AnalysisProgress& progress_;
    const ExcludeRules& rules_;
    std::atomic<std::int64_t> excluded_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<WalkNode> nodes_;  // a deque keeps references stable while it grows
    std::vector<FolderTask> queue_;
    unsigned busy_ = 0;
};

void ParallelWalk::work() {
    EntryComparison comparison(&progress_);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !queue_.empty() || busy_ == 0; });
        if (progress_.isCancelled()) {
            // The folders still queued are never read; the others wake to find none left.
            queue_.clear();
            wake_.notify_all();
        }
        if (queue_.empty()) return;
        FolderTask task = std::move(queue_.back());
        queue_.pop_back();
        ++busy_;
        lock.unlock();
        readFolder(task, comparison);
        lock.lock();
        --busy_;
        if (busy_ == 0 && queue_.empty()) wake_.notify_all();
    }
}

std::size_t ParallelWalk::addSubfolder(std::string relativePath) {
    std::lock_guard lock(mutex_);
    nodes_.emplace_back();
    const std::size_t index = nodes_.size() - 1;
    queue_.push_back({std::move(relativePath), index});
    wake_.notify_one();
    return index;
}

void ParallelWalk::readFolder(const FolderTask& task, EntryComparison& comparison) {
    UniqueFd source = openDeep(sourceRoot_, task.relativePath, openSourceFolder);
    if (!source) return;  // an unreadable subfolder is left out silently
    // A target folder that is missing or cannot be entered holds nothing the walk can see.
    UniqueFd target = openDeep(targetRoot_, task.relativePath, openTargetFolder);
    DIR* listing = ::fdopendir(source.get());
    if (listing == nullptr) return;
    const int sourceFd = source.get();
    (void)source.release();
    WalkNode* node;
    {
        std::lock_guard lock(mutex_);
        node = &nodes_[task.node];
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (progress_.isCancelled()) break;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(sourceFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR) {
            // Everything below a ".sorrelix" folder is the engine's own backup area.
            if (std::string_view(name) == ".sorrelix") continue;
            std::string relativePath = joinPath(task.relativePath, name);
            if (rules_.excludes(relativePath, name, true)) {  // never entered
                excluded_.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            node->subfolders.push_back({node->items.size(), addSubfolder(std::move(relativePath))});
            continue;
        }
        addFile(*node, task.relativePath, name, sourceFd, target.get(), comparison);
    }
    ::closedir(listing);
    // The walk holds every folder's items until the end; grown room would stay unused.
    node->items.shrink_to_fit();
}

void ParallelWalk::addFile(WalkNode& node, const std::string& folder, const char* name,
                           int sourceDir, int targetDir, EntryComparison& comparison) {
    std::string relativePath = joinPath(folder, name);
    if (APFSEngine::isJunkFile(relativePath, name)) return;
    if (rules_.excludes(relativePath, name, false)) {
        excluded_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    struct stat sourceStat {};
    if (::fstatat(sourceDir, name, &sourceStat, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (S_ISDIR(sourceStat.st_mode)) return;
    FileDiffItem item{std::move(relativePath),
                      FileDiffKind::added,
                      sourceStat.st_size,
                      0,
                      Date::fromTimespec(sourceStat.st_mtim),
                      std::nullopt};
    // Below the searchable root, a target place that cannot be examined answers as an
    // existence test would: not found. The file is added, and the merge meets the obstacle
    // there instead of the file passing unseen or as identical.
    struct stat targetStat {};
    const bool targetExists =
        targetDir >= 0 && ::fstatat(targetDir, name, &targetStat,
                                    S_ISLNK(sourceStat.st_mode) ? AT_SYMLINK_NOFOLLOW : 0) == 0;
    if (!targetExists) {
        node.items.push_back(std::move(item));
        progress_.filesCompared.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    item.targetSize = targetStat.st_size;
    item.targetDate = Date::fromTimespec(targetStat.st_mtim);
    const bool metadataAgrees =
        item.sourceSize == item.targetSize &&
        item.sourceDate.secondsApartFrom(*item.targetDate) < FolderAnalysis::kTimeToleranceSeconds;
    bool same = metadataAgrees;
    if (metadataAgrees && item.sourceSize < FolderAnalysis::kContentCheckLimit) {
        same = comparison.sameContent(sourceDir, name, sourceStat, targetDir, name, targetStat);
    }
    item.kind = same ? FileDiffKind::identical : FileDiffKind::updated;
    node.items.push_back(std::move(item));
    progress_.filesCompared.fetch_add(1, std::memory_order_relaxed);
}

MergeSummary ParallelWalk::flatten() {
    MergeSummary summary;
    // Exactly the room needed: a grown vector may hold half as much again unused.
    std::size_t itemCount = 0;
    for (const WalkNode& node : nodes_) itemCount += node.items.size();
    summary.items.reserve(itemCount);
    struct Frame {
        std::size_t node;
        std::size_t nextItem = 0;
        std::size_t nextSubfolder = 0;
    };
    std::vector<Frame> stack{{0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        WalkNode& node = nodes_[frame.node];
        if (frame.nextSubfolder < node.subfolders.size() &&
            node.subfolders[frame.nextSubfolder].position == frame.nextItem) {
            stack.push_back({node.subfolders[frame.nextSubfolder++].node});
        } else if (frame.nextItem < node.items.size()) {
            summary.add(std::move(node.items[frame.nextItem++]));
        } else {
            node = {};
            stack.pop_back();
        }
    }
    summary.excludedCount = excluded_.load();
    return summary;
}

unsigned workerCount() {
    // Twice the cores: a worker waiting for a cold file's pages leaves its core to another.
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(2 * cores, 4U, 8U);
}

}  // namespace

FolderAnalysis::FolderAnalysis(std::string sourcePath, std::string targetPath,
                               AnalysisProgress* progress, const ExcludeRules* rules)
    : sourcePath_(std::move(sourcePath)),
      targetPath_(std::move(targetPath)),
      progress_(progress),
      rules_(rules) {}

MergeSummary FolderAnalysis::run() const {
    auto failure = [] { return MergeSummary::failure(text::loc("alert_folder_inaccessible")); };
    // O_DIRECTORY refuses anything but a folder, and O_RDONLY a source that cannot be listed.
    UniqueFd sourceRoot(::open(sourcePath_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    UniqueFd targetRoot(::open(targetPath_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!sourceRoot || !targetRoot) return failure();
    // A root whose names cannot be looked up would pass for an empty or identical tree.
    if (!canSearch(sourceRoot.get()) || !canSearch(targetRoot.get())) return failure();

    AnalysisProgress unwatched;
    AnalysisProgress& progress = progress_ ? *progress_ : unwatched;
    const ExcludeRules none;
    ParallelWalk walk(sourceRoot.get(), targetRoot.get(), progress, rules_ ? *rules_ : none);
    walk.run(workerCount());
    if (progress.isCancelled()) return MergeSummary::failure(text::loc("alert_cancel_analysis"));
    return walk.flatten();
}

}  // namespace sorrelix::engine
