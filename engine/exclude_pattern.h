#pragma once

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "exclude_pattern_fault.h"
#include "name_glob.h"

namespace sorrelix::engine {

// One line of an exclude list, parsed. A trailing "/" limits it to folders. Without any
// other "/" it is matched against an entry's name at any depth; with a leading or inner "/"
// against the whole relative path, part by part, where a part "**" stands for any number of
// folders ("a/**/b" matches "a/b" and "a/x/y/b", "a/**" everything inside "a").
struct ExcludePattern {
    bool foldersOnly = false;
    bool anchored = false;
    // One glob per path part; no value for "**". A single glob when not anchored.
    std::vector<std::optional<NameGlob>> parts;

    // The line (not a comment or a blank line) as a pattern, or why it is none.
    static std::variant<ExcludePattern, ExcludePatternFault> parse(std::string_view line);

    // For anchored patterns: whether the relative path ("a/b/c", whose last part is `name`)
    // matches.
    bool matchesPath(std::string_view relativePath, std::string_view name) const;
};

}  // namespace sorrelix::engine
