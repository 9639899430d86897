#include "safety_support.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <stdexcept>

#include "engine_error.h"
#include "unique_fd.h"

namespace sorrelix::testing {

using engine::UniqueFd;

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
    const auto rank = [&](const engine::FileDiffItem& item) {
        return std::find(first.begin(), first.end(), item.relativePath) - first.begin();
    };
    const auto ranked =
        std::count_if(summary.items.begin(), summary.items.end(),
                      [&](const auto& item) { return rank(item) < std::ssize(first); });
    if (ranked != std::ssize(first)) throw std::runtime_error("an item is not in the summary");
    std::stable_sort(summary.items.begin(), summary.items.end(),
                     [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    return summary;
}

engine::MergeSummary analyzed(const FileTree& source, const FileTree& target,
                              const std::vector<std::string>& first) {
    const auto summary = engine::APFSEngine::shared().analyzeNow(source.root(), target.root());
    if (summary.errorMessage) throw std::runtime_error("the analysis failed");
    return withItemsFirst(summary, first);
}

void writeDeep(const std::string& root, const std::string& relative, const std::string& content) {
    UniqueFd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::size_t start = 0;
    for (auto slash = relative.find('/'); dir && slash != std::string::npos;
         slash = relative.find('/', start)) {
        const std::string name = relative.substr(start, slash - start);
        ::mkdirat(dir.get(), name.c_str(), 0755);
        dir = UniqueFd(::openat(dir.get(), name.c_str(), O_RDONLY | O_DIRECTORY));
        start = slash + 1;
    }
    const std::string name = relative.substr(start);
    const UniqueFd file(dir ? ::openat(dir.get(), name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)
                            : -1);
    checkCall(file && ::write(file.get(), content.data(), content.size()) == std::ssize(content),
              "write " + relative);
}

Tmpfs::Tmpfs(const std::string& size) {
    const std::string point = mountPoint_.path().toStdString();
    const std::string options = "size=" + size + ",mode=1777";
    if (::geteuid() == 0 && mountPoint_.isValid() &&
        ::mount("sorrelix-safety", point.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) ==
            0) {
        path_ = point;
    }
}

Tmpfs::~Tmpfs() {
    if (!path_.empty()) ::umount2(path_.c_str(), MNT_DETACH);
}

std::string undoOfNewestViolations(const TreeSnapshot& before, const std::string& targetRoot) {
    const auto history = engine::APFSEngine::shared().loadSessionRecords();
    if (history.empty()) return "no merge in the history\n";
    const std::string outcome =
        outcomeOf([&] { engine::APFSEngine::shared().undoMergeNow(history.front()); });
    if (outcome != "ok") return "undo failed: " + outcome + "\n";
    return undoViolations(before, targetRoot, history.front().id);
}

Scene::Scene() {
    outside.file("secret.txt", "outside the target");
    outside.file("docs/old.txt", "outside, old");
    outside.file("bk/new.txt", "outside, in a folder named like a backup");
}

std::string Scene::up(int depth, const std::string& path) const {
    std::string way;
    for (int level = 0; level <= depth; ++level) way += "../";
    return way + outside.root().substr(outside.root().rfind('/') + 1) + "/" + path;
}

void Scene::takeSnapshots() {
    before = TreeSnapshot::of(target.root());
    sourceState = TreeSnapshot::of(source.root());
    outsideState = TreeSnapshot::of(outside.root());
}

void expectMergeCase(const MergeCase& mergeCase) {
    if (mergeCase.asNobody && ::geteuid() != 0) GTEST_SKIP() << "needs root to become nobody";
    Scene scene;
    mergeCase.build(scene);
    if (mergeCase.asNobody) {
        scene.base.chmod("", 0755);
        scene.source.chmod("", 0755);
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(scene.target.root())) {
            ::lchown(entry.path().c_str(), kNobodyId, kNobodyId);
        }
        ::lchown(scene.target.root().c_str(), kNobodyId, kNobodyId);
    }
    const auto summary = analyzed(scene.source, scene.target, mergeCase.first);
    if (mergeCase.betweenAnalysisAndMerge) mergeCase.betweenAnalysisAndMerge(scene);
    scene.takeSnapshots();

    const auto merge = [&] {
        return outcomeOf([&] {
            engine::APFSEngine::shared().executeMergeNow(scene.source.root(), scene.target.root(),
                                                         summary, {});
        });
    };
    const std::string outcome =
        mergeCase.asNobody ? runAsNobody(merge).value_or("could not merge as nobody") : merge();
    EXPECT_TRUE(std::regex_match(outcome, std::regex(mergeCase.expected))) << outcome;
    EXPECT_EQ(scene.mergeViolations(), "");
    EXPECT_EQ(scene.outsideChanges(), "");
    if (!mergeCase.asNobody && !engine::APFSEngine::shared().loadSessionRecords().empty()) {
        EXPECT_EQ(undoOfNewestViolations(scene.before, scene.target.root()), "");
        EXPECT_EQ(scene.outsideChanges(), "");
    }
    EXPECT_EQ(differences(scene.sourceState, TreeSnapshot::of(scene.source.root())), "");
}

}  // namespace sorrelix::testing
