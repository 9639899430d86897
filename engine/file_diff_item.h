#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "date.h"
#include "file_diff_kind.h"

namespace sorrelix::engine {

// The comparison result for one source file. Paths are raw bytes: Linux file names need not
// be valid UTF-8, and they are decoded for display only.
struct FileDiffItem {
    std::string relativePath;
    FileDiffKind kind = FileDiffKind::added;
    std::int64_t sourceSize = 0;
    std::int64_t targetSize = 0;
    Date sourceDate;
    std::optional<Date> targetDate;

    const std::string& id() const { return relativePath; }
};

}  // namespace sorrelix::engine
