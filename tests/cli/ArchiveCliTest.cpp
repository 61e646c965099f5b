#include "CliRun.h"
#include "common/TempTree.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ArchiveCli, ZipListCountDetailsAndUnzipRoundTrip)
{
    TempTree t;
    const QString a = t.file("one/a.txt", QByteArray(2000, 'a'));
    const QString b = t.file("two/b.txt", QByteArray("bb"));
    const QString c = t.file("two/c.txt", QByteArray("c"));
    const QString d = t.file("two/d.txt", QByteArray());
    const QString zip = t.path("out.zip");
    const CliRun made = RunCli({"zip", zip, a, b, c, d});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();

    const CliRun list = RunCli({"archive", zip});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "a.txt\nb.txt\nc.txt\nd.txt\n");
    EXPECT_EQ(RunCli({"archive", "--count", zip}).out, "X 4\n");
    // The properties of the zip file itself count its entries; a plain file has no count.
    EXPECT_TRUE(RunCli({"info", zip}).out.contains("\nArchive Entries:  4 files\n"));
    EXPECT_FALSE(RunCli({"info", a}).out.contains("Archive Entries"));

    const QStringList lines = RunCli({"archive", "--details", zip}).out.split('\n');
    ASSERT_GE(lines.size(), 15);
    EXPECT_EQ(lines.at(0), "Source File: " + zip);
    EXPECT_EQ(lines.at(1), "File Name: a.txt");
    EXPECT_EQ(lines.at(2), "Total Files:  4");
    EXPECT_EQ(lines.at(11), "sMethod: Deflated:N");
    EXPECT_EQ(lines.at(14), "") << "entries are separated by an empty line";
    EXPECT_EQ(lines.at(15), "Source File: " + zip);

    const CliRun unzip = RunCli({"unzip", zip, "a.txt", t.path("dest")});
    EXPECT_EQ(unzip.status, 0) << unzip.err.toStdString();
    EXPECT_EQ(QFileInfo(t.path("dest/a.txt")).size(), 2000);
}

TEST(ArchiveCli, FailuresExitNonZero)
{
    TempTree t;
    const QString a1 = t.file("x/a.txt", 1);
    const QString a2 = t.file("y/a.txt", 1);
    const CliRun dup = RunCli({"zip", t.path("dup.zip"), a1, a2});
    EXPECT_NE(dup.status, 0);
    EXPECT_TRUE(dup.err.contains("was not created")) << dup.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(t.path("dup.zip")));

    ASSERT_EQ(RunCli({"zip", t.path("ok.zip"), a1}).status, 0);
    EXPECT_NE(RunCli({"unzip", t.path("ok.zip"), "missing.txt", t.path("d")}).status, 0);
    EXPECT_NE(RunCli({"archive", t.path("none.zip")}).status, 0);
    EXPECT_NE(RunCli({"archive", "--frob", t.path("ok.zip")}).status, 0);
}
