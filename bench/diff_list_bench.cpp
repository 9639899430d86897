// Times the difference list on a synthetic summary: the one-time work per summary, every
// keystroke of a search and a kind switch, each through the model behind a real list view
// (offscreen) until the view has laid out and painted, and the memory the list adds.
//
//   diff_list_bench [--items N] [--runs N]

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app_state.h"
#include "diff_list_model.h"
#include "diff_rows_view.h"
#include "merge_summary.h"
#include "path_search_index.h"

namespace {

using sorrelix::engine::FileDiffItem;
using sorrelix::engine::FileDiffKind;
using sorrelix::engine::MergeSummary;
using sorrelix::ui::DiffListModel;

constexpr double kKeystrokeAimMs = 50.0;

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t total = 0;
    std::size_t resident = 0;
    statm >> total >> resident;
    return resident * std::size_t(::sysconf(_SC_PAGESIZE));
}

// Paths shaped like a home folder: photos by date, source trees, music with accented and
// non-Latin names, office documents.
class PathMaker {
public:
    explicit PathMaker(unsigned seed) : random_(seed) {}

    std::string next() {
        switch (pick(10)) {
            case 0:
            case 1:
            case 2:
                return photo();
            case 3:
            case 4:
            case 5:
                return source();
            case 6:
            case 7:
                return music();
            default:
                return document();
        }
    }

private:
    std::size_t pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    template <std::size_t N>
    const char* any(const std::array<const char*, N>& names) {
        return names[pick(N)];
    }
    std::string number(int width, std::size_t limit) {
        std::string text = std::to_string(pick(limit));
        return std::string(std::size_t(std::max(0, width - int(text.size()))), '0') + text;
    }

    std::string photo() {
        static constexpr std::array<const char*, 6> events = {"Holiday", "Birthday", "Hiking trip",
                                                              "Wedding", "Garden",   "Zoo"};
        const std::string year = std::to_string(2012 + pick(12));
        return "Photos/" + year + "/" + year + "-" + number(2, 12) + "-" + number(2, 28) + " " +
               any(events) + "/IMG_" + number(4, 10000) + (pick(4) ? ".JPG" : ".HEIC");
    }
    std::string source() {
        static constexpr std::array<const char*, 6> projects = {
            "sorrel", "webshop", "thesis-tools", "game-engine", "dotfiles", "scanner"};
        static constexpr std::array<const char*, 8> modules = {
            "core", "net",        "ui/widgets",       "render/gl",
            "io",   "tests/unit", "third_party/zlib", "docs"};
        static constexpr std::array<const char*, 5> exts = {".cpp", ".h", ".py", ".md", ".json"};
        return std::string("Projects/") + any(projects) + "/src/" + any(modules) + "/" + "module_" +
               number(3, 600) + "_" + std::to_string(pick(50)) + any(exts);
    }
    std::string music() {
        static constexpr std::array<const char*, 8> artists = {
            "Sigur Rós",    "Björk",    "Motörhead",   "Los Ñandúes",
            "Мумий Тролль", "坂本龍一", "The Beatles", "Daft Punk"};
        static constexpr std::array<const char*, 6> titles = {
            "Canción del mar", "Intro", "Ágætis byrjun", "Home", "Überall", "Night drive"};
        return std::string("Music/") + any(artists) + "/Album " + number(2, 20) + "/" +
               number(2, 20) + " " + any(titles) + ".mp3";
    }
    std::string document() {
        static constexpr std::array<const char*, 5> folders = {"Work", "Taxes", "Letters", "School",
                                                               "Recipes"};
        static constexpr std::array<const char*, 5> names = {"Report", "Invoice", "Notes", "Budget",
                                                             "Résumé"};
        return std::string("Documents/") + any(folders) + "/" + std::to_string(2015 + pick(9)) +
               "/" + any(names) + " v" + std::to_string(pick(30)) + ".docx";
    }

    std::mt19937 random_;
};

