#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "exclude_pattern_fault.h"

namespace sorrelix::engine {

// A compiled glob for one name (one part of a path, never holding "/"), matched on bytes and
// case-sensitively. `*` matches any run of bytes, `?` one character, `[...]` one character of
// a class (ranges a-z; a leading `!` or `^` negates; a `]` right after the opening is a
// member), `\` makes the next character literal. A character is a well-formed UTF-8 sequence,
// or else a single byte, so `?` matches "é" and also a lone Latin-1 byte.
class NameGlob {
public:
    static std::variant<NameGlob, ExcludePatternFault> parse(std::string_view part);

    bool matches(std::string_view name) const;

    // The name itself when the glob has no wildcard.
    std::optional<std::string> literal() const;

private:
    // Common shapes, answered by one comparison instead of the general matcher.
    enum class Shape : std::uint8_t { general, literal, suffix, prefix };
    enum class Kind : std::uint8_t { text, anyCharacter, anyRun, characterClass };
    struct Token {
        Kind kind;
        // Text holding bytes that are not UTF-8 must also end on a character boundary of
        // the name: a lone lead byte in the pattern is not the start of "é".
        bool checksBoundary;
        std::uint32_t begin;  // text: offset in text_; class: index in classes_
        std::uint32_t size;
    };
    struct CharacterClass {
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        bool contains(char32_t character) const;
    };
    class Parser;

    void findShape();
    std::string_view textOf(const Token& token) const;
    bool tokenMatches(const Token& token, std::string_view name, std::size_t& at) const;
    bool matchesGenerally(std::string_view name) const;
    std::size_t nextStart(std::size_t starToken, std::string_view name, std::size_t from) const;

    std::vector<Token> tokens_;
    std::string text_;
    std::vector<CharacterClass> classes_;
    Shape shape_ = Shape::general;
    std::size_t shapeText_ = 0;  // the text token of a literal, suffix or prefix
};

inline std::string_view NameGlob::textOf(const Token& token) const {
    return std::string_view(text_).substr(token.begin, token.size);
}

}  // namespace sorrelix::engine
