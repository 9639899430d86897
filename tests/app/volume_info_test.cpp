#include "volume_info.h"

#include <gtest/gtest.h>

#include "file_tree.h"

namespace sorrelix::app {
namespace {

TEST(VolumeInfo, RemovableMediaFoldersCountAsExternal) {
    for (const char* mount : {"/media", "/media/ana/USB", "/run/media/ana/Card", "/mnt/backup/"}) {
        EXPECT_TRUE(VolumeInfo::isRemovableMediaMount(mount)) << mount;
    }
    for (const char* mount : {"/", "/home", "/mediaserver", "/mnt-old", "/run", "/srv/mnt"}) {
        EXPECT_FALSE(VolumeInfo::isRemovableMediaMount(mount)) << mount;
    }
}

// A sysfs tree as the kernel lays it out: class/block/<name> links into the device tree,
// partitions below their disk, and the removable flag on the disk. A disk on USB counts as
// external even without the flag.
TEST(VolumeInfo, RemovableOrUsbDisksAreExternal) {
    const testing::FileTree sysfs;
    const auto disk = [&](const std::string& devicePath, const std::string& name, bool removable) {
        const std::string folder = "devices/" + devicePath + "/block/" + name;
        sysfs.file(folder + "/removable", removable ? "1\n" : "0\n");
        sysfs.symlink("class/block/" + name, "../../" + folder);
        sysfs.file(folder + "/" + name + "1/partition", "1\n");
        sysfs.symlink("class/block/" + name + "1", "../../" + folder + "/" + name + "1");
    };
    disk("pci0000:00/0000:00:17.0/ata1/host0", "sda", false);
    disk("pci0000:00/0000:00:1d.0/mmc0", "sdb", true);
    disk("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6", "sdc", false);
    for (const char* device : {"/dev/sdb", "/dev/sdb1", "/dev/sdc1"}) {
        EXPECT_TRUE(VolumeInfo::isRemovableDevice(device, QString::fromStdString(sysfs.root())))
            << device;
    }
    for (const char* device : {"/dev/sda", "/dev/sda1", "/dev/sdz1", "tmpfs", "", "/dev/"}) {
        EXPECT_FALSE(VolumeInfo::isRemovableDevice(device, QString::fromStdString(sysfs.root())))
            << device;
    }
}

}  // namespace
}  // namespace sorrelix::app
