#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "unique_fd.h"

namespace sorrelix::engine {

// Opens a relative path below `dirFd` with `open(dirFd, path)`, splitting a path that is too
// long for one system call (ENAMETOOLONG) at a "/" and opening it piece by piece, so trees
// deeper than PATH_MAX can still be walked. Returns an invalid descriptor with errno set.
template <typename Opener>
UniqueFd openDeep(int dirFd, std::string_view path, const Opener& open) {
    UniqueFd fd(open(dirFd, std::string(path.empty() ? std::string_view(".") : path)));
    if (fd || errno != ENAMETOOLONG) return fd;
    const auto middle = path.find('/', path.size() / 2);
    const auto split = middle == std::string_view::npos ? path.rfind('/') : middle;
    if (split == std::string_view::npos || split == 0) return fd;
    UniqueFd head = openDeep(dirFd, path.substr(0, split), open);
    if (!head) return head;
    return openDeep(head.get(), path.substr(split + 1), open);
}

}  // namespace sorrelix::engine
