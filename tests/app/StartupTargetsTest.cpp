#include "app/StartupTargets.h"

#include "common/TempTree.h"
#include "platform/FileNames.h"

#include <gtest/gtest.h>

TEST(StartupTargets, ArgumentsBecomeLocalPaths)
{
    const StartupRequest r = ParseStartupArguments(
        {QStringLiteral("docs/../notes"), QStringLiteral("--new-window"),
         QStringLiteral("file:///tmp/a%20b/%C3%A9t%C3%A9"), QStringLiteral("file://localhost/srv/"),
         QStringLiteral("https://example.org/x"), QStringLiteral("--bogus"), QStringLiteral("--"),
         QStringLiteral("--new-window")},
        QStringLiteral("/home/u"));
    EXPECT_TRUE(r.newWindow);
    EXPECT_EQ(
        r.paths,
        (QStringList{QStringLiteral("/home/u/notes"), QStringLiteral("/tmp/a b/\u00e9t\u00e9"),
                     QStringLiteral("/srv"), QStringLiteral("/home/u/--new-window")}));
    EXPECT_EQ(r.rejected,
              (QStringList{QStringLiteral("https://example.org/x"), QStringLiteral("--bogus")}));
    // An escaped byte that is not UTF-8 comes back as that byte.
    EXPECT_EQ(platform::encodeFileName(LocalPathOf(QStringLiteral("file:///x/%FF"), {})),
              QByteArray("/x/\xff"));
    EXPECT_TRUE(LocalPathOf(QStringLiteral("file://server/share/a"), {}).isEmpty());
}

TEST(StartupTargets, AFileOpensItsFolderWithTheFileSelected)
{
    TempTree tree;
    const QString folder = tree.folder(QStringLiteral("sub"));
    const QString file = tree.file(QStringLiteral("sub/report.txt"), 3);
    const OpenTarget ofFolder = OpenTargetOf(folder);
    EXPECT_EQ(ofFolder.folder, folder + QLatin1Char('/'));
    EXPECT_TRUE(ofFolder.selectName.isEmpty());
    const OpenTarget ofFile = OpenTargetOf(file);
    EXPECT_EQ(ofFile.folder, folder + QLatin1Char('/'));
    EXPECT_EQ(ofFile.selectName, QStringLiteral("report.txt"));
    EXPECT_EQ(OpenTargetOf(QStringLiteral("/")).folder, QStringLiteral("/"));
}
