#include "folder_cache.h"

namespace sorrelix::engine {

int FolderCache::folder(std::string_view relativePath, bool create) {
    if (fd_ && path_ == relativePath) return fd_.get();
    fd_ = create ? root_.makeFolders(relativePath) : root_.openFolder(relativePath);
    path_ = fd_ ? std::string(relativePath) : std::string();
    return fd_.get();
}

}  // namespace sorrelix::engine
