#pragma once

#include <string>

namespace sorrelix::engine {

// Removes the entry `name` in the folder `dirFd`, a folder with all its contents. Symbolic
// links are removed, never followed. Returns 0 or the errno of the first failure.
int removeTree(int dirFd, const std::string& name);

}  // namespace sorrelix::engine
