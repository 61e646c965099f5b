#include "app/FolderHistory.h"

#include <gtest/gtest.h>

TEST(FolderHistory, RecordingMovesFoldersToTheTopAboveTheVolumes)
{
    FolderHistory history;
    history.setFolders({"/a", "/b"});
    history.appendVolumes({{"/", "/dev/sda1", "ext4", platform::VolumeKind::Fixed},
                           {"/media/k", "/dev/sdb1", "vfat", platform::VolumeKind::Removable},
                           {"/net", "s:/", "nfs", platform::VolumeKind::Remote},
                           {"/mnt/cd", "/dev/sr0", "iso9660", platform::VolumeKind::CdRom},
                           {"/tmp", "tmpfs", "tmpfs", platform::VolumeKind::RamDisk}});

    history.RecordFolder("/c");
    history.RecordFolder("/b");
    history.RecordFolder("/b");
    EXPECT_EQ(history.folders(), (QStringList{"/b", "/c", "/a"}));

    const auto& entries = history.entries();
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[3].text, QStringLiteral("/\tFixed"));
    EXPECT_EQ(entries[4].text, QStringLiteral("/media/k\tRemoveable"));
    EXPECT_EQ(entries[4].path, QStringLiteral("/media/k"));
    const int icons[] = {5, 4, 7, 6, 7};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[size_t(3 + i)].icon, icons[i]);
        EXPECT_EQ(entries[size_t(3 + i)].itemData, -1);
    }

    // Reloading folders from the profile keeps the volumes behind them.
    history.setFolders({"/z"});
    EXPECT_EQ(history.folders(), QStringList{"/z"});
    EXPECT_EQ(history.entries().size(), 6u);
}
