#include "tour_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <random>
#include <stdexcept>
#include <vector>

namespace sorrelix::tools {
namespace {

constexpr std::int64_t kChunkBytes = 1 << 20;

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

void openForWriting(QFile& file) {
    const QString path = file.fileName();
    if (!QDir().mkpath(QFileInfo(path).path())) {
        fail(QStringLiteral("cannot create the folder of ") + path);
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
}

void writeAll(QFile& file, const char* data, std::int64_t size) {
    if (file.write(data, size) != size) {
        fail(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    }
}

// Incompressible bytes written out in full, so no file system can store them sparsely and
// every copy of them takes real work.
void writeNoise(const QString& path, std::int64_t size, std::uint32_t seed) {
    std::mt19937_64 random(seed);
    std::vector<std::uint64_t> chunk(kChunkBytes / sizeof(std::uint64_t));
    for (auto& word : chunk) word = random();
    QFile file(path);
    openForWriting(file);
    for (std::int64_t written = 0; written < size; written += kChunkBytes) {
        chunk.front() = static_cast<std::uint64_t>(written);  // no two chunks alike
        writeAll(file, reinterpret_cast<const char*>(chunk.data()),
                 std::min(kChunkBytes, size - written));
    }
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    openForWriting(file);
    const QByteArray bytes = text.toUtf8();
    writeAll(file, bytes.constData(), bytes.size());
}

void setModified(const QString& path, const QString& isoTime) {
    const QDateTime time = QDateTime::fromString(isoTime, Qt::ISODate);
    const std::array<timespec, 2> times{timespec{time.toSecsSinceEpoch(), 0},
                                        timespec{time.toSecsSinceEpoch(), 0}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times.data(), 0) != 0) {
        fail(QStringLiteral("cannot set the time of ") + path);
    }
}

// The first name the folder lists, as the analysis walk meets it.
QString firstListedName(const QString& folder) {
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) fail(QStringLiteral("cannot list ") + folder);
    QString first;
    while (const dirent* entry = ::readdir(listing)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String("..")) {
            first = name;
            break;
        }
    }
    ::closedir(listing);
    return first;
}

// A merge copies in the analysis walk order, which is each folder's listing order (a hash
// order on ext4). Of a few likely names for a video, pick one that the folder lists first,
// so the merge starts with the large file and its progress stays at "1 of N" for a while.
QString nameListedFirst(const QString& folder, const QStringList& candidates) {
    for (const QString& name : candidates) {
        const QString path = folder + QLatin1Char('/') + name;
        writeText(path, QString());
        if (firstListedName(folder) == name) return name;
        QFile::remove(path);
    }
    return candidates.front();
}

const QStringList kVideoNames{
    QStringLiteral("Lisbon 2026.mov"),     QStringLiteral("Tram 28.mov"),
    QStringLiteral("Sunset at Belém.mov"), QStringLiteral("Fado night.mov"),
    QStringLiteral("Alfama walk.mov"),     QStringLiteral("Beach day.mov"),
    QStringLiteral("Sintra.mov"),          QStringLiteral("Harbour lights.mov"),
    QStringLiteral("Miradouro.mov"),       QStringLiteral("Ferry to Cacilhas.mov"),
    QStringLiteral("Pastéis.mov"),         QStringLiteral("Street music.mov"),
    QStringLiteral("Azulejos.mov"),        QStringLiteral("Departure.mov"),
    QStringLiteral("Arrival.mov"),         QStringLiteral("Castle view.mov"),
};

}  // namespace

TourFolders::TourFolders(QString root) : root_(std::move(root)) {}

QString TourFolders::holidaySource() const {
    return root_ + QStringLiteral("/Pictures/Holiday 2026 (Phone)");
}

QString TourFolders::archiveTarget() const {
    return root_ + QStringLiteral("/Archive/Family Archive");
}

