#include "platform/QtNames.h"

#include "common/TempTree.h"
#include "platform/FileNames.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(QtNames, APathQtDecodedLeadsBackToTheRealFile)
{
    TempTree tree;
    const QString folder = tree.folder(platform::decodeFileName("caf\xe9"));
    const QString file = tree.file(platform::decodeFileName("caf\xe9/d\xff\xfe.txt"), 2);
    tree.file(platform::decodeFileName("caf\xe9/d\xc3\xa9.txt"), 2); // a valid look-alike

    // What Qt makes of the path no longer reaches the file through Qt.
    const QString shown = platform::qtShownPath(file);
    EXPECT_FALSE(platform::holdsRawBytes(shown));
    EXPECT_TRUE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_FALSE(QFileInfo::exists(shown));

    EXPECT_EQ(platform::pathFromQt(shown), file);
    EXPECT_EQ(platform::pathFromQt(platform::readableFileName(file)), file); // from a URL
    EXPECT_EQ(platform::pathFromQt(platform::qtShownPath(folder)), folder);
    // A new name in a real folder (a save dialog's answer) keeps its own text.
    EXPECT_EQ(platform::pathFromQt(platform::qtShownPath(folder) + "/new.zip"),
              folder + "/new.zip");
    const QString plain = tree.file("plain.txt", 1);
    EXPECT_EQ(platform::pathFromQt(plain), plain);

    EXPECT_EQ(platform::reachableByQt(file), tree.root());
    EXPECT_EQ(platform::reachableByQt(plain), plain);
}
