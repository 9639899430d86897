#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace sorrelix::app {

// What the window tells about the volume that holds a folder: its label and whether it is
// an external (removable or hot-pluggable) device.
struct VolumeInfo {
    QString name;  // the file system's label; empty when it has none
    bool isExternal = false;

    // None when the path's volume cannot be read (for example when the path does not exist).
    static std::optional<VolumeInfo> forPath(const QString& path);

    // The capacity an unprivileged user may still fill (the blocks reserved for root do not
    // count); none when the file system cannot be queried.
    static std::optional<std::int64_t> availableBytes(const QString& path);

    // Mount points below the folders where desktops mount removable media.
    static bool isRemovableMediaMount(const QString& mountPoint);
    // A block device (e.g. /dev/sdb1) whose disk is flagged removable or sits on USB, judged
    // from the sysfs tree at `sysfsRoot`.
    static bool isRemovableDevice(const QByteArray& device,
                                  const QString& sysfsRoot = QStringLiteral("/sys"));
};

}  // namespace sorrelix::app
