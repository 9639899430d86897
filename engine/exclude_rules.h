#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "exclude_pattern.h"
#include "exclude_pattern_fault.h"
#include "name_glob.h"

namespace sorrelix::engine {

// One line of an exclude list that is not a pattern.
struct ExcludeRuleError {
    std::size_t lineNumber;  // from 1, counting comments and blank lines
    std::string line;
    ExcludePatternFault fault;

    QString reason() const { return excludePatternFaultText(fault); }
};

// Thrown by ExcludeRules::compile for a list with any line that is not a pattern.
class ExcludeRulesError : public std::runtime_error {
public:
    explicit ExcludeRulesError(std::vector<ExcludeRuleError> errors);
    const std::vector<ExcludeRuleError>& errors() const { return errors_; }

private:
    std::vector<ExcludeRuleError> errors_;
};

// The exclude rules of one analysis, compiled once from the lines of a list: glob patterns
// on raw bytes, one a line (syntax in ExcludePattern and NameGlob). A line starting with "#"
// is a comment, and a line of nothing but spaces and tabs is blank; both are skipped ("\#"
// is a pattern for a name that begins with "#"). Thread-safe for matching.
class ExcludeRules {
public:
    ExcludeRules() = default;  // no rules: leaves nothing out

    static ExcludeRules compile(const std::vector<std::string>& lines);
    // Every line that is not a pattern, in order; empty when all are.
    static std::vector<ExcludeRuleError> validate(const std::vector<std::string>& lines);
    static bool isCommentOrBlank(std::string_view line);

    bool empty() const { return anyEntry_.empty() && foldersOnly_.empty(); }

    // Whether an entry of the source is left out. `name` is the last part of `relativePath`;
    // `isFolder` is true for a folder the walk would enter (a link to one is no folder). A
    // folder left out is never entered, so entries below it are never asked about: a rule
    // "a/b" answers true for "a/b" and false for "a/b/c".
    bool excludes(std::string_view relativePath, std::string_view name, bool isFolder) const;

private:
    struct BytesHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view bytes) const {
            return std::hash<std::string_view>()(bytes);
        }
    };
    using ByteStringSet = std::unordered_set<std::string, BytesHash, std::equal_to<>>;

    // The rules for one kind of entry, by shape: exact names in a set, one lookup for all;
    // paths without wildcards compared whole (a length differs at once); globs on the name,
    // which answer the common "*.ext" and "prefix*" with one comparison; then path globs.
    struct Group {
        ByteStringSet names;
        std::vector<NameGlob> nameGlobs;
        std::vector<std::string> paths;
        std::vector<ExcludePattern> pathPatterns;

        void add(ExcludePattern pattern);
        bool empty() const;
        bool matches(std::string_view relativePath, std::string_view name) const;
    };

    Group anyEntry_;
    Group foldersOnly_;
};

}  // namespace sorrelix::engine
