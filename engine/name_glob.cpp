#include "name_glob.h"

#include "json_string_codec.h"

namespace sorrelix::engine {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// A byte outside well-formed UTF-8 counts as the character U+DC00 + byte (a lone surrogate,
// which no UTF-8 text holds), so classes can name such bytes without meeting real letters.
constexpr char32_t kByteCharacterBase = 0xDC00;

struct Character {
    char32_t value;
    std::size_t size;
};

Character characterAt(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t size = validSequenceLength(bytes, at);
    if (size == 0) return {kByteCharacterBase + lead, 1};
    char32_t value = lead & (0x7FU >> size);
    for (std::size_t i = 1; i < size; ++i) {
        value = (value << 6) | (static_cast<unsigned char>(bytes[at + i]) & 0x3FU);
    }
    return {value, size};
}

std::size_t characterSize(std::string_view bytes, std::size_t at) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) return 1;
    const std::size_t size = validSequenceLength(bytes, at);
    return size == 0 ? 1 : size;
}

// Names and rule texts are short, and most tests fail on the first byte compared: a plain
// loop from the end that fails first beats a library call.
bool endsWith(std::string_view name, std::string_view text) {
    if (text.size() > name.size()) return false;
    const char* end = name.data() + name.size();
    for (std::size_t i = text.size(); i > 0; --i) {
        if (*--end != text[i - 1]) return false;
    }
    return true;
}

