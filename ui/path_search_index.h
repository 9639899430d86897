#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_diff_item.h"

namespace sorrelix::ui {

// The relative paths of a list of items, prepared once for case-insensitive substring search:
// decoded, composed (NFC) and case-folded, kept as UTF-8 in one buffer with a NUL after each
// path. A search is then a single scan of that buffer. UTF-8 is self-synchronising, so a byte
// match of a folded needle is a match of whole characters; paths never hold NUL, so a match
// never spans two paths.
class PathSearchIndex {
public:
    explicit PathSearchIndex(const std::vector<engine::FileDiffItem>& items);

    // The needle for a search text, folded the same way; none when no path can contain it.
    static std::optional<std::string> foldedNeedle(const QString& text);
    // The folded form of one raw relative path.
    static void appendFolded(std::string_view rawPath, std::string& out);

    // Appends the index of every item whose path contains `needle` (non-empty), ascending.
    void appendMatches(std::string_view needle, std::vector<std::uint32_t>& items) const;

    std::size_t itemCount() const { return itemCount_; }
    std::size_t memoryBytes() const { return folded_.capacity(); }

private:
    std::string folded_;
    std::size_t itemCount_ = 0;
};

}  // namespace sorrelix::ui