MergeSummary syntheticSummary(std::size_t count) {
    MergeSummary summary;
    summary.items.reserve(count);
    PathMaker paths(20261207);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < count; ++i) {
        FileDiffItem item;
        item.relativePath = paths.next() + "." + std::to_string(i);  // every path unique
        const auto roll = random() % 10;
        item.kind = roll < 2   ? FileDiffKind::added
                    : roll < 4 ? FileDiffKind::updated
                               : FileDiffKind::identical;
        item.sourceSize = std::int64_t(random() % 5'000'000);
        item.targetSize = item.kind == FileDiffKind::added ? 0 : item.sourceSize;
        if (item.kind != FileDiffKind::added) item.targetDate = item.sourceDate;
        summary.add(std::move(item));
    }
    return summary;
}

double elapsedMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Timing {
    double modelMs = 0;    // the filter pass alone (the model's reset included)
    double paintedMs = 0;  // until the view has painted its first rows of the result
    double laidOutMs = 0;  // until the view has laid out every row (its scroll range is whole)
    int rows = 0;
};

class Bench {
public:
    Bench(const MergeSummary& summary, int runs)
        : summary_(summary), runs_(runs), model_([this] { return &summary_; }), view_(state_) {
        view_.resize(900, 600);
    }

    void attachAndShow() {
        view_.setModel(&model_);
        view_.show();
        QApplication::processEvents();
        waitLaidOut();
    }

    DiffListModel& model() { return model_; }

    // One step: the change, then the events that bring the view up to date.
    Timing step(const std::function<void()>& change) {
        Timing timing;
        QElapsedTimer timer;
        timer.start();
        change();
        timing.modelMs = double(timer.nsecsElapsed()) / 1e6;
        QApplication::processEvents();
        view_.viewport()->repaint();
        timing.paintedMs = double(timer.nsecsElapsed()) / 1e6;
        waitLaidOut();
        timing.laidOutMs = double(timer.nsecsElapsed()) / 1e6;
        timing.rows = model_.rowCount();
        return timing;
    }

    // The median of `runs` repetitions, each from the same starting text and kind.
    Timing measure(const QString& from, std::optional<FileDiffKind> fromKind, const QString& to,
                   std::optional<FileDiffKind> toKind) {
        std::vector<Timing> timings;
        for (int run = 0; run < runs_; ++run) {
            model_.setSearchText(from);
            model_.setFilterKind(fromKind);
            QApplication::processEvents();
            waitLaidOut();
            timings.push_back(step([&] {
                model_.setFilterKind(toKind);
                model_.setSearchText(to);
            }));
        }
        std::sort(timings.begin(), timings.end(),
                  [](const Timing& a, const Timing& b) { return a.paintedMs < b.paintedMs; });
        return timings[timings.size() / 2];
    }

private:
    void waitLaidOut() {
        const int rowHeight = model_.rowCount() > 0 ? view_.sizeHintForRow(0) : 0;
        const long long expected =
            std::max(0LL, (long long)model_.rowCount() * rowHeight - view_.viewport()->height());
        QElapsedTimer timer;
        timer.start();
        while (view_.verticalScrollBar()->maximum() < expected && timer.elapsed() < 10'000) {
            QApplication::processEvents();
        }
    }

    const MergeSummary& summary_;
    int runs_;
    sorrelix::app::AppState state_;
    DiffListModel model_;
    sorrelix::ui::DiffRowsView view_;
};

