#include "folder_bookmark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QString>
#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace sorrelix::app {

namespace {

constexpr char kMagic[4] = {'S', 'X', 'F', 'B'};
constexpr std::uint8_t kVersion = 1;
// magic, version, device, inode, birth seconds, birth nanoseconds, path length
constexpr qsizetype kHeaderSize = 4 + 1 + 8 + 8 + 8 + 4 + 4;

QString describe(const QByteArray& path) {
    return QString::fromUtf8(path);
}

[[noreturn]] void failStat(const QByteArray& path, int errorNumber) {
    throw BookmarkError(QStringLiteral("The folder %1 cannot be read: %2")
                            .arg(describe(path), QString::fromLocal8Bit(std::strerror(errorNumber)))
                            .toStdString());
}

template <typename T>
void append(QByteArray& bytes, T value) {
    char buffer[sizeof(T)];
    qToBigEndian(value, buffer);
    bytes.append(buffer, sizeof(T));
}

// Reads fixed-size fields front to back; the caller has checked the length first.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& bytes) : data_(bytes.constData()) {}

    template <typename T>
    T next() {
        const T value = qFromBigEndian<T>(data_ + offset_);
        offset_ += sizeof(T);
        return value;
    }
    void skip(qsizetype count) { offset_ += count; }

private:
    const char* data_;
    qsizetype offset_ = 0;
};

bool isPlausibleFolderPath(const QByteArray& path) {
    return path.startsWith('/') && !path.contains('\0');
}

}  // namespace

bool FolderBookmark::Identity::sameFolderAs(const Identity& other) const {
    if (device != other.device || inode != other.inode) return false;
    // A reused inode number still differs in its birth time, where both sides know one.
    const bool bothHaveBirth = birthSeconds != 0 && other.birthSeconds != 0;
    return !bothHaveBirth ||
           (birthSeconds == other.birthSeconds && birthNanoseconds == other.birthNanoseconds);
}

FolderBookmark::FolderBookmark(QByteArray path, Identity identity)
    : path_(std::move(path)), identity_(identity) {}

FolderBookmark::Identity FolderBookmark::identityOf(const QByteArray& path) {
    if (!isPlausibleFolderPath(path)) {
        throw BookmarkError(QStringLiteral("%1 is not an absolute local folder path")
                                .arg(describe(path))
                                .toStdString());
    }
    struct statx info {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_TYPE | STATX_INO | STATX_BTIME, &info) != 0) {
        failStat(path, errno);
    }
    if (!S_ISDIR(info.stx_mode)) failStat(path, ENOTDIR);
    Identity identity;
    identity.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    identity.inode = info.stx_ino;
    if (info.stx_mask & STATX_BTIME) {
        identity.birthSeconds = info.stx_btime.tv_sec;
        identity.birthNanoseconds = info.stx_btime.tv_nsec;
    }
    return identity;
}

FolderBookmark FolderBookmark::forFolder(const QByteArray& path) {
    return FolderBookmark(path, identityOf(path));
}

QByteArray FolderBookmark::toBytes() const {
    QByteArray bytes(kMagic, sizeof(kMagic));
    append(bytes, kVersion);
    append(bytes, identity_.device);
    append(bytes, identity_.inode);
    append(bytes, identity_.birthSeconds);
    append(bytes, identity_.birthNanoseconds);
    append(bytes, static_cast<std::uint32_t>(path_.size()));
    bytes.append(path_);
    return bytes;
}

FolderBookmark FolderBookmark::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < kHeaderSize || !bytes.startsWith(QByteArray(kMagic, sizeof(kMagic)))) {
        throw BookmarkError("The data is not a Sorrelix folder bookmark");
    }
    FieldReader reader(bytes);
    reader.skip(sizeof(kMagic));
    const auto version = reader.next<std::uint8_t>();
    if (version != kVersion) {
        throw BookmarkError("Unsupported folder bookmark version " + std::to_string(version));
    }
    Identity identity;
    identity.device = reader.next<std::uint64_t>();
    identity.inode = reader.next<std::uint64_t>();
    identity.birthSeconds = reader.next<std::int64_t>();
    identity.birthNanoseconds = reader.next<std::uint32_t>();
    const auto pathLength = reader.next<std::uint32_t>();
    if (pathLength != static_cast<std::uint64_t>(bytes.size() - kHeaderSize)) {
        throw BookmarkError("The folder bookmark is truncated or corrupt");
    }
    QByteArray path = bytes.mid(kHeaderSize);
    if (!isPlausibleFolderPath(path)) {
        throw BookmarkError("The folder bookmark holds no absolute folder path");
    }
    return FolderBookmark(std::move(path), identity);
}

FolderBookmark::Resolution FolderBookmark::resolve() const {
    const Identity current = identityOf(path_);
    return {path_, !current.sameFolderAs(identity_)};
}

}  // namespace sorrelix::app
