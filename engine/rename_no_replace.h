#pragma once

#include <string>

namespace sorrelix::engine {

// Moves `name` in `fromDir` to `newName` in `toDir`, never replacing what stands there:
// returns 0, or -1 with errno set (EEXIST when the destination is taken). File systems without
// RENAME_NOREPLACE (sshfs) get a look at the destination first, then a plain rename.
int renameNoReplace(int fromDir, const std::string& name, int toDir, const std::string& newName);

}  // namespace sorrelix::engine
