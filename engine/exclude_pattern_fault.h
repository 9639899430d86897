#pragma once

#include <QString>

namespace sorrelix::engine {

// Why a line of an exclude list is not a pattern. Each one is either malformed or could never
// match an entry, so it is refused rather than silently leaving nothing (or too much) out.
enum class ExcludePatternFault {
    unclosedClass,      // "[" without its "]"
    reversedRange,      // "[z-a]"
    namedClass,         // "[[:digit:]]": not supported, and it would read as a plain class
    trailingBackslash,  // "\" at the end, with nothing to escape
    escapedSlash,       // "\/": "/" always separates folders
    emptyPart,          // "/", "//" or "a//b": no path has an empty part
    dotPart,            // "." or "..": the walk never forms such a path
    partialGlobstar,    // "a**" or "**b": "**" must be a whole part
    negation,           // a leading "!" would promise re-including, which rules cannot do
    nulByte,            // no name holds a NUL byte
    outerSpace,         // an unescaped space or tab at either end, easily pasted unseen
};

// The fault explained in the current interface language.
QString excludePatternFaultText(ExcludePatternFault fault);

}  // namespace sorrelix::engine
