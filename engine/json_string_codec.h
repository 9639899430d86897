#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace sorrelix::engine {

// Length of the well-formed UTF-8 sequence starting at `at` (at < bytes.size()), or 0 when
// the bytes there are not one.
std::size_t validSequenceLength(std::string_view bytes, std::size_t at);

// Appends a JSON string literal for a byte string: valid UTF-8 stays raw, each byte outside
// valid UTF-8 becomes \udc80..\udcff, "/" becomes "\/", control characters are escaped.
void appendJsonString(QByteArray& out, std::string_view bytes);

// Appends a JSON string literal for interface text; unpaired surrogates become \u escapes.
void appendJsonString(QByteArray& out, const QString& text);

// The bytes a decoded JSON string stands for: \udc80..\udcff give back their byte, all else
// is UTF-8. No value when the text holds any other unpaired surrogate.
std::optional<std::string> bytesFromJsonString(const QString& text);

}  // namespace sorrelix::engine
