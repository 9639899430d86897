#include "folder_pair_request.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "cli_commands.h"
#include "exclude_rule_store.h"

namespace sorrelix::cli {

namespace {

using engine::ExcludeRules;

struct Options {
    std::vector<std::string> folders;
    std::vector<std::string> patterns;
    std::vector<std::string> ruleFiles;
    bool ignoresStoredRules = false;
};

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&](const char* what) -> std::string {
            if (i + 1 == arguments.size()) throw ArgumentError(argument + " needs " + what, true);
            return arguments[++i];
        };
        if (optionsEnded || !argument.starts_with("--")) {
            options.folders.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--exclude") {
            options.patterns.push_back(value("a pattern"));
        } else if (argument.starts_with("--exclude=")) {
            options.patterns.push_back(argument.substr(std::strlen("--exclude=")));
        } else if (argument == "--exclude-from") {
            options.ruleFiles.push_back(value("a file"));
        } else if (argument.starts_with("--exclude-from=")) {
            options.ruleFiles.push_back(argument.substr(std::strlen("--exclude-from=")));
        } else if (argument == "--no-rules") {
            options.ignoresStoredRules = true;
        } else {
            throw ArgumentError("unknown option " + argument, true);
        }
    }
    if (options.folders.size() != 2) throw ArgumentError("", true);
    return options;
}

// One line per byte run between line feeds; a carriage return before the feed is dropped,
// so lists written on Windows read the same.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> readRuleFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::string text;
    int error = fd < 0 ? errno : 0;
    char buffer[65536];
    while (error == 0) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (fd >= 0) ::close(fd);
    if (error != 0) {
        throw ArgumentError("cannot read exclude rules from " + path + ": " + std::strerror(error),
                            false);
    }
    return splitLines(text);
}

// Refuses the whole command when any line is not a pattern, naming where each one came from.
void requirePatterns(const std::vector<std::string>& lines,
                     const std::function<std::string(std::size_t lineNumber)>& origin) {
    std::string message;
    for (const auto& error : ExcludeRules::validate(lines)) {
        if (!message.empty()) message += "\nsorrelix-cli: ";
        message += "exclude rule \"" + error.line + "\" (" + origin(error.lineNumber) +
                   "): " + error.reason().toStdString();
    }
    if (!message.empty()) throw ArgumentError(message, false);
}

std::vector<std::string> ruleLines(const Options& options) {
    std::vector<std::string> lines;
    auto add = [&lines](const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    };
    if (!options.ignoresStoredRules) {
        const std::vector<std::string> stored = engine::ExcludeRuleStore::load();
        requirePatterns(stored, [](std::size_t line) {
            return "stored rule " + std::to_string(line) + "; --no-rules ignores the stored list";
        });
        add(stored);
    }
    for (const std::string& path : options.ruleFiles) {
        const std::vector<std::string> fileLines = readRuleFile(path);
        requirePatterns(fileLines, [&path](std::size_t line) {
            return path + ", line " + std::to_string(line);
        });
        add(fileLines);
    }
    for (const std::string& pattern : options.patterns) {
        // In a list these would be skipped; given on their own they would silently do nothing.
        if (ExcludeRules::isCommentOrBlank(pattern)) {
            throw ArgumentError("--exclude \"" + pattern +
                                    "\" is a comment or blank, not a pattern (write \\# for a "
                                    "name that begins with #)",
                                false);
        }
        requirePatterns({pattern}, [](std::size_t) { return std::string("--exclude"); });
        lines.push_back(pattern);
    }
    return lines;
}

}  // namespace

FolderPairRequest FolderPairRequest::parse(const std::vector<std::string>& arguments) {
    const Options options = parseOptions(arguments);
    FolderPairRequest request;
    request.source = absoluteFolderPath(options.folders[0]);
    request.target = absoluteFolderPath(options.folders[1]);
    request.rules = ExcludeRules::compile(ruleLines(options));
    return request;
}

}  // namespace sorrelix::cli
