#include "common/TempTree.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

CliResult Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(LUMARA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ArchiveCli, ZipListCountDetailsAndUnzipRoundTrip)
{
    TempTree t;
    const QString a = t.file("one/a.txt", QByteArray(2000, 'a'));
    const QString b = t.file("two/b.txt", QByteArray("bb"));
    const QString c = t.file("two/c.txt", QByteArray("c"));
    const QString d = t.file("two/d.txt", QByteArray());
    const QString zip = t.path("out.zip");
    const CliResult made = Cli({"zip", zip, a, b, c, d});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();

    const CliResult list = Cli({"archive", zip});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "a.txt\nb.txt\nc.txt\nd.txt\n");
    EXPECT_EQ(Cli({"archive", "--count", zip}).out, "X 4\n");

    const QStringList lines = Cli({"archive", "--details", zip}).out.split('\n');
    ASSERT_GE(lines.size(), 15);
    EXPECT_EQ(lines.at(0), "Source File: " + zip);
    EXPECT_EQ(lines.at(1), "File Name: a.txt");
    EXPECT_EQ(lines.at(2), "Total Files:  4");
    EXPECT_EQ(lines.at(11), "sMethod: Deflated:N");
    EXPECT_EQ(lines.at(14), "") << "entries are separated by an empty line";
    EXPECT_EQ(lines.at(15), "Source File: " + zip);

    const CliResult unzip = Cli({"unzip", zip, "a.txt", t.path("dest")});
    EXPECT_EQ(unzip.status, 0) << unzip.err.toStdString();
    EXPECT_EQ(QFileInfo(t.path("dest/a.txt")).size(), 2000);
}

TEST(ArchiveCli, FailuresExitNonZero)
{
    TempTree t;
    const QString a1 = t.file("x/a.txt", 1);
    const QString a2 = t.file("y/a.txt", 1);
    const CliResult dup = Cli({"zip", t.path("dup.zip"), a1, a2});
    EXPECT_NE(dup.status, 0);
    EXPECT_TRUE(dup.err.contains("was not created")) << dup.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(t.path("dup.zip")));

    ASSERT_EQ(Cli({"zip", t.path("ok.zip"), a1}).status, 0);
    EXPECT_NE(Cli({"unzip", t.path("ok.zip"), "missing.txt", t.path("d")}).status, 0);
    EXPECT_NE(Cli({"archive", t.path("none.zip")}).status, 0);
    EXPECT_NE(Cli({"archive", "--frob", t.path("ok.zip")}).status, 0);
}
