#include "cli_commands.h"

#include <unistd.h>

#include <cstring>

#include "apfs_engine.h"
#include "engine_error.h"
#include "folder_pair_request.h"
#include "merge_stop_signals.h"
#include "record_json.h"
#include "sorrelix_version.h"

namespace sorrelix::cli {

using engine::APFSEngine;

namespace {

constexpr const char* kUsage =
    "usage: sorrelix-cli analyze|merge [--exclude PATTERN] [--exclude-from FILE] [--no-rules] "
    "SOURCE TARGET | undo [ID] | history | --help\n";

constexpr const char* kHelp =
    "Sorrelix command-line tool: merge one folder tree into another, with backups and undo.\n"
    "\n"
    "  sorrelix-cli analyze SOURCE TARGET   compare the trees; print the summary as JSON\n"
    "  sorrelix-cli merge SOURCE TARGET     compare, then copy added and updated files into\n"
    "                                       TARGET (replaced files go to TARGET/.sorrelix/\n"
    "                                       backups/ID); print the merge record as JSON\n"
    "  sorrelix-cli undo [ID]               undo the newest merge, or the one with that id\n"
    "  sorrelix-cli history                 print the stored merge history as JSON\n"
    "  sorrelix-cli --version               print the version\n"
    "\n"
    "analyze and merge leave out what the exclude rules match: the list stored by the window\n"
    "(Edit > Exclude Rules) and these options, anywhere after the command (\"--\" ends them):\n"
    "  --exclude PATTERN     one more rule (repeatable)\n"
    "  --exclude-from FILE   one rule per line of FILE; lines starting with \"#\" are comments\n"
    "  --no-rules            ignore the stored list\n"
    "Rules are glob patterns on names as bytes, case-sensitive: \"*\" and \"?\" stay within a\n"
    "name, \"**\" spans folders, [a-z] and [!0-9] are classes, \"\\\" escapes the next character.\n"
    "Without \"/\" a rule matches a name at any depth (*.tmp); with a leading or inner \"/\"\n"
    "the path from the top of SOURCE (/build, docs/**/*.bak); a trailing \"/\" matches folders\n"
    "only (node_modules/). A folder left out is not entered.\n"
    "\n"
    "Exit status: 0 success, 1 failure (message on standard error), 2 usage error, a rule\n"
    "that is not a pattern, or no such merge. The history is shared with the Sorrelix window\n"
    "($XDG_CONFIG_HOME/Sorrelix).\n";

void printLine(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void printError(const engine::EngineError& error) {
    std::fprintf(stderr, "sorrelix-cli: %s (domain %s, code %d)\n",
                 error.description().toUtf8().constData(), error.domain().toUtf8().constData(),
                 error.code());
}

int analyze(const std::string& source, const std::string& target,
            const engine::ExcludeRules& rules) {
    const auto summary = APFSEngine::shared().analyzeNow(source, target, nullptr, rules);
    engine::writeJson(summary, [](const QByteArray& piece) {
        std::fwrite(piece.constData(), 1, static_cast<std::size_t>(piece.size()), stdout);
    });
    printLine(stdout, {});
    if (!summary.errorMessage) return kExitOk;
    std::fprintf(stderr, "sorrelix-cli: %s\n", summary.errorMessage->toUtf8().constData());
    return kExitFailed;
}

// Redraws one status line on a terminal; scripts reading a pipe get nothing.
engine::ProgressCallback terminalProgress() {
    if (::isatty(STDERR_FILENO) == 0) return {};
    return [](std::int64_t current, std::int64_t total, const std::string& path) {
        std::fprintf(stderr, "\r\033[K[%lld/%lld] %s", static_cast<long long>(current),
                     static_cast<long long>(total), path.c_str());
        if (current == total) std::fputc('\n', stderr);
        std::fflush(stderr);
    };
}

int merge(const std::string& source, const std::string& target, const engine::ExcludeRules& rules) {
    // SIGINT and SIGTERM stop the merge after the file at hand, so that it is recorded.
    const MergeStopSignals stopSignals;
    const auto summary = APFSEngine::shared().analyzeNow(source, target, nullptr, rules);
    if (summary.errorMessage) {
        std::fprintf(stderr, "sorrelix-cli: %s\n", summary.errorMessage->toUtf8().constData());
        return kExitFailed;
    }
    if (stopSignals.received() != 0) return stopSignals.exitStatus();  // nothing changed yet
    std::int64_t done = 0;
    const engine::ProgressCallback showProgress = terminalProgress();
    auto onProgress = [&](std::int64_t current, std::int64_t total, const std::string& path) {
        done = current - 1;
        if (showProgress) showProgress(current, total, path);
    };
    try {
        const auto record = APFSEngine::shared().executeMergeNow(source, target, summary,
                                                                 onProgress, stopSignals.flag());
        printLine(stdout, engine::encodeJson(record));
        if (record.outcome != engine::MergeOutcome::stopped) return kExitOk;
        if (::isatty(STDERR_FILENO) != 0) std::fputc('\n', stderr);
        std::fprintf(stderr,
                     "sorrelix-cli: merge %s stopped after %lld of %lld files; "
                     "'sorrelix-cli undo %s' takes it back\n",
                     record.id.c_str(), static_cast<long long>(done),
                     static_cast<long long>(summary.addedCount + summary.updatedCount),
                     record.id.c_str());
        return stopSignals.exitStatus();
    } catch (const engine::EngineError& error) {
        if (::isatty(STDERR_FILENO) != 0) std::fputc('\n', stderr);
        printError(error);
        if (const auto* failed = error.failedMerge()) {
            std::fprintf(stderr,
                         "sorrelix-cli: what merge %s copied can be taken back with "
                         "'sorrelix-cli undo %s'\n",
                         failed->id.c_str(), failed->id.c_str());
        }
        return kExitFailed;
    }
}

int undo(const std::vector<std::string>& arguments) {
    const auto records = APFSEngine::shared().loadSessionRecords();
    const engine::MergeSessionRecord* chosen = nullptr;
    for (const auto& record : records) {
        if (arguments.size() == 1 || record.id == arguments[1]) {
            chosen = &record;
            break;
        }
    }
    if (chosen == nullptr) {
        if (arguments.size() == 1) {
            std::fprintf(stderr, "sorrelix-cli: the merge history is empty\n");
        } else {
            std::fprintf(stderr, "sorrelix-cli: no merge with id %s in the history\n",
                         arguments[1].c_str());
        }
        return kExitUsage;
    }
    try {
        const engine::UndoResult result = APFSEngine::shared().undoMergeNow(*chosen);
        for (const auto& kept : result.keptFiles) {
            std::fprintf(stderr, "sorrelix-cli: kept %s, changed since the merge, as %s\n",
                         kept.relativePath.c_str(), kept.keptPath.c_str());
        }
        std::fprintf(stderr, "sorrelix-cli: undid merge %s into %s\n", chosen->id.c_str(),
                     chosen->targetPath.c_str());
        return kExitOk;
    } catch (const engine::EngineError& error) {
        printError(error);
        return kExitFailed;
    }
}

int usage() {
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

}  // namespace

std::string absoluteFolderPath(const std::string& argument) {
    if (!argument.empty() && argument.front() == '/') return engine::normalizedFolderPath(argument);
    std::string cwd(4096, '\0');
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) cwd.resize(cwd.size() * 2);
    cwd.resize(std::strlen(cwd.c_str()));
    std::string relative = argument;
    while (relative.starts_with("./")) relative.erase(0, 2);
    if (relative.empty() || relative == ".") return engine::normalizedFolderPath(cwd);
    return engine::normalizedFolderPath(cwd + (cwd == "/" ? "" : "/") + relative);
}

int runCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return usage();
    const std::string& command = arguments[0];
    if ((command == "--help" || command == "-h" || command == "help") && arguments.size() == 1) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (command == "--version" && arguments.size() == 1) {
        std::fputs("sorrelix-cli " SORRELIX_VERSION "\n", stdout);
        return kExitOk;
    }
    if (command == "analyze" || command == "merge") {
        FolderPairRequest request;
        try {
            request = FolderPairRequest::parse(arguments);
        } catch (const ArgumentError& error) {
            if (*error.what() != 0) std::fprintf(stderr, "sorrelix-cli: %s\n", error.what());
            return error.showsUsage() ? usage() : kExitUsage;
        }
        const auto& [source, target, rules] = request;
        return command == "analyze" ? analyze(source, target, rules) : merge(source, target, rules);
    }
    if (command == "undo" && arguments.size() <= 2) return undo(arguments);
    if (command == "history" && arguments.size() == 1) {
        printLine(stdout, engine::encodeJson(APFSEngine::shared().loadSessionRecords()));
        return kExitOk;
    }
    return usage();
}

}  // namespace sorrelix::cli
