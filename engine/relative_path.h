#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sorrelix::engine {

// Helpers for "/"-separated relative paths held as raw bytes.
struct SplitPath {
    std::string_view parent;  // empty for a name at the top of the tree
    std::string_view name;
};

SplitPath splitParent(std::string_view relativePath);
std::string joinPath(std::string_view folder, std::string_view name);

// True for a non-empty relative path with no empty, "." or ".." component, no leading "/"
// and no NUL byte: the only paths that may come from a stored record and be acted upon.
bool isSafeRelativePath(std::string_view relativePath);

// Quotes a path for a message shown to the user (decoded leniently).
QString displayPath(std::string_view path);

}  // namespace sorrelix::engine
