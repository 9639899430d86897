#include "volume_info.h"

#include <sys/statvfs.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <limits>

namespace sorrelix::app {

namespace {

bool isAtOrBelow(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

QString readFlag(const QString& file) {
    QFile flag(file);
    if (!flag.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(flag.readAll()).trimmed();
}

// The sysfs folder of the whole disk that holds a block device (a partition's parent).
QString diskFolder(const QString& deviceFolder) {
    if (QFileInfo::exists(deviceFolder + QStringLiteral("/partition"))) {
        return QFileInfo(deviceFolder).path();
    }
    return deviceFolder;
}

// Hot-pluggable disks that do not set the removable flag (most USB drives) hang below a USB
// controller in the device tree.
bool isOnUsb(const QString& deviceFolder, const QString& sysfsRoot) {
    const QString devicePath =
        QDir(QFileInfo(sysfsRoot).canonicalFilePath()).relativeFilePath(deviceFolder);
    const QStringList components = devicePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return std::any_of(components.begin(), components.end(), [](const QString& component) {
        return component.startsWith(QLatin1String("usb"));
    });
}

}  // namespace

std::optional<VolumeInfo> VolumeInfo::forPath(const QString& path) {
    const QStorageInfo storage(path);
    if (!storage.isValid()) return std::nullopt;
    VolumeInfo info;
    info.name = storage.name();
    info.isExternal =
        isRemovableMediaMount(storage.rootPath()) || isRemovableDevice(storage.device());
    return info;
}

std::optional<std::int64_t> VolumeInfo::availableBytes(const QString& path) {
    struct statvfs info {};
    if (path.isEmpty() || ::statvfs(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const std::uint64_t blockSize = info.f_frsize;
    const std::uint64_t blocks = info.f_bavail;
    if (blockSize != 0 && blocks > kMax / blockSize) return static_cast<std::int64_t>(kMax);
    return static_cast<std::int64_t>(blocks * blockSize);
}

bool VolumeInfo::isRemovableMediaMount(const QString& mountPoint) {
    const QString path = QDir::cleanPath(mountPoint);
    return isAtOrBelow(path, QStringLiteral("/media")) ||
           isAtOrBelow(path, QStringLiteral("/run/media")) ||
           isAtOrBelow(path, QStringLiteral("/mnt"));
}

bool VolumeInfo::isRemovableDevice(const QByteArray& device, const QString& sysfsRoot) {
    if (!device.startsWith("/dev/")) return false;  // tmpfs, overlay, network file systems
    // /dev/disk/by-label/... and /dev/mapper/... are links to the kernel's device name.
    const QString canonicalDevice = QFileInfo(QFile::decodeName(device)).canonicalFilePath();
    const QString name =
        QFileInfo(canonicalDevice.isEmpty() ? QFile::decodeName(device) : canonicalDevice)
            .fileName();
    const QString deviceFolder =
        QFileInfo(sysfsRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (name.isEmpty() || deviceFolder.isEmpty()) return false;
    if (isOnUsb(deviceFolder, sysfsRoot)) return true;
    return readFlag(diskFolder(deviceFolder) + QStringLiteral("/removable")) == QLatin1String("1");
}

}  // namespace sorrelix::app