bool report(const char* what, const Timing& timing) {
    const bool met = timing.paintedMs < kKeystrokeAimMs;
    std::printf("  %-32s %7.1f ms filter %7.1f ms painted %7.1f ms laid out %8d rows%s\n", what,
                timing.modelMs, timing.paintedMs, timing.laidOutMs, timing.rows,
                met ? "" : "  (over the aim)");
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t items = 1'000'000;
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--items") == 0) items = std::stoul(argv[i + 1]);
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::stoi(argv[i + 1]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::size_t before = residentBytes();
    MergeSummary summary;
    const double buildMs = elapsedMs([&] { summary = syntheticSummary(items); });
    const std::size_t summaryBytes = residentBytes() - before;
    std::size_t pathBytes = 0;
    std::size_t nonAscii = 0;
    for (const auto& item : summary.items) {
        pathBytes += item.relativePath.size();
        nonAscii += std::any_of(item.relativePath.begin(), item.relativePath.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    }
    std::printf(
        "Summary: %zu items (%lld added, %lld updated, %lld identical), paths %.1f bytes "
        "on average, %.1f %% not ASCII; built in %.0f ms, %.0f bytes per item resident\n",
        items, static_cast<long long>(summary.addedCount),
        static_cast<long long>(summary.updatedCount),
        static_cast<long long>(summary.identicalCount), double(pathBytes) / double(items),
        100.0 * double(nonAscii) / double(items), buildMs, double(summaryBytes) / double(items));

    const std::size_t beforeList = residentBytes();
    std::optional<Bench> bench;
    const double loadMs = elapsedMs([&] { bench.emplace(summary, runs); });
    const double showMs = elapsedMs([&] { bench->attachAndShow(); });
    const double indexMs =
        elapsedMs([&] { const sorrelix::ui::PathSearchIndex index(summary.items); });
    const Timing first = bench->step([&] { bench->model().setSearchText(QStringLiteral("p")); });
    std::printf("Once per summary:\n");
    std::printf("  load (kinds, search index, rows)   %8.1f ms\n", loadMs);
    std::printf("  list view shown and laid out       %8.1f ms\n", showMs);
    std::printf("  search index (built alone)         %8.1f ms\n", indexMs);
    std::printf("  first keystroke (\"p\")              %8.1f ms painted\n", first.paintedMs);
    std::printf(
        "Memory beside the summary: model %.1f bytes per item (rows, kinds, index); "
        "process grew %.1f bytes per item with the view\n",
        double(bench->model().memoryBytes()) / double(items),
        double(residentBytes() - beforeList) / double(items));

    bool allMet = true;
    std::printf("Keystrokes (median of %d; typing \"photo\", then other queries):\n", runs);
    const QString typed = QStringLiteral("photo");
    for (int length = 1; length <= typed.size(); ++length) {
        const QString to = typed.left(length);
        const Timing timing =
            bench->measure(typed.left(length - 1), std::nullopt, to, std::nullopt);
        allMet &= report(("\"" + to.toStdString() + "\"").c_str(), timing);
    }
    const std::vector<std::pair<const char*, QString>> queries = {
        {"\"IMG_20\"", QStringLiteral("IMG_20")},
        {"\"2019-05\"", QStringLiteral("2019-05")},
        {"\"canción\" (non-ASCII)", QStringLiteral("canción")},
        {"\"CANCIÓN\" (non-ASCII, upper)", QStringLiteral("CANCIÓN")},
        {"\"тролль\" (Cyrillic)", QStringLiteral("тролль")},
        {"\"/\" (every path)", QStringLiteral("/")},
        {"\" v1\" (leading space)", QStringLiteral(" v1")},
        {"\"zzqx\" (nothing)", QStringLiteral("zzqx")},
        {"\"src/core/module_042\"", QStringLiteral("src/core/module_042")},
    };
    for (const auto& [name, query] : queries) {
        allMet &= report(name, bench->measure({}, std::nullopt, query, std::nullopt));
    }
    std::printf("Kind switches (median of %d):\n", runs);
    allMet &= report("all -> updated", bench->measure({}, std::nullopt, {}, FileDiffKind::updated));
    allMet &= report("updated -> all", bench->measure({}, FileDiffKind::updated, {}, std::nullopt));
    allMet &= report("added, searching \"photo\"",
                     bench->measure(typed, std::nullopt, typed, FileDiffKind::added));
    allMet &= report("clearing \"photo\" (all rows back)",
                     bench->measure(typed, std::nullopt, {}, std::nullopt));
    std::printf("Aim, every keystroke and switch painted within %.0f ms: %s\n", kKeystrokeAimMs,
                allMet ? "met" : "NOT met");
    return 0;
}
