#include "json_string_codec.h"

namespace sorrelix::engine {

namespace {

constexpr char16_t kByteEscapeBase = 0xDC00;
constexpr char kHexDigits[] = "0123456789abcdef";

void appendUnicodeEscape(QByteArray& out, char16_t unit) {
    out.append("\\u");
    for (int shift = 12; shift >= 0; shift -= 4) out.append(kHexDigits[(unit >> shift) & 0xF]);
}

void appendEscapedAscii(QByteArray& out, char c) {
    switch (c) {
        case '"':
            out.append("\\\"");
            return;
        case '\\':
            out.append("\\\\");
            return;
        case '/':
            out.append("\\/");
            return;
        case '\b':
            out.append("\\b");
            return;
        case '\f':
            out.append("\\f");
            return;
        case '\n':
            out.append("\\n");
            return;
        case '\r':
            out.append("\\r");
            return;
        case '\t':
            out.append("\\t");
            return;
        default:
            break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
        appendUnicodeEscape(out, static_cast<char16_t>(c));
    } else {
        out.append(c);
    }
}

}  // namespace

// Unicode table 3-7: overlong forms, surrogates, code points beyond U+10FFFF and truncated
// sequences are not well-formed.
std::size_t validSequenceLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondMin = 0xA0;
        if (lead == 0xED) secondMax = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondMin = 0x90;
        if (lead == 0xF4) secondMax = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    if (second < secondMin || second > secondMax) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

namespace {

template <typename Bytes>
void appendUtf8(Bytes& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool startsSurrogatePair(const QString& text, qsizetype at) {
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
}

}  // namespace

void appendJsonString(QByteArray& out, std::string_view bytes) {
    out.append('"');
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = validSequenceLength(bytes, at);
        if (length == 0) {
            appendUnicodeEscape(out, kByteEscapeBase + static_cast<unsigned char>(bytes[at]));
            at += 1;
        } else if (length == 1) {
            appendEscapedAscii(out, bytes[at]);
            at += 1;
        } else {
            out.append(bytes.data() + at, static_cast<qsizetype>(length));
            at += length;
        }
    }
    out.append('"');
}

void appendJsonString(QByteArray& out, const QString& text) {
    out.append('"');
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        if (startsSurrogatePair(text, at)) {
            appendUtf8(out, QChar::surrogateToUcs4(unit, text[at + 1].unicode()));
            ++at;
        } else if (QChar::isSurrogate(unit)) {
            appendUnicodeEscape(out, unit);
        } else if (unit < 0x80) {
            appendEscapedAscii(out, static_cast<char>(unit));
        } else {
            appendUtf8(out, unit);
        }
    }
    out.append('"');
}

std::optional<std::string> bytesFromJsonString(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        if (startsSurrogatePair(text, at)) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text[at + 1].unicode()));
            ++at;
        } else if (unit >= kByteEscapeBase + 0x80 && unit <= kByteEscapeBase + 0xFF) {
            bytes.push_back(static_cast<char>(unit - kByteEscapeBase));
        } else if (QChar::isSurrogate(unit)) {
            return std::nullopt;
        } else {
            appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

}  // namespace sorrelix::engine
