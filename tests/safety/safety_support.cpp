#include "safety_support.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "engine_error.h"
#include "unique_fd.h"

namespace sorrelix::testing {

namespace {
constexpr const char* kSmallDiskSize = "4m";
}

std::string outcomeOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const engine::EngineError& error) {
        return error.domain().toStdString() + "|" + std::to_string(error.code()) + "|" +
               error.description().toStdString();
    }
    return "ok";
}

engine::MergeSummary withItemsFirst(engine::MergeSummary summary,
                                    const std::vector<std::string>& first) {
    std::vector<engine::FileDiffItem> ordered;
    for (const auto& path : first) {
        for (const auto& item : summary.items) {
            if (item.relativePath == path) ordered.push_back(item);
        }
    }
    if (ordered.size() != first.size()) throw std::runtime_error("an item is not in the summary");
    for (const auto& item : summary.items) {
        if (std::find(first.begin(), first.end(), item.relativePath) == first.end()) {
            ordered.push_back(item);
        }
    }
    summary.items = std::move(ordered);
    return summary;
}

void writeDeep(const std::string& root, const std::string& relative, const std::string& content) {
    engine::UniqueFd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::size_t start = 0;
    for (auto slash = relative.find('/'); dir && slash != std::string::npos;
         slash = relative.find('/', start)) {
        const std::string name = relative.substr(start, slash - start);
        ::mkdirat(dir.get(), name.c_str(), 0755);
        dir = engine::UniqueFd(::openat(dir.get(), name.c_str(), O_RDONLY | O_DIRECTORY));
        start = slash + 1;
    }
    const std::string name = relative.substr(start);
    engine::UniqueFd file(
        dir ? ::openat(dir.get(), name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1);
    if (!file || ::write(file.get(), content.data(), content.size()) !=
                     static_cast<ssize_t>(content.size())) {
        throw std::system_error(errno, std::generic_category(), "write " + printable(relative));
    }
}

OwnTmpfs::OwnTmpfs(const std::string& size) {
    if (::geteuid() != 0 || !mountPoint_.isValid()) return;
    const std::string point = mountPoint_.path().toStdString();
    const std::string options = "size=" + size + ",mode=1777";
    if (::mount("sorrelix-safety", point.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) ==
        0) {
        path_ = point;
    }
}

OwnTmpfs::~OwnTmpfs() {
    if (!path_.empty()) ::umount2(path_.c_str(), MNT_DETACH);
}

SmallDisk::SmallDisk() {
    const std::string tiny = tinyScratchDir();
    if (!tiny.empty()) {
        lock_.emplace(tiny);
        path_ = tiny;
        removeContents(path_);
        return;
    }
    own_.emplace(kSmallDiskSize);
    path_ = own_->path();
}

SmallDisk::~SmallDisk() {
    if (lock_) removeContents(path_);
}

long long SmallDisk::freeBytes() const {
    struct statvfs info {};
    if (::statvfs(path_.c_str(), &info) != 0) return -1;
    return static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize);
}

std::string undoOfNewestViolations(const TreeSnapshot& before, const std::string& targetRoot) {
    const auto history = engine::APFSEngine::shared().loadSessionRecords();
    if (history.empty()) return "no merge in the history\n";
    const std::string outcome =
        outcomeOf([&] { engine::APFSEngine::shared().undoMergeNow(history.front()); });
    if (outcome != "ok") return "undo failed: " + outcome + "\n";
    return undoViolations(before, targetRoot, history.front().id);
}

std::vector<std::pair<std::string, std::string>> childEnvironment(const ScopedConfigHome& config) {
    return {{"XDG_CONFIG_HOME", config.configHome()}, {"XDG_STATE_HOME", config.stateHome()}};
}

}  // namespace sorrelix::testing
