#pragma once

#include <QString>
#include <concepts>
#include <type_traits>

namespace sorrelix::text {

// The text of a key in the selected interface language; falls back to English, then to
// the key itself. Safe to call from any thread.
QString loc(const char* key);
// A translator's note beside a key; the lookup ignores it. A distinct type, so that a plain
// string argument is always filled into the text, never mistaken for a note.
struct Comment {
    const char* text;
};
inline QString loc(const char* key, Comment /*comment*/) {
    return loc(key);
}

namespace detail {
inline QString toArgument(const QString& value) {
    return value;
}
inline QString toArgument(const char* value) {
    return QString::fromUtf8(value);
}
template <typename T>
requires std::is_arithmetic_v<T> QString toArgument(T value) {
    return QString::number(value);
}
}  // namespace detail

// Fills the positional placeholders %1, %2, ... of the key's text with the arguments, in
// order and without a locale. A table whose placeholders do not match cannot crash: a
// missing placeholder leaves the argument out, an extra one stays as written.
template <typename... Args>
QString loc(const char* key, const Args&... arguments) {
    QString format = loc(key);
    return format.arg(detail::toArgument(arguments)...);
}

}  // namespace sorrelix::text
