#include "app/TempFolder.h"

#include "common/TempTree.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(TempFolder, OnlyAFolderLumaraCreatedIsDeleted)
{
    TempTree tree;
    const QString work = tree.path("deep/Dorared-me/");
    ASSERT_TRUE(CreateTempFolder(work));
    tree.file("deep/Dorared-me/extracted/a.txt", 10);
    // A second start finds the folder and keeps its mark.
    EXPECT_TRUE(CreateTempFolder(work));
    EXPECT_TRUE(DeleteTempFolder(work));
    EXPECT_FALSE(QFileInfo::exists(work));
    EXPECT_TRUE(QFileInfo::exists(tree.path("deep")));

    // A user's folder named as the working folder is never wiped.
    const QString users = tree.folder("photos");
    tree.file("photos/keep.jpg", 100);
    EXPECT_TRUE(CreateTempFolder(users));
    EXPECT_FALSE(DeleteTempFolder(users));
    EXPECT_TRUE(QFileInfo::exists(tree.path("photos/keep.jpg")));

    EXPECT_FALSE(DeleteTempFolder(tree.path("missing")));
    EXPECT_FALSE(CreateTempFolder(QString()));
}