bool startsWith(std::string_view name, std::string_view text) {
    if (text.size() > name.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (name[i] != text[i]) return false;
    }
    return true;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

class NameGlob::Parser {
public:
    explicit Parser(std::string_view part) : part_(part) {}

    std::variant<NameGlob, ExcludePatternFault> run() {
        while (at_ < part_.size()) {
            if (const auto fault = step()) return *fault;
        }
        return std::move(glob_);
    }

private:
    std::optional<ExcludePatternFault> step() {
        const char c = part_[at_];
        if (c == '*') {
            if (at_ + 1 < part_.size() && part_[at_ + 1] == '*') {
                return ExcludePatternFault::partialGlobstar;
            }
            push(Kind::anyRun, 0);
            ++at_;
            return std::nullopt;
        }
        if (c == '?') {
            push(Kind::anyCharacter, 0);
            ++at_;
            return std::nullopt;
        }
        if (c == '[') return characterClass();
        if (c == '\\' && ++at_ == part_.size()) return ExcludePatternFault::trailingBackslash;
        appendText();
        return std::nullopt;
    }

    void push(Kind kind, std::uint32_t begin) { glob_.tokens_.push_back({kind, false, begin, 0}); }

    void appendText() {
        const std::size_t size = characterSize(part_, at_);
        if (glob_.tokens_.empty() || glob_.tokens_.back().kind != Kind::text) {
            push(Kind::text, static_cast<std::uint32_t>(glob_.text_.size()));
        }
        Token& token = glob_.tokens_.back();
        token.size += static_cast<std::uint32_t>(size);
        token.checksBoundary |= size == 1 && static_cast<unsigned char>(part_[at_]) >= 0x80;
        glob_.text_.append(part_.substr(at_, size));
        at_ += size;
    }

    std::optional<ExcludePatternFault> characterClass() {
        ++at_;
        CharacterClass members;
        if (at_ < part_.size() && (part_[at_] == '!' || part_[at_] == '^')) {
            members.negated = true;
            ++at_;
        }
        for (bool first = true;; first = false) {
            if (at_ >= part_.size()) return ExcludePatternFault::unclosedClass;
            if (part_[at_] == ']' && !first) break;
            if (startsNamedClass()) return ExcludePatternFault::namedClass;
            char32_t low = 0;
            if (const auto fault = member(low)) return fault;
            char32_t high = low;
            if (at_ + 1 < part_.size() && part_[at_] == '-' && part_[at_ + 1] != ']') {
                ++at_;
                if (const auto fault = member(high)) return fault;
                if (high < low) return ExcludePatternFault::reversedRange;
            }
            members.ranges.emplace_back(low, high);
        }
        ++at_;
        push(Kind::characterClass, static_cast<std::uint32_t>(glob_.classes_.size()));
        glob_.classes_.push_back(std::move(members));
        return std::nullopt;
    }

    std::optional<ExcludePatternFault> member(char32_t& value) {
        if (part_[at_] == '\\' && ++at_ == part_.size()) {
            return ExcludePatternFault::trailingBackslash;
        }
        const Character character = characterAt(part_, at_);
        value = character.value;
        at_ += character.size;
        return std::nullopt;
    }

    // "[:alpha:]" inside a class: other tools read it as a named set, here it would silently
    // be a set of letters.
    bool startsNamedClass() const {
        if (part_.substr(at_, 2) != "[:") return false;
        std::size_t end = at_ + 2;
        while (end < part_.size() && isAsciiLetter(part_[end])) ++end;
        return end > at_ + 2 && part_.substr(end, 2) == ":]";
    }

    std::string_view part_;
    std::size_t at_ = 0;
    NameGlob glob_;
};

std::variant<NameGlob, ExcludePatternFault> NameGlob::parse(std::string_view part) {
    auto parsed = Parser(part).run();
    if (auto* glob = std::get_if<NameGlob>(&parsed)) glob->findShape();
    return parsed;
}

// Text that is UTF-8 starts and ends on a character boundary of any name that holds it, so a
// plain comparison gives what the general matcher would.
void NameGlob::findShape() {
    const auto isText = [this](std::size_t index) {
        return tokens_[index].kind == Kind::text && !tokens_[index].checksBoundary;
    };
    const auto isStar = [this](std::size_t index) { return tokens_[index].kind == Kind::anyRun; };
    if (tokens_.size() == 1 && tokens_[0].kind == Kind::text) {
        shape_ = Shape::literal;
    } else if (tokens_.size() == 2 && isStar(0) && isText(1)) {
        shape_ = Shape::suffix;
        shapeText_ = 1;
    } else if (tokens_.size() == 2 && isText(0) && isStar(1)) {
        shape_ = Shape::prefix;
    }
}

bool NameGlob::CharacterClass::contains(char32_t character) const {
    bool member = false;
    for (const auto& [low, high] : ranges) {
        if (character >= low && character <= high) {
            member = true;
            break;
        }
    }
    return member != negated;
}

bool NameGlob::tokenMatches(const Token& token, std::string_view name, std::size_t& at) const {
    if (token.kind == Kind::text) {
        if (!startsWith(name.substr(at), textOf(token))) return false;
        const std::size_t end = at + token.size;
        if (token.checksBoundary) {
            while (at < end) at += characterSize(name, at);
            if (at != end) return false;
        }
        at = end;
        return true;
    }
    if (at >= name.size()) return false;
    if (token.kind == Kind::anyCharacter) {
        at += characterSize(name, at);
        return true;
    }
    const Character character = characterAt(name, at);
    if (!classes_[token.begin].contains(character.value)) return false;
    at += character.size;
    return true;
}

bool NameGlob::matches(std::string_view name) const {
    switch (shape_) {
        case Shape::literal:
            return name == textOf(tokens_[shapeText_]);
        case Shape::suffix:
            return endsWith(name, textOf(tokens_[shapeText_]));
        case Shape::prefix:
            return startsWith(name, textOf(tokens_[shapeText_]));
        case Shape::general:
            break;
    }
    return matchesGenerally(name);
}

// Where the tokens after a star may start matching, from `from` on; kNone when nowhere. Text
// that is UTF-8 is searched for at once: it can only start on a character boundary.
std::size_t NameGlob::nextStart(std::size_t starToken, std::string_view name,
                                std::size_t from) const {
    const Token& next = tokens_[starToken + 1];
    if (next.kind != Kind::text || next.checksBoundary) return from;
    const std::size_t found = name.find(textOf(next), from);
    return found == std::string_view::npos ? kNone : found;
}

// The classic two-pointer match: a star first takes as little as it can and one more
// character each time what follows it fails; only the latest star needs to be retried.
bool NameGlob::matchesGenerally(std::string_view name) const {
    const std::size_t count = tokens_.size();
    std::size_t token = 0;
    std::size_t at = 0;
    std::size_t starToken = kNone;
    std::size_t starAt = 0;
    for (;;) {
        if (token < count) {
            const Token& current = tokens_[token];
            if (current.kind == Kind::anyRun) {
                if (token + 1 == count) return true;
                starToken = token;
                starAt = nextStart(starToken, name, at);
                if (starAt == kNone) return false;
                at = starAt;
                ++token;
                continue;
            }
            std::size_t next = at;
            if (tokenMatches(current, name, next)) {
                at = next;
                ++token;
                continue;
            }
        } else if (at == name.size()) {
            return true;
        }
        if (starToken == kNone || starAt >= name.size()) return false;
        starAt = nextStart(starToken, name, starAt + characterSize(name, starAt));
        if (starAt == kNone) return false;
        at = starAt;
        token = starToken + 1;
    }
}

std::optional<std::string> NameGlob::literal() const {
    if (shape_ != Shape::literal) return std::nullopt;
    return std::string(textOf(tokens_[0]));
}

}  // namespace sorrelix::engine
