#include "CliRun.h"
#include "common/TableFixtures.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(CliFind, ContentCriteriaJoinLeftToRightAndPrintTheList)
{
    TempTree t;
    t.file("a.txt", QByteArray("alpha"));
    t.file("ab.txt", QByteArray("alpha beta"));
    t.file("c.txt", QByteArray("gamma"));
    t.file("c.doc", QByteArray("gamma alpha"));

    const CliRun notBeta =
        RunCli({"find", "--content", "alpha", "--and", "--content", "<>beta", t.root()});
    EXPECT_EQ(notBeta.status, 0) << notBeta.err.toStdString();
    EXPECT_EQ(notBeta.out, t.root() + "\n        a.txt\n        c.doc\n");

    // (ALPHA AND BETA) OR GAMMA would keep c.txt; left to right it stops at the AND.
    const CliRun andOr = RunCli({"find", "--content", "alpha", "--and", "--content", "beta", "--or",
                                 "--content", "gamma", t.root()});
    EXPECT_EQ(andOr.out, t.root() + "\n        ab.txt\n        c.doc\n");

    // No connector: the second criterion has no effect.
    const CliRun unjoined = RunCli({"find", "--content", "gamma", "--content", "alpha", t.root()});
    EXPECT_EQ(unjoined.out, t.root() + "\n        c.doc\n        c.txt\n");

    const CliRun byName = RunCli({"find", "--tree", "ext", "--name", "c", t.root()});
    EXPECT_EQ(byName.out,
              t.root() +
                  "\n        .DOC\n                c.doc\n        .TXT\n                c.txt\n");

    const CliRun none = RunCli({"find", t.root()});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "no criteria specified\n");
    EXPECT_TRUE(none.out.isEmpty());

    const CliRun noMatch = RunCli({"find", "--content", "delta", t.root()});
    EXPECT_EQ(noMatch.status, 0);
    EXPECT_TRUE(noMatch.err.contains("no match found"));
}

TEST(CliFind, FilterOptionsNarrowTheSearchedList)
{
    TempTree t;
    t.file("a.txt", QByteArray("alpha"));
    t.file("ab.txt", QByteArray("alpha beta"));
    t.file("b.doc", QByteArray("alpha beta gamma"));

    // Filters need the filter tabs, which the quick-starting front leaves out.
    const CliRun bigger = RunCli({"find", "--size", "gt", "5", "--content", "alpha", t.root()});
    EXPECT_EQ(bigger.status, 0) << bigger.err.toStdString();
    EXPECT_EQ(bigger.out, t.root() + "\n        ab.txt\n        b.doc\n");

    const CliRun named =
        RunCli({"find", "--content", "beta", "--name-patterns", "*.doc", t.root()});
    EXPECT_EQ(named.status, 0) << named.err.toStdString();
    EXPECT_EQ(named.out, t.root() + "\n        b.doc\n");
}

TEST(CliFind, StartsWithoutTheDrawingLibrary)
{
    QProcess ldd;
    ldd.start("ldd", {LUMARA_CLI});
    if (!ldd.waitForFinished(30000) || ldd.exitCode() != 0)
        GTEST_SKIP() << "ldd cannot read the program";
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains("libQt6Core"));
    EXPECT_FALSE(libraries.contains("libQt6Gui")) << libraries.toStdString();
}

TEST(CliFind, ZipEntriesAreListedUnderTheirArchive)
{
    TempTree t;
    TempTree src;
    src.file("hit.txt", QByteArray(3000, 'q') + "zebra" + QByteArray(3000, 'q'));
    src.file("miss.txt", QByteArray("plain"));
    if (!ZipWithTool(src.root(), t.path("pack.zip"), {"hit.txt", "miss.txt"}))
        GTEST_SKIP() << "zip is not installed";
    t.file("other.txt", QByteArray("nothing"));

    const CliRun r = RunCli({"find", "--zip", "--content", "zebra", t.root()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, t.root() + "\n        pack.zip\n                hit.txt\n");
}

TEST(CliTable, SheetsTablesAndTheirGrids)
{
    TempTree t;
    const QString book = t.path("book.xls");
    if (!WriteWorkbook(book))
        GTEST_SKIP() << "python3-xlwt is not installed";
    const CliRun sheets = RunCli({"table", book});
    EXPECT_EQ(sheets.out, "Sheet1\nMy Sheet\nLong\n");
    const CliRun sheet = RunCli({"table", book, "My Sheet"});
    EXPECT_EQ(sheet.status, 0) << sheet.err.toStdString();
    EXPECT_TRUE(sheet.out.startsWith("\tA\tB\tC\n1\tName\tAmount\tNote\n2\tpear\t10\tb\n"));
    const CliRun missing = RunCli({"table", book, "Nope"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "unable to open:\n" + book + "[Nope]\n");

    const QString db = t.path("s.mdb");
    if (!WriteSampleDatabase(db))
        GTEST_SKIP() << "fp-units-db is not installed";
    const CliRun tables = RunCli({"table", db});
    EXPECT_EQ(tables.status, 0);
    EXPECT_TRUE(tables.out.startsWith("s.mdb\n        FPdev\n                "));
    EXPECT_FALSE(tables.out.contains("MSys"));
    const CliRun grid = RunCli({"table", db, "FPdev"});
    EXPECT_TRUE(grid.out.startsWith("\tid\tUserName\tInstEmail\n1\t1\t")) << grid.out.toStdString();
    const CliRun spaced = RunCli({"table", db, "FP dev"});
    EXPECT_EQ(spaced.status, 1);
    EXPECT_EQ(spaced.err, "table is empty:\n" + db + "[FP dev]\n");
}
