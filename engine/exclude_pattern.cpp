#include "exclude_pattern.h"

namespace sorrelix::engine {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// Faults of the line as a whole, before it is cut at its slashes.
std::optional<ExcludePatternFault> lineFault(std::string_view line) {
    if (line.find('\0') != std::string_view::npos) return ExcludePatternFault::nulByte;
    if (line.starts_with('!')) return ExcludePatternFault::negation;
    std::size_t lastEscaped = kNone;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] != '\\') continue;
        if (at + 1 == line.size()) return ExcludePatternFault::trailingBackslash;
        if (line[at + 1] == '/') return ExcludePatternFault::escapedSlash;
        lastEscaped = ++at;
    }
    if (!line.empty() &&
        (isSpace(line.front()) || (isSpace(line.back()) && lastEscaped != line.size() - 1))) {
        return ExcludePatternFault::outerSpace;
    }
    return std::nullopt;
}

std::vector<std::string_view> splitParts(std::string_view body) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = body.find('/', start);
        parts.push_back(
            body.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos) return parts;
        start = slash + 1;
    }
}

using Part = std::optional<NameGlob>;

std::variant<Part, ExcludePatternFault> parsePart(std::string_view text) {
    if (text.empty()) return ExcludePatternFault::emptyPart;
    if (text == "." || text == "..") return ExcludePatternFault::dotPart;
    if (text == "**") return Part();
    auto glob = NameGlob::parse(text);
    if (auto* fault = std::get_if<ExcludePatternFault>(&glob)) return *fault;
    return Part(std::move(std::get<NameGlob>(glob)));
}

NameGlob anyName() {
    return std::get<NameGlob>(NameGlob::parse("*"));
}

// "**/x" is just "x", a name at any depth; "**" alone, anchored or not, is any name.
void simplify(ExcludePattern& pattern) {
    auto& parts = pattern.parts;
    if (parts.size() == 2 && !parts[0] && parts[1]) {
        parts.erase(parts.begin());
        pattern.anchored = false;
    } else if (parts.size() == 1 && !parts[0]) {
        parts[0] = anyName();
        pattern.anchored = false;
    }
}

// The index just past the next "/" from `at`, or kNone when the part at `at` is the last.
std::size_t nextPart(std::string_view path, std::size_t at) {
    const std::size_t slash = path.find('/', at);
    return slash == std::string_view::npos ? kNone : slash + 1;
}

std::string_view partAt(std::string_view path, std::size_t at) {
    const std::size_t slash = path.find('/', at);
    return path.substr(at, slash == std::string_view::npos ? slash : slash - at);
}

}  // namespace

std::variant<ExcludePattern, ExcludePatternFault> ExcludePattern::parse(std::string_view line) {
    if (const auto fault = lineFault(line)) return *fault;
    ExcludePattern pattern;
    std::string_view body = line;
    if (body.ends_with('/')) {
        pattern.foldersOnly = true;
        body.remove_suffix(1);
    }
    if (body.starts_with('/')) {
        pattern.anchored = true;
        body.remove_prefix(1);
    }
    const std::vector<std::string_view> texts = splitParts(body);
    if (texts.size() > 1) pattern.anchored = true;
    for (const std::string_view text : texts) {
        auto part = parsePart(text);
        if (auto* fault = std::get_if<ExcludePatternFault>(&part)) return *fault;
        Part& parsed = std::get<Part>(part);
        // "a/**/**/b" is "a/**/b".
        if (!parsed && !pattern.parts.empty() && !pattern.parts.back()) continue;
        pattern.parts.push_back(std::move(parsed));
    }
    simplify(pattern);
    return pattern;
}

// Parts of the path against parts of the pattern, "**" taking the role a star takes in a
// name: it first takes no folder and one more each time the parts after it fail. A "**"
// at the end takes at least one part: "a/**" is what lies inside "a", not "a" itself.
bool ExcludePattern::matchesPath(std::string_view relativePath, std::string_view name) const {
    const std::size_t count = parts.size();
    // The name decides most entries at once: "**/logs/*.log" only ever matches a "*.log".
    if (parts.back() && !parts.back()->matches(name)) return false;
    std::size_t part = 0;
    std::size_t at = relativePath.empty() ? kNone : 0;
    std::size_t starPart = kNone;
    std::size_t starAt = 0;
    while (at != kNone) {
        if (part < count && !parts[part]) {
            if (part + 1 == count) return true;
            starPart = part++;
            starAt = at;
            continue;
        }
        if (part < count && parts[part]->matches(partAt(relativePath, at))) {
            ++part;
            at = nextPart(relativePath, at);
            continue;
        }
        if (starPart == kNone) return false;
        starAt = nextPart(relativePath, starAt);
        if (starAt == kNone) return false;
        at = starAt;
        part = starPart + 1;
    }
    return part == count;
}

}  // namespace sorrelix::engine
