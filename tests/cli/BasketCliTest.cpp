#include "CliRun.h"
#include "basket/BasketHeader.h"
#include "common/TempTree.h"

#include <gtest/gtest.h>

TEST(BasketCli, SaveThenShowRoundTripsAndAForeignFileFails)
{
    TempTree t;
    const QString a = t.file("a.txt", 12);
    const QString b = t.file("sub/b.txt", 3);
    const QString bsk = t.path("out.bsk");
    const CliRun saved = RunCli({"basket", "save", bsk, a, b, t.path("gone.txt")});
    ASSERT_EQ(saved.status, 0) << saved.err.toStdString();
    const QList<QByteArray> lines = FileBytes(bsk).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + "\r");

    // The grid puts the second file first when it holds one entry.
    const CliRun shown = RunCli({"basket", "show", bsk});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out,
              "RadeZazeda\n" + b + "\t3\n" + a + "\t12\n" + t.path("gone.txt") + "\t0\n");

    const QString notes = t.file("notes.bsk", QByteArray("shopping list\r\n/a\r\n"));
    const CliRun foreign = RunCli({"basket", "show", notes});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_EQ(foreign.out, "");
    EXPECT_FALSE(foreign.err.isEmpty());
}

TEST(BasketCli, NextVersionAndCopyWithConflicts)
{
    TempTree t;
    t.file("dst/report.txt", QByteArray("old"));
    t.file("dst/report;01.txt", QByteArray("v1"));
    const QString report = t.file("src/report.txt", QByteArray("new"));
    const QString fresh = t.file("src/fresh.txt", QByteArray("f"));
    EXPECT_EQ(RunCli({"nextversion", t.path("dst"), "report.txt"}).out, "report;02.txt\n");

    const CliRun listed = RunCli({"copy", t.path("dst"), report, fresh});
    EXPECT_EQ(listed.status, 0);
    const QStringList rows = listed.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("1\tNo\t3 bytes\t"));
    EXPECT_TRUE(rows[0].endsWith("\t" + t.path("dst/report.txt")));
    EXPECT_TRUE(rows[1].endsWith("\t" + report));
    EXPECT_EQ(FileBytes(t.path("dst/fresh.txt")), "f");
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "old");

    const CliRun versioned = RunCli({"copy", "--yes-all", "--next-version", t.path("dst"), report});
    EXPECT_TRUE(versioned.out.startsWith("1\tYes\t"));
    EXPECT_EQ(FileBytes(t.path("dst/report;02.txt")), "new");
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "old");

    RunCli({"copy", "--yes-all", t.path("dst"), report});
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "new");

    const CliRun stamped = RunCli({"copy", "--stamp", t.folder("st"), fresh});
    EXPECT_EQ(stamped.status, 0);
    EXPECT_TRUE(stamped.err.contains("1 files copied to:"));
}
