#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sorrelix::engine {

// The entries of a folder (held open as `dirFd`, O_PATH is enough): each name and whether it
// is a folder itself (a link to a folder is not). Empty when the folder cannot be listed.
std::vector<std::pair<std::string, bool>> listFolder(int dirFd);

// The relative paths of everything below the folder that is not a folder: what a backup
// folder holds, file by file. Links are listed, never followed.
std::vector<std::string> listEntriesBelow(int dirFd);

}  // namespace sorrelix::engine
