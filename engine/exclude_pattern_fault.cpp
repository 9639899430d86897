#include "exclude_pattern_fault.h"

#include "loc.h"

namespace sorrelix::engine {

namespace {

const char* keyOf(ExcludePatternFault fault) {
    switch (fault) {
        case ExcludePatternFault::unclosedClass:
            return "exclude_rule_unclosed_class";
        case ExcludePatternFault::reversedRange:
            return "exclude_rule_reversed_range";
        case ExcludePatternFault::namedClass:
            return "exclude_rule_named_class";
        case ExcludePatternFault::trailingBackslash:
            return "exclude_rule_trailing_backslash";
        case ExcludePatternFault::escapedSlash:
            return "exclude_rule_escaped_slash";
        case ExcludePatternFault::emptyPart:
            return "exclude_rule_empty_part";
        case ExcludePatternFault::dotPart:
            return "exclude_rule_dot_part";
        case ExcludePatternFault::partialGlobstar:
            return "exclude_rule_partial_globstar";
        case ExcludePatternFault::negation:
            return "exclude_rule_negation";
        case ExcludePatternFault::nulByte:
            return "exclude_rule_nul_byte";
        case ExcludePatternFault::outerSpace:
            return "exclude_rule_outer_space";
    }
    return "exclude_rule_unclosed_class";
}

}  // namespace

QString excludePatternFaultText(ExcludePatternFault fault) {
    return text::loc(keyOf(fault));
}

}  // namespace sorrelix::engine