void TourFolders::buildHolidayPair(std::int64_t videoBytes) {
    const QString source = holidaySource();
    const QString target = archiveTarget();
    if (!QDir().mkpath(source) || !QDir().mkpath(target))
        fail(QStringLiteral("cannot create ") + root_);

    struct Photo {
        const char* name;
        std::int64_t bytes;
    };
    constexpr std::array kNewPhotos{
        Photo{"IMG_2041.jpg", 3'412'118},  Photo{"IMG_2042.jpg", 2'907'554},
        Photo{"IMG_2043.jpg", 4'150'207},  Photo{"IMG_2044.HEIC", 1'877'310},
        Photo{"IMG_2045.HEIC", 2'036'992}, Photo{"IMG_2046.jpg", 3'764'001}};
    std::uint32_t seed = 1;
    for (const Photo& photo : kNewPhotos) {
        const QString path = source + QStringLiteral("/Photos/") + QLatin1String(photo.name);
        writeNoise(path, photo.bytes, seed);
        setModified(path, QStringLiteral("2026-08-1%1T18:20:00Z").arg(seed));
        ++seed;
    }
    // Identical on both sides: same bytes, same time.
    for (const char* name : {"IMG_2031.jpg", "IMG_2032.jpg", "IMG_2033.jpg"}) {
        for (const QString& side : {source, target}) {
            const QString path = side + QStringLiteral("/Photos/") + QLatin1String(name);
            writeNoise(path, 2'500'000, seed);
            setModified(path, QStringLiteral("2026-08-09T10:00:00Z"));
        }
        ++seed;
    }
    // Updated: the phone holds newer versions.
    const QString itinerary = QStringLiteral("/Documents/Itinerary.pdf");
    writeNoise(source + itinerary, 184'322, seed++);
    writeNoise(target + itinerary, 171'940, seed++);
    const QString packing = QStringLiteral("/Documents/Packing list.txt");
    writeText(source + packing,
              QStringLiteral("Passports\nChargers\nSunscreen\nTram tickets\nCamera\n"));
    writeText(target + packing, QStringLiteral("Passports\nChargers\nSunscreen\n"));
    const QString budget = QStringLiteral("/Documents/Budget.ods");
    writeNoise(source + budget, 48'640, seed++);
    writeNoise(target + budget, 41'980, seed++);
    for (const QString& path : {source + itinerary, source + packing, source + budget}) {
        setModified(path, QStringLiteral("2026-08-21T09:30:00Z"));
    }
    for (const QString& path : {target + itinerary, target + packing, target + budget}) {
        setModified(path, QStringLiteral("2026-06-02T16:45:00Z"));
    }
    // Added, with names that are not plain ASCII.
    writeText(source + QStringLiteral("/Notes/Café recommendations.md"),
              QStringLiteral("# Lisbon\n\n- Café A Brasileira\n- Pastéis de Belém\n"));
    writeText(source + QStringLiteral("/Music/Road trip — playlist.m3u"),
              QStringLiteral("#EXTM3U\nfado.mp3\n"));
    // Files only the archive has are never touched.
    writeNoise(target + QStringLiteral("/2025/Winter/IMG_1001.jpg"), 2'200'000, seed++);

    const QString video = source + QLatin1Char('/') + nameListedFirst(source, kVideoNames);
    writeNoise(video, videoBytes, seed++);
    setModified(video, QStringLiteral("2026-08-14T21:05:00Z"));
}

void TourFolders::buildScansPair(const QString& smallVolume, std::int64_t scanBytes) {
    scansSource_ = root_ + QStringLiteral("/Documents/Scans 2026");
    scansTarget_ = smallVolume + QStringLiteral("/Sorrelix tour (USB stick)");
    if (!QDir().mkpath(scansTarget_)) fail(QStringLiteral("cannot create ") + scansTarget_);
    constexpr int kScans = 6;
    for (int index = 1; index <= kScans; ++index) {
        const QString path =
            scansSource_ + QStringLiteral("/Scan %1.tiff").arg(index, 3, 10, QLatin1Char('0'));
        writeNoise(path, scanBytes / kScans + 1, 100 + index);
    }
}

void TourFolders::removeScansTarget() const {
    if (!scansTarget_.isEmpty()) QDir(scansTarget_).removeRecursively();
}

}  // namespace sorrelix::tools
