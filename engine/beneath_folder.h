#pragma once

#include <string>
#include <string_view>

#include "unique_fd.h"

namespace sorrelix::engine {

// A folder held open, inside which every path is resolved beneath it: a symbolic link that
// stays inside may be followed, one that leads out (or any absolute one) is refused. Holding
// the folder's descriptor means a component swapped for a link after a check cannot redirect
// a later write, because every write goes through *at() calls on single names.
class BeneathFolder {
public:
    // Opens `path` itself (following links in it); throws EngineError on failure.
    explicit BeneathFolder(const std::string& path);
    BeneathFolder(UniqueFd fd, std::string path);

    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }

    // The folder at `relativePath` ("" for the folder itself) as an O_PATH descriptor, or
    // an invalid one with errno set (EXDEV or ELOOP when it would leave the folder).
    UniqueFd openFolder(std::string_view relativePath, bool allowLinks = true) const;
    // The same, opened for reading its entries.
    UniqueFd openFolderForListing(std::string_view relativePath, bool allowLinks = true) const;

    // Opens the folder, creating missing components; errno set on failure.
    UniqueFd makeFolders(std::string_view relativePath) const;

    // True when errno from the calls above means the path would lead out of the folder.
    static bool isEscapeError(int errorNumber);

private:
    UniqueFd fd_;
    std::string path_;
};

}  // namespace sorrelix::engine
