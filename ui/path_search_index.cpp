#include "path_search_index.h"

#include <QFile>
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sorrelix::ui {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void lowerAscii(char* begin, char* end) {
    std::transform(begin, end, begin,
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
}

// Ranges whose characters are unchanged by composition (NFC) whatever precedes them and fold
// one at a time as the whole string would (Latin, Cyrillic without its combining marks, kana,
// CJK ideographs, Hangul syllables). Text made only of these, and of ASCII, is folded without
// building a QString; anything else, combining marks included, takes the full route.
bool foldsAlone(char32_t code) {
    constexpr char32_t kRanges[][2] = {{0x80, 0x2FF},    {0x400, 0x482},   {0x48A, 0x52F},
                                       {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0x4E00, 0x9FFF},
                                       {0xAC00, 0xD7A3}};
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [code](const auto& range) { return code >= range[0] && code <= range[1]; });
}

void appendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(char(code));
    } else if (code < 0x800) {
        out.push_back(char(0xC0 | (code >> 6)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(char(0xE0 | (code >> 12)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (code >> 18)));
        out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    }
}

// The code point starting at `text[at]` of a two- or three-byte UTF-8 sequence (all that
// foldsAlone accepts), advancing `at`; none for anything else.
std::optional<char32_t> nextCode(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i) {
        return i < text.size() && (byte(i) & 0xC0) == 0x80;
    };
    if ((byte(at) & 0xE0) == 0xC0 && continuation(at + 1)) {
        const char32_t code = char32_t(byte(at) & 0x1F) << 6 | (byte(at + 1) & 0x3F);
        at += 2;
        return code >= 0x80 ? std::optional(code) : std::nullopt;
    }
    if ((byte(at) & 0xF0) == 0xE0 && continuation(at + 1) && continuation(at + 2)) {
        const char32_t code = char32_t(byte(at) & 0x0F) << 12 | char32_t(byte(at + 1) & 0x3F) << 6 |
                              (byte(at + 2) & 0x3F);
        at += 3;
        return code >= 0x800 ? std::optional(code) : std::nullopt;
    }
    return std::nullopt;
}

bool appendFoldedQuickly(std::string_view raw, std::string& out) {
    const std::size_t start = out.size();
    for (std::size_t at = 0; at < raw.size();) {
        const char c = raw[at];
        if (static_cast<unsigned char>(c) < 0x80) {
            out.push_back(c >= 'A' && c <= 'Z' ? char(c + 32) : c);
            ++at;
            continue;
        }
        const std::optional<char32_t> code = nextCode(raw, at);
        if (!code || !foldsAlone(*code)) {
            out.resize(start);
            return false;
        }
        appendUtf8(QChar::toCaseFolded(*code), out);
    }
    return true;
}

QByteArray foldedUtf8(const QString& text) {
    return text.normalized(QString::NormalizationForm_C).toCaseFolded().toUtf8();
}

// Walks the buffer once, keeping the number of the path under the cursor (one more after
// every NUL) and appending it at its first match. Blocks of 16 places are tested at once:
// a place is a candidate when its byte is the needle's first and the byte length-1 further
// on is the needle's last; only candidates are compared in full. A candidate can never run
// into the next path, since the needle holds no NUL.
class MatchScan {
public:
    MatchScan(std::string_view buffer, std::string_view needle, std::vector<std::uint32_t>& out)
        : buffer_(buffer), needle_(needle), out_(out) {}

    void run() {
        std::size_t at = 0;
#if defined(__SSE2__)
        const std::size_t span = needle_.size() - 1 + 16;  // bytes a block reads
        const __m128i zero = _mm_setzero_si128();
        const __m128i first = _mm_set1_epi8(needle_.front());
        const __m128i last = _mm_set1_epi8(needle_.back());
        for (; at + span <= buffer_.size(); at += 16) {
            const char* place = buffer_.data() + at;
            const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(place));
            const __m128i lasts =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(place + needle_.size() - 1));
            const auto nuls = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(firsts, zero)));
            const auto candidates = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(firsts, first), _mm_cmpeq_epi8(lasts, last))));
            if ((nuls | candidates) == 0) continue;
            if (candidates == 0 || (matched_ && nuls == 0)) {
                // Nothing to compare: at most path ends to count.
                if (nuls != 0) passPathEnds(nuls);
                continue;
            }
            unsigned bits = nuls | candidates;
            while (bits != 0) {
                const int offset = __builtin_ctz(bits);
                visit(at + std::size_t(offset), (nuls >> offset) & 1U);
                bits &= bits - 1;
                if (matched_) bits = fromNextPathEnd(bits & nuls, bits);
            }
        }
#endif
        for (; at < buffer_.size(); ++at) visit(at, buffer_[at] == '\0');
    }

private:
    // The bits from the next path end on: the path under the cursor already matched.
    static unsigned fromNextPathEnd(unsigned pathEnds, unsigned bits) {
        if (pathEnds == 0) return 0;
        const unsigned next = pathEnds & (~pathEnds + 1);
        return bits & ~(next - 1);
    }

    void passPathEnds(unsigned nuls) {
        path_ += std::uint32_t(__builtin_popcount(nuls));
        matched_ = false;
    }

    void visit(std::size_t at, bool pathEnd) {
        if (pathEnd) {
            ++path_;
            matched_ = false;
            return;
        }
        if (matched_ || at + needle_.size() > buffer_.size()) return;
        if (isMatch(buffer_.data() + at)) {
            out_.push_back(path_);
            matched_ = true;
        }
    }

    bool isMatch(const char* place) const {
        const std::size_t size = needle_.size();
        // Candidates already agree in the first and the last byte.
        return place[0] == needle_[0] && place[size - 1] == needle_[size - 1] &&
               (size <= 2 || std::memcmp(place + 1, needle_.data() + 1, size - 2) == 0);
    }

    std::string_view buffer_;
    std::string_view needle_;
    std::vector<std::uint32_t>& out_;
    std::uint32_t path_ = 0;
    bool matched_ = false;
};

}  // namespace

PathSearchIndex::PathSearchIndex(const std::vector<engine::FileDiffItem>& items)
    : itemCount_(items.size()) {
    std::size_t total = 0;
    for (const auto& item : items) total += item.relativePath.size() + 1;
    folded_.reserve(total);
    for (const auto& item : items) {
        appendFolded(item.relativePath, folded_);
        folded_.push_back('\0');
    }
    // Non-ASCII paths may fold to more bytes than they had.
    folded_.shrink_to_fit();
}

void PathSearchIndex::appendFolded(std::string_view rawPath, std::string& out) {
    if (isAscii(rawPath)) {
        const std::size_t start = out.size();
        out.append(rawPath);
        lowerAscii(out.data() + start, out.data() + out.size());
        return;
    }
    if (appendFoldedQuickly(rawPath, out)) return;
    const QByteArray bytes(rawPath.data(), qsizetype(rawPath.size()));
    const QByteArray folded = foldedUtf8(QFile::decodeName(bytes));
    out.append(folded.constData(), std::size_t(folded.size()));
}

std::optional<std::string> PathSearchIndex::foldedNeedle(const QString& text) {
    const QByteArray folded = foldedUtf8(text);
    if (folded.contains('\0')) return std::nullopt;
    return folded.toStdString();
}

void PathSearchIndex::appendMatches(std::string_view needle,
                                    std::vector<std::uint32_t>& items) const {
    if (needle.empty()) return;
    MatchScan(folded_, needle, items).run();
}

}  // namespace sorrelix::ui
