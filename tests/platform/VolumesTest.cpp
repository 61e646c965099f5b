#include "platform/Volumes.h"

#include <gtest/gtest.h>

using platform::Volume;
using platform::VolumeKind;

namespace {

const char* const SampleTable = "sysfs /sys sysfs rw,nosuid 0 0\n"
                                "proc /proc proc rw 0 0\n"
                                "udev /dev devtmpfs rw 0 0\n"
                                "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
                                "tmpfs /run tmpfs rw 0 0\n"
                                "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                                "tmpfs /tmp tmpfs rw 0 0\n"
                                "/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
                                "/dev/nvme0n1p3 /home ext4 rw 0 0\n"
                                "/dev/sdb1 /media/ann/KEY\\040DRIVE vfat rw 0 0\n"
                                "/dev/sdc1 /run/media/bob/CAM exfat rw 0 0\n"
                                "/dev/sdd1 /mnt/backup ext4 rw 0 0\n"
                                "/dev/sr0 /mnt/cdrom iso9660 ro 0 0\n"
                                "/dev/sr1 /mnt/dvd udf ro 0 0\n"
                                "server:/export /net/share nfs4 rw 0 0\n"
                                "//nas/music /mnt/music cifs rw 0 0\n"
                                "ann@host: /mnt/ssh fuse.sshfs rw 0 0\n"
                                "none /mnt/ram ramfs rw 0 0\n"
                                "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                                "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                "/dev/sde1 /mnt/backup xfs rw 0 0\n";

} // namespace

TEST(Volumes, KindsAndFilteringOfAMountTable)
{
    const auto removable = [](const QString& device) { return device == "/dev/sdd1"; };
    const std::vector<Volume> volumes = platform::ParseMounts(SampleTable, removable);

    struct Expected {
        const char* path;
        VolumeKind kind;
    };
    // /mnt/backup was mounted over by /dev/sde1, which is not removable; it keeps its
    // first place in the list.
    const Expected expected[] = {
        {"/", VolumeKind::Fixed},
        {"/tmp", VolumeKind::RamDisk},
        {"/home", VolumeKind::Fixed},
        {"/media/ann/KEY DRIVE", VolumeKind::Removable},
        {"/run/media/bob/CAM", VolumeKind::Removable},
        {"/mnt/backup", VolumeKind::Fixed},
        {"/mnt/cdrom", VolumeKind::CdRom},
        {"/mnt/dvd", VolumeKind::CdRom},
        {"/net/share", VolumeKind::Remote},
        {"/mnt/music", VolumeKind::Remote},
        {"/mnt/ssh", VolumeKind::Remote},
        {"/mnt/ram", VolumeKind::RamDisk},
    };
    ASSERT_EQ(volumes.size(), std::size(expected));
    for (size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_EQ(volumes[i].mountPath, QString::fromUtf8(expected[i].path)) << i;
        EXPECT_EQ(volumes[i].kind, expected[i].kind) << expected[i].path;
    }
    EXPECT_EQ(volumes[5].device, QStringLiteral("/dev/sde1"));
}

TEST(Volumes, TextsWordsAndImagesByKind)
{
    struct Case {
        VolumeKind kind;
        const char* text;
        const char* word;
        const char* image;
    };
    const Case cases[] = {
        {VolumeKind::Removable, "Floppy (/m)", "Removeable", "floppy"},
        {VolumeKind::Fixed, "DATA (/m)", "Fixed", "hard"},
        {VolumeKind::Remote, "DATA (/m)", "Remote", "net"},
        {VolumeKind::CdRom, "DATA (/m)", "CDRom", "cdrom"},
        {VolumeKind::RamDisk, "(/m)", "RamDisk", "hard"},
        {VolumeKind::Other, "(/m)", "", "hard"},
    };
    for (const Case& c : cases) {
        const Volume v{"/m", "/dev/x", "ext4", c.kind};
        EXPECT_EQ(platform::VolumeText(v, "DATA"), QString::fromUtf8(c.text));
        EXPECT_EQ(platform::KindWord(c.kind), QString::fromUtf8(c.word));
        EXPECT_EQ(platform::VolumeImage(c.kind), QString::fromUtf8(c.image));
    }
    // An unreadable label leaves a blank before the bracket; the root is named anyway.
    EXPECT_EQ(platform::VolumeText({"/m", "", "ext4", VolumeKind::Fixed}, ""), " (/m)");
    EXPECT_EQ(platform::VolumeText({"/", "", "ext4", VolumeKind::Fixed}, ""), "File System (/)");
    EXPECT_EQ(platform::VolumeText({"/", "", "ext4", VolumeKind::Fixed}, "root"), "root (/)");
}

TEST(Volumes, TheRootIsAlwaysAmongTheMountedVolumes)
{
    const auto volumes = platform::MountedVolumes();
    const bool hasRoot = std::any_of(volumes.begin(), volumes.end(),
                                     [](const Volume& v) { return v.mountPath == "/"; });
    EXPECT_TRUE(hasRoot);
    ASSERT_TRUE(platform::VolumeSpaceOf("/").has_value());
    EXPECT_GE(platform::VolumeSpaceOf("/")->total, platform::VolumeSpaceOf("/")->free);
}
