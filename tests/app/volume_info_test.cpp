#include "volume_info.h"

#include <gtest/gtest.h>

#include "file_tree.h"

namespace sorrelix::app {
namespace {

using testing::FileTree;

TEST(VolumeInfo, RemovableMediaFoldersCountAsExternal) {
    for (const char* mount :
         {"/media", "/media/ana/USB", "/run/media/ana/Card", "/mnt", "/mnt/backup/"}) {
        EXPECT_TRUE(VolumeInfo::isRemovableMediaMount(QString::fromLatin1(mount))) << mount;
    }
    for (const char* mount : {"/", "/home", "/mediaserver", "/run", "/srv/mnt"}) {
        EXPECT_FALSE(VolumeInfo::isRemovableMediaMount(QString::fromLatin1(mount))) << mount;
    }
}

// A sysfs tree as the kernel lays it out: class/block/<name> links into the device tree,
// partitions below their disk, and the removable flag on the disk.
class FakeSysfs {
public:
    void disk(const std::string& devicePath, const std::string& disk, bool removable) {
        const std::string folder = "devices/" + devicePath + "/block/" + disk;
        tree.file(folder + "/removable", removable ? "1\n" : "0\n");
        tree.symlink("class/block/" + disk, "../../" + folder);
        tree.file(folder + "/" + disk + "1/partition", "1\n");
        tree.symlink("class/block/" + disk + "1", "../../" + folder + "/" + disk + "1");
    }
    bool isRemovable(const char* device) const {
        return VolumeInfo::isRemovableDevice(device, QString::fromStdString(tree.root()));
    }

    FileTree tree;
};

TEST(VolumeInfo, RemovableOrUsbDisksAreExternal) {
    FakeSysfs sysfs;
    sysfs.disk("pci0000:00/0000:00:17.0/ata1/host0", "sda", false);
    sysfs.disk("pci0000:00/0000:00:1d.0/mmc0", "sdb", true);
    sysfs.disk("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6", "sdc", false);

    EXPECT_FALSE(sysfs.isRemovable("/dev/sda"));
    EXPECT_FALSE(sysfs.isRemovable("/dev/sda1"));
    EXPECT_TRUE(sysfs.isRemovable("/dev/sdb"));
    EXPECT_TRUE(sysfs.isRemovable("/dev/sdb1"));
    EXPECT_TRUE(sysfs.isRemovable("/dev/sdc1"));
    for (const char* other : {"/dev/sdz1", "tmpfs", "", "/dev/", "server:/export"}) {
        EXPECT_FALSE(sysfs.isRemovable(other)) << other;
    }
}

TEST(VolumeInfo, ReadsTheVolumeOfAFolderOrNothing) {
    FileTree tree;
    EXPECT_TRUE(VolumeInfo::forPath(QString::fromStdString(tree.root())).has_value());
    EXPECT_FALSE(VolumeInfo::forPath(QString::fromStdString(tree.path("missing"))).has_value());
    EXPECT_FALSE(
        VolumeInfo::availableBytes(QString::fromStdString(tree.path("missing"))).has_value());
    EXPECT_FALSE(VolumeInfo::availableBytes(QString()).has_value());
    EXPECT_GT(*VolumeInfo::availableBytes(QString::fromStdString(tree.root())), 0);
}

}  // namespace
}  // namespace sorrelix::app
