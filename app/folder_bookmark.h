#pragma once

#include <QByteArray>
#include <cstdint>
#include <stdexcept>

namespace sorrelix::app {

// Why a bookmark could not be made, read or resolved; what() is the text that is printed.
class BookmarkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A persistent grant for one folder: its path (raw bytes) and the identity of the folder
// that stood there when the grant was made, so that resolving can tell the same folder from
// one that replaced it. The byte form is versioned; bytes that are truncated, altered or
// from elsewhere are rejected with a BookmarkError.
class FolderBookmark {
public:
    struct Resolution {
        QByteArray path;
        bool isStale = false;  // another folder stands at the path now: record it again
    };

    // Throws when nothing, or no folder, stands at the path.
    static FolderBookmark forFolder(const QByteArray& path);
    static FolderBookmark fromBytes(const QByteArray& bytes);

    QByteArray toBytes() const;
    const QByteArray& path() const { return path_; }
    // Throws when nothing, or no folder, stands at the path any more.
    Resolution resolve() const;

private:
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t birthSeconds = 0;  // 0 where the file system keeps no birth time
        std::uint32_t birthNanoseconds = 0;

        bool sameFolderAs(const Identity& other) const;
    };

    FolderBookmark(QByteArray path, Identity identity);
    static Identity identityOf(const QByteArray& path);

    QByteArray path_;
    Identity identity_;
};

}  // namespace sorrelix::app
