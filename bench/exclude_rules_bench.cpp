// Times ExcludeRules::excludes, the one call an analysis makes per source entry, with twenty
// typical rules over synthetic paths shaped like a home folder and source trees.
//
//   exclude_rules_bench [--paths N] [--runs N]
//
// Times are the thread's processor time, median of the runs.

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "exclude_rules.h"

namespace {

using sorrelix::engine::ExcludeRules;

// What a user merging projects and photos writes: exact names, suffixes, prefixes, a class,
// paths from the top and a "**" path.
const std::vector<std::string> kRules = {
    "# typical rules",
    ".git/",
    "node_modules/",
    "build/",
    "__pycache__/",
    ".cache/",
    ".idea/",
    "target/",
    "Lightroom Previews.lrdata/",
    "*.tmp",
    "*.xmp",
    "*.pyc",
    "*.swp",
    "*.bak",
    "*~",
    ".#*",
    "~$*",
    "*.[oa]",
    "/dist",
    "docs/**/drafts/",
    "**/logs/*.log",
};

struct Entry {
    std::string path;
    std::size_t nameStart;
    bool isFolder;
};

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
    std::string number(std::size_t count) { return std::to_string(pick(count)); }

    std::string photo() {
        static const char* kKinds[] = {".JPG", ".jpg", ".HEIC", ".CR3", ".xmp", ".png"};
        const std::string day = "2023-0" + std::to_string(1 + pick(9)) + "-1" + number(10);
        const std::string folder = pick(20) == 0
                                       ? "Pictures/Lightroom Previews.lrdata/" + number(16)
                                       : "Pictures/2023/" + day;
        return folder + "/IMG_" + number(10000) + kKinds[pick(6)];
    }

    std::string source() {
        static const char* kFolders[] = {
            "src",          "include",         "tests", "build/obj", "node_modules/lib",
            ".git/objects", "docs/api/drafts", "logs",  "dist"};
        static const char* kKinds[] = {".cpp", ".h", ".py", ".o", ".js", ".md", ".log", ".tmp"};
        const std::string name = pick(30) == 0 ? ".#lock" + number(100) : "file" + number(1000);
        return "Projects/app" + number(12) + "/" + kFolders[pick(9)] + "/m" + number(40) + "/" +
               name + kKinds[pick(8)];
    }

    std::string music() {
        static const char* kArtists[] = {"Beyonc\xc3\xa9", "Sigur R\xc3\xb3s",
                                         "\xd0\x9a\xd0\xb8\xd0\xbd\xd0\xbe",
                                         "\xe5\xae\x87\xe5\xa4\x9a\xe7\x94\xb0", "Various"};
        return std::string("Music/") + kArtists[pick(5)] + "/Album " + number(30) + "/" +
               number(20) + " Track " + number(100) + ".flac";
    }

    std::string document() {
        static const char* kKinds[] = {".docx", ".xlsx", ".pdf", ".txt", ".bak", ".odt~"};
        const std::string prefix = pick(25) == 0 ? "~$" : "";
        return "Documents/Reports " + number(8) + "/" + prefix + "Report " + number(5000) +
               kKinds[pick(6)];
    }

    std::mt19937 random_;
};

// Every file, and each folder once before the first file in it, as a walk meets them.
std::vector<Entry> makeEntries(std::size_t paths) {
    PathMaker maker(20240614);
    std::vector<Entry> entries;
    std::unordered_set<std::string> seenFolders;
    for (std::size_t file = 0; file < paths; ++file) {
        const std::string path = maker.next();
        for (std::size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            std::string folder = path.substr(0, slash);
            if (!seenFolders.insert(folder).second) continue;
            const std::size_t nameStart = folder.rfind('/') + 1;  // npos + 1 is 0
            entries.push_back({std::move(folder), nameStart, true});
        }
        entries.push_back({path, path.rfind('/') + 1, false});
    }
    return entries;
}

struct RunResult {
    double milliseconds;
    std::size_t excluded;
};

// The thread's own processor time: on a machine shared with other work, wall-clock time
// would count the time the benchmark waited for a core.
double cpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

RunResult timeRun(const ExcludeRules& rules, const std::vector<Entry>& entries) {
    const double start = cpuMilliseconds();
    std::size_t excluded = 0;
    for (const Entry& entry : entries) {
        const std::string_view path(entry.path);
        excluded += rules.excludes(path, path.substr(entry.nameStart), entry.isFolder) ? 1 : 0;
    }
    return {cpuMilliseconds() - start, excluded};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::size_t argumentAfter(int argc, char** argv, const char* option, std::size_t fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return std::stoul(argv[i + 1]);
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t paths = argumentAfter(argc, argv, "--paths", 100000);
    const std::size_t runs = std::max<std::size_t>(1, argumentAfter(argc, argv, "--runs", 9));
    const double compileStart = cpuMilliseconds();
    const ExcludeRules rules = ExcludeRules::compile(kRules);
    const double compileMs = cpuMilliseconds() - compileStart;
    const std::vector<Entry> entries = makeEntries(paths);

    std::vector<double> withRules;
    std::vector<double> withoutRules;
    std::size_t excluded = 0;
    const ExcludeRules none;
    for (std::size_t run = 0; run < runs + 1; ++run) {
        const RunResult result = timeRun(rules, entries);
        const RunResult empty = timeRun(none, entries);
        if (run == 0) continue;  // warms the caches
        withRules.push_back(result.milliseconds);
        withoutRules.push_back(empty.milliseconds);
        excluded = result.excluded;
    }
    const double ms = median(withRules);
    const double emptyMs = median(withoutRules);
    std::printf("exclude rules: %zu rules, %zu entries (%zu files and their folders), %zu runs\n",
                kRules.size() - 1, entries.size(), paths, runs);
    std::printf("  compile once           %8.3f ms\n", compileMs);
    std::printf("  excludes(), all entries %8.2f ms  %6.1f ns per entry  (%zu matched)\n", ms,
                ms * 1e6 / static_cast<double>(entries.size()), excluded);
    std::printf("  no rules, all entries   %8.2f ms  %6.1f ns per entry\n", emptyMs,
                emptyMs * 1e6 / static_cast<double>(entries.size()));
    std::printf(
        "Every entry is asked, also those a walk would never reach below a folder left "
        "out, so this is an upper bound.\n");
    return 0;
}
