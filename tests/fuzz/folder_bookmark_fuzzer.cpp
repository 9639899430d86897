// Decodes hostile bytes as a stored folder grant. The byte form is canonical, so whatever is
// accepted must encode back to exactly the input, and must name an absolute path.

#include "folder_bookmark.h"
#include "fuzz_check.h"

using sorrelix::app::BookmarkError;
using sorrelix::app::FolderBookmark;
using namespace sorrelix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = bytesOf(data, size);
    try {
        const FolderBookmark bookmark = FolderBookmark::fromBytes(input);
        require(bookmark.toBytes() == input, "bytes -> grant -> bytes is the identity");
        require(bookmark.path().startsWith('/') && !bookmark.path().contains('\0'),
                "an accepted grant names an absolute path without NUL");
        require(FolderBookmark::fromBytes(bookmark.toBytes()).path() == bookmark.path(),
                "a grant decodes again to the same path");
    } catch (const BookmarkError&) {
    }
    return 0;
}
