#include "app/FolderHistory.h"

#include "controls/HistoryList.h"

#include <gtest/gtest.h>

TEST(FolderHistory, RecordingMovesFoldersToTheTopAboveTheVolumes)
{
    HistoryList rows;
    SetHistoryFolders(rows, {"/a", "/b"});
    AppendVolumeRows(rows, {{"/", "/dev/sda1", "ext4", platform::VolumeKind::Fixed},
                            {"/media/k", "/dev/sdb1", "vfat", platform::VolumeKind::Removable},
                            {"/net", "s:/", "nfs", platform::VolumeKind::Remote},
                            {"/mnt/cd", "/dev/sr0", "iso9660", platform::VolumeKind::CdRom},
                            {"/tmp", "tmpfs", "tmpfs", platform::VolumeKind::RamDisk}});

    RecordFolder(rows, "/c");
    RecordFolder(rows, "/b");
    RecordFolder(rows, "/b");
    EXPECT_EQ(HistoryFolders(rows), (QStringList{"/b", "/c", "/a"}));

    ASSERT_EQ(rows.ListCount(), 8);
    EXPECT_EQ(rows.list(3), QStringLiteral("/\tFixed"));
    EXPECT_EQ(rows.list(4), QStringLiteral("/media/k\tRemoveable"));
    EXPECT_EQ(HistoryRowFolder(rows, 4), QStringLiteral("/media/k"));
    const int icons[] = {5, 4, 7, 6, 7};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows.row(3 + i)->icon, icons[i]);
        EXPECT_EQ(rows.GetItemData(3 + i), -1);
    }
    EXPECT_EQ(rows.row(0)->icon, 3);

    // Reloading folders from the profile keeps the volumes behind them.
    SetHistoryFolders(rows, {"/z", "/y"});
    EXPECT_EQ(HistoryFolders(rows), (QStringList{"/z", "/y"}));
    EXPECT_EQ(rows.ListCount(), 7);
    EXPECT_EQ(HistoryRowFolder(rows, 2), QStringLiteral("/"));
}

TEST(FolderHistory, AFolderNameWithATabOrLineBreakStaysOneValue)
{
    HistoryList rows;
    SetHistoryFolders(rows, {"/f/two\nlines"});
    AppendVolumeRows(rows, {{"/", "/dev/sda1", "ext4", platform::VolumeKind::Fixed}});
    RecordFolder(rows, "/f/tab\there");

    ASSERT_TRUE(rows.chooseRowAt(0, 10));
    EXPECT_EQ(rows.text(), "/f/tab\there") << "the edit field takes the whole name";
    EXPECT_EQ(HistoryRowFolder(rows, 0), "/f/tab\there");
    EXPECT_EQ(rows.shownColumns(0), QStringList{QString::fromUtf8("/f/tab\u2409here")});
    EXPECT_EQ(rows.shownColumns(1), QStringList{QString::fromUtf8("/f/two\u240Alines")});
    EXPECT_EQ(rows.shownColumns(2), (QStringList{"/", "Fixed"})) << "volumes keep two columns";
    EXPECT_EQ(HistoryFolders(rows), (QStringList{"/f/tab\there", "/f/two\nlines"}));
}

TEST(FolderHistory, SavedFoldersFollowWhatTheListShows)
{
    HistoryList rows;
    SetHistoryFolders(rows, {"/b", "/a"});
    AppendVolumeRows(rows, {{"/", "/dev/sda1", "ext4", platform::VolumeKind::Fixed}});
    RecordFolder(rows, "/c\td"); // a TAB in a folder's own name is part of the folder
    EXPECT_EQ(HistoryRowFolder(rows, 0), QStringLiteral("/c\td"));

    // Sorting from the list's menu can put a volume first: the folders behind it go
    // unsaved, as the list shows them.
    rows.SortAscending();
    EXPECT_EQ(rows.list(0), QStringLiteral("/\tFixed"));
    EXPECT_TRUE(HistoryFolders(rows).isEmpty());
    rows.SortDescending();
    EXPECT_EQ(HistoryFolders(rows), (QStringList{"/c\td", "/b", "/a"}));

    rows.Clear();
    EXPECT_TRUE(HistoryFolders(rows).isEmpty());
    EXPECT_EQ(HistoryRowFolder(rows, 0), QString());
}
