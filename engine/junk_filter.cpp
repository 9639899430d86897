#include "apfs_engine.h"

#include <array>

namespace sorrelix::engine {

bool APFSEngine::isJunkFile(std::string_view relativePath, std::string_view fileName) {
    static constexpr std::array<std::string_view, 9> kJunkNames = {
        ".DS_Store",       ".localized",   "Thumbs.db",
        "desktop.ini",     "$RECYCLE.BIN", "System Volume Information",
        ".Spotlight-V100", ".Trashes",     ".fseventsd"};
    for (auto junk : kJunkNames) {
        if (fileName == junk) return true;
    }
    if (fileName.starts_with("._")) return true;
    if (relativePath == ".sorrelix" || relativePath.starts_with(".sorrelix/")) return true;
    return relativePath.find("/.sorrelix/") != std::string_view::npos;
}

}  // namespace sorrelix::engine
