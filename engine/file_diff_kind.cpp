#include "file_diff_kind.h"

#include "loc.h"

namespace sorrelix::engine {

std::string_view rawValue(FileDiffKind kind) {
    switch (kind) {
        case FileDiffKind::added:
            return "added";
        case FileDiffKind::updated:
            return "updated";
        case FileDiffKind::identical:
            return "identical";
    }
    return {};
}

std::optional<FileDiffKind> fileDiffKindFromRawValue(std::string_view raw) {
    for (FileDiffKind kind : kAllFileDiffKinds) {
        if (rawValue(kind) == raw) return kind;
    }
    return std::nullopt;
}

const char* titleKey(FileDiffKind kind) {
    switch (kind) {
        case FileDiffKind::added:
            return "diff_kind_added";
        case FileDiffKind::updated:
            return "diff_kind_updated";
        case FileDiffKind::identical:
            return "diff_kind_identical";
    }
    return "";
}

QString title(FileDiffKind kind) {
    return text::loc(titleKey(kind));
}

}  // namespace sorrelix::engine
