#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string_view>

namespace sorrelix::engine {

// How one source file compares with the file at the same relative path in the target.
enum class FileDiffKind : unsigned char { added, updated, identical };

inline constexpr std::array<FileDiffKind, 3> kAllFileDiffKinds = {
    FileDiffKind::added, FileDiffKind::updated, FileDiffKind::identical};

std::string_view rawValue(FileDiffKind kind);
std::optional<FileDiffKind> fileDiffKindFromRawValue(std::string_view raw);
const char* titleKey(FileDiffKind kind);
// The interface text of the kind in the language selected at the moment of the call.
QString title(FileDiffKind kind);

}  // namespace sorrelix::engine
