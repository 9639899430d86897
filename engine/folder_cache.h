#pragma once

#include <string>
#include <string_view>

#include "beneath_folder.h"

namespace sorrelix::engine {

// Remembers the last folder opened below a root: the items of a summary come folder by
// folder, so one entry saves nearly every path resolution.
class FolderCache {
public:
    explicit FolderCache(const BeneathFolder& root) : root_(root) {}

    // The folder, created when missing; invalid with errno set on failure.
    int folder(std::string_view relativePath, bool create);
    void forget() { fd_.reset(); }

private:
    const BeneathFolder& root_;
    std::string path_;
    UniqueFd fd_;
};

}  // namespace sorrelix::engine
