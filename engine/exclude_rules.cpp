#include "exclude_rules.h"

#include <variant>

namespace sorrelix::engine {

namespace {

std::string describe(const std::vector<ExcludeRuleError>& errors) {
    std::string text;
    for (const ExcludeRuleError& error : errors) {
        if (!text.empty()) text += "; ";
        text += "exclude rule " + std::to_string(error.lineNumber) + " \"" + error.line +
                "\": " + error.reason().toStdString();
    }
    return text;
}

// The whole path when every part is plain text, so a set lookup decides.
std::optional<std::string> literalPath(const ExcludePattern& pattern) {
    std::string path;
    for (const auto& part : pattern.parts) {
        const std::optional<std::string> text = part ? part->literal() : std::nullopt;
        if (!text) return std::nullopt;
        if (!path.empty()) path += '/';
        path += *text;
    }
    return path;
}

}  // namespace

ExcludeRulesError::ExcludeRulesError(std::vector<ExcludeRuleError> errors)
    : std::runtime_error(describe(errors)), errors_(std::move(errors)) {}

bool ExcludeRules::isCommentOrBlank(std::string_view line) {
    return line.starts_with('#') || line.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<ExcludeRuleError> ExcludeRules::validate(const std::vector<std::string>& lines) {
    std::vector<ExcludeRuleError> errors;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isCommentOrBlank(lines[i])) continue;
        const auto parsed = ExcludePattern::parse(lines[i]);
        if (const auto* fault = std::get_if<ExcludePatternFault>(&parsed)) {
            errors.push_back({i + 1, lines[i], *fault});
        }
    }
    return errors;
}

ExcludeRules ExcludeRules::compile(const std::vector<std::string>& lines) {
    if (auto errors = validate(lines); !errors.empty()) throw ExcludeRulesError(std::move(errors));
    ExcludeRules rules;
    for (const std::string& line : lines) {
        if (isCommentOrBlank(line)) continue;
        ExcludePattern pattern = std::get<ExcludePattern>(ExcludePattern::parse(line));
        Group& group = pattern.foldersOnly ? rules.foldersOnly_ : rules.anyEntry_;
        group.add(std::move(pattern));
    }
    return rules;
}

bool ExcludeRules::excludes(std::string_view relativePath, std::string_view name,
                            bool isFolder) const {
    if (anyEntry_.matches(relativePath, name)) return true;
    return isFolder && foldersOnly_.matches(relativePath, name);
}

void ExcludeRules::Group::add(ExcludePattern pattern) {
    if (pattern.anchored) {
        if (auto path = literalPath(pattern)) {
            paths.push_back(std::move(*path));
        } else {
            pathPatterns.push_back(std::move(pattern));
        }
        return;
    }
    NameGlob& glob = *pattern.parts.front();
    if (auto name = glob.literal()) {
        names.insert(std::move(*name));
    } else {
        nameGlobs.push_back(std::move(glob));
    }
}

bool ExcludeRules::Group::empty() const {
    return names.empty() && nameGlobs.empty() && paths.empty() && pathPatterns.empty();
}

bool ExcludeRules::Group::matches(std::string_view relativePath, std::string_view name) const {
    if (!names.empty() && names.contains(name)) return true;
    for (const NameGlob& glob : nameGlobs) {
        if (glob.matches(name)) return true;
    }
    for (const std::string& path : paths) {
        if (relativePath == path) return true;
    }
    for (const ExcludePattern& pattern : pathPatterns) {
        if (pattern.matchesPath(relativePath, name)) return true;
    }
    return false;
}

}  // namespace sorrelix::engine
