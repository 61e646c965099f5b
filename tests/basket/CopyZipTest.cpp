#include "basket/Basket.h"
#include "basket/BasketCopy.h"
#include "basket/BasketZip.h"
#include "basket/NextVersionName.h"
#include "basket/OverwritePairs.h"
#include "common/FakeEscape.h"
#include "common/FileBytes.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "tools/FileInfo.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct CopyFixture {
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket{grid, prompts, host};
    OverwritePairs pairs;
    CopyContext context{prompts, pairs};
};

/// The Yes/No column of the pairs' grid, top to bottom.
QStringList Marks(const OverwritePairs& p)
{
    QStringList marks;
    for (int r = 1; r < p.grid().rows(); ++r)
        marks << p.grid().textMatrix(r, 1);
    return marks;
}

} // namespace

TEST(NextVersionName, CountsUpFromTheNumberFoundAndStopsWhenAllAreTaken)
{
    TempTree t;
    const QString folder = t.root() + "/";
    EXPECT_EQ(NextVersionName(folder, "report.txt"), "report;01.txt");
    t.file("report;01.txt");
    EXPECT_EQ(NextVersionName(folder, "report.txt"), "report;02.txt");
    EXPECT_EQ(NextVersionName(folder, "report;07.txt"), "report;08.txt");
    EXPECT_EQ(NextVersionName(folder, "noext"), "noext;01");
    EXPECT_EQ(NextVersionName("", folder + "report.txt"), folder + "report;02.txt")
        << "a whole path as the name";
    t.file("report;99.txt");
    EXPECT_EQ(NextVersionName(folder, "report;98.txt"), "report;02.txt") << "99 wraps to 01";
    for (int v = 1; v <= 99; ++v)
        t.file(QString("full;%1.txt").arg(v, 2, 10, QChar('0')));
    EXPECT_EQ(NextVersionName(folder, "full.txt"), "") << "the search is bounded";
}

TEST(OverwritePairs, PairsAreNumberedTogglesGoByPairAndFlipAllGoesBothWays)
{
    OverwritePairs p;
    p.AddOverwritePair("/d/a", "/s/a", "1 bytes", "d1", "2 bytes", "d2");
    p.AddOverwritePair("/d/b", "/s/b", "3 bytes", "d3", "4 bytes", "d4");
    const QStringList rows = p.rowTexts();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], " 1\tNo\t1 bytes\td1\t/d/a");
    EXPECT_EQ(rows[1], " 1\tNo\t2 bytes\td2\t/s/a");
    EXPECT_EQ(rows[2].left(3), " 2\t");
    EXPECT_EQ(rows[3].left(3), " 2\t");
    EXPECT_EQ(p.grid().textMatrix(0, 1), "OverWrite?");

    p.toggle(4);
    EXPECT_EQ(Marks(p), QStringList({"No", "No", "Yes", "Yes"}));
    p.flipAll(); // row 1 reads No: all Yes
    EXPECT_EQ(Marks(p), QStringList({"Yes", "Yes", "Yes", "Yes"}));
    p.flipAll();
    EXPECT_EQ(Marks(p), QStringList({"No", "No", "No", "No"}));
    EXPECT_EQ(OverwritePairs::copyCaption(true), "Copy Files marked Yes");
    EXPECT_EQ(OverwritePairs::copyCaption(false), "OverWrite Files marked Yes");

    ScriptedPrompts prompts;
    EXPECT_EQ(p.copyMarked(false, prompts), 0);
    EXPECT_EQ(prompts.shownTexts(), QStringList({"nothing marked Yes to copy"}));
}

TEST(BasketCopy, ConflictsWaitForTheDialogAndNextVersionLeavesTheOldFile)
{
    TempTree t;
    CopyFixture f;
    const QString report = t.file("src/report.txt", QByteArray("new"));
    const QString other = t.file("src/other.txt", QByteArray("o"));
    const QString fresh = t.file("src/fresh.txt", QByteArray("f"));
    t.file("dst/report.txt", QByteArray("old"));
    t.file("dst/report;01.txt", QByteArray("v1"));
    t.file("dst/other.txt", QByteArray("keep"));
    for (const QString& p : {report, other, fresh})
        f.basket.addLoadedEntry(p);

    const CopyOutcome outcome = CopyBasketRows(f.basket, t.path("dst"), 1, 3, f.context);
    EXPECT_EQ(outcome.copied, 1);
    EXPECT_TRUE(outcome.needsDialog(f.context));
    EXPECT_TRUE(f.prompts.shown.isEmpty()) << "the dialog reports, not the copy";
    EXPECT_EQ(FileBytes(t.path("dst/fresh.txt")), "f");
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "old") << "nothing is replaced without a Yes";
    ASSERT_EQ(f.pairs.pairCount(), 2);
    EXPECT_TRUE(f.pairs.rowTexts()[0].startsWith(" 1\tNo\t3 bytes\t"));
    EXPECT_TRUE(f.pairs.rowTexts()[0].endsWith("\t" + t.path("dst/report.txt")));
    EXPECT_TRUE(f.pairs.rowTexts()[1].endsWith("\t" + report));

    f.pairs.toggle(1); // only the report pair
    EXPECT_EQ(f.pairs.copyMarked(true, f.prompts), 1);
    EXPECT_EQ(f.prompts.shownTexts().last(), " 1 files copied");
    EXPECT_EQ(FileBytes(t.path("dst/report;02.txt")), "new");
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "old");
    EXPECT_EQ(FileBytes(t.path("dst/other.txt")), "keep");

    // Overwriting replaces even a read-only destination.
    QFile::setPermissions(t.path("dst/other.txt"), QFileDevice::ReadOwner);
    f.pairs.flipAll(); // row 1 reads Yes: all No
    f.pairs.toggle(3);
    EXPECT_EQ(Marks(f.pairs), QStringList({"No", "No", "Yes", "Yes"}));
    EXPECT_EQ(f.pairs.copyMarked(false, f.prompts), 1);
    EXPECT_EQ(FileBytes(t.path("dst/other.txt")), "o");
    EXPECT_EQ(FileBytes(t.path("dst/report.txt")), "old");
}

TEST(BasketCopy, SamePathsMissingSourcesSummaryAndCancel)
{
    TempTree t;
    CopyFixture f;
    const QString a = t.file("a.txt", QByteArray("a"));
    f.basket.addLoadedEntry(a);
    f.basket.addLoadedEntry(t.path("gone.txt"));
    f.basket.addLoadedEntry(t.file("b.txt", QByteArray("b")));
    CopyOutcome same = CopyBasketRows(f.basket, t.root(), 1, 1, f.context);
    EXPECT_EQ(same.copied, 0);
    EXPECT_EQ(f.prompts.shownTexts(),
              QStringList({"source and destination files are same, copying ignored"}));

    f.prompts.shown.clear();
    const QString out = t.folder("out");
    CopyOutcome all = CopyBasketRows(f.basket, out, 1, 3, f.context);
    EXPECT_EQ(all.copied, 2);
    const QStringList texts = f.prompts.shownTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "error copying:\r\n" + t.path("gone.txt") + "\r\nTO\r\n" + out +
                            "/gone.txt\r\nNo such file or directory");
    EXPECT_EQ(texts[1], " 2 files copied to:\r\n" + out + "/");
    EXPECT_EQ(all.failed, 1);
    EXPECT_FALSE(QFileInfo::exists(out + "/gone.txt")) << "no partial file is left";
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary left";

    // Escape before the second file, answered Yes: the first copy stays.
    const QString out2 = t.folder("out2");
    EscapeAtCheck escape(2);
    f.context.cancelKey = &escape;
    f.prompts.shown.clear();
    f.prompts.answers = {Prompts::Answer::Yes};
    CopyOutcome cancelled = CopyBasketRows(f.basket, out2, 1, 3, f.context);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.copied, 1);
    EXPECT_EQ(f.prompts.shown.first().text, "cancel?");
    EXPECT_TRUE(QFileInfo::exists(out2 + "/a.txt"));
}

TEST(BasketCopy, StampNamesNumberEveryRow)
{
    TempTree t;
    CopyFixture f;
    const QString a = t.file("a.txt", QByteArray("a"));
    const QString b = t.file("b.jpeg", QByteArray("b"));
    f.basket.addLoadedEntry(a);
    f.basket.addLoadedEntry(b);
    const QString out = t.folder("stamped");
    EXPECT_EQ(StampCopyBasketRows(f.basket, out, 1, 2, f.context).copied, 2);
    const QString first = StampCopyName(a, 1);
    EXPECT_EQ(first, TimestampName(a) + "-001.TXT");
    EXPECT_EQ(StampCopyName(b, 2), TimestampName(b) + "-002.JPEG");
    const QString plain = t.file("plain", 1);
    EXPECT_EQ(StampCopyName(plain, 12), TimestampName(plain) + "-012");
    EXPECT_EQ(FileBytes(out + "/" + first), "a");
    EXPECT_EQ(FileBytes(out + "/" + StampCopyName(b, 2)), "b");
}

TEST(BasketCopy, CopyOneFileTakesAVersionNameOrRecordsTheConflict)
{
    TempTree t;
    CopyFixture f;
    const QString src = t.file("s/n.txt", QByteArray("new"));
    t.file("d/n.txt", QByteArray("old"));
    EXPECT_TRUE(CopyOneFile(src, t.path("d"), "n.txt", true, f.context));
    EXPECT_EQ(FileBytes(t.path("d/n;01.txt")), "new");
    EXPECT_FALSE(CopyOneFile(src, t.path("d"), "n.txt", false, f.context));
    EXPECT_EQ(f.pairs.pairCount(), 1);
    EXPECT_EQ(FileBytes(t.path("d/n.txt")), "old");
    EXPECT_TRUE(CopyOneFile(src, t.path("d"), "m.txt", false, f.context));
}

TEST(BasketZip, OutcomesNothingToZipDuplicatesZippedAndCancelled)
{
    TempTree t;
    CopyFixture f;
    f.basket.addLoadedEntry(t.path("missing1.txt"));
    f.basket.addLoadedEntry(t.path("missing2.txt"));
    const QString zip = t.path("out.zip");
    EXPECT_EQ(ZipBasketRows(f.basket, zip, 1, 2, f.prompts, nullptr), ZipOutcome::NothingToZip);
    EXPECT_EQ(f.prompts.shownTexts(), QStringList({"nothing to zip"}));
    EXPECT_FALSE(QFileInfo::exists(zip));

    CopyFixture dup;
    dup.basket.addLoadedEntry(t.file("one/a.txt", 10));
    dup.basket.addLoadedEntry(t.file("two/a.txt", 10));
    EXPECT_EQ(ZipBasketRows(dup.basket, zip, 1, 2, dup.prompts, nullptr), ZipOutcome::NotCreated);
    EXPECT_EQ(dup.prompts.shownTexts().last(),
              zip + " was not created.\r\n\r\nThere may be duplicate file names in the "
                    "Table.\r\nUse 'Store paths' option.");

    CopyFixture good;
    good.basket.addLoadedEntry(t.file("one/a.txt", 10));
    good.basket.addLoadedEntry(t.file("two/b.txt", QByteArray(4000, 'x')));
    EXPECT_EQ(ZipBasketRows(good.basket, zip, 1, 2, good.prompts, nullptr), ZipOutcome::Zipped);
    const QString report = good.prompts.shownTexts().last();
    EXPECT_TRUE(
        report.startsWith(" 2 files zipped to:\r\n" + zip + "\r\n\r\ntotal source =\t3.916 Kb"))
        << report.toStdString();
    EXPECT_TRUE(report.endsWith("% of source)"));

    const QString zip2 = t.path("cancelled.zip");
    EscapeAtCheck escape(1);
    good.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_EQ(ZipBasketRows(good.basket, zip2, 1, 2, good.prompts, &escape), ZipOutcome::Cancelled);
    EXPECT_FALSE(QFileInfo::exists(zip2));

    // Escape while the zip is being written (after both rows were gathered), answered
    // Yes: nothing is written, and no message blames duplicate names.
    EscapeAtCheck whileWriting(3);
    good.prompts.shown.clear();
    good.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_EQ(ZipBasketRows(good.basket, zip2, 1, 2, good.prompts, &whileWriting),
              ZipOutcome::Cancelled);
    EXPECT_FALSE(QFileInfo::exists(zip2));
    EXPECT_EQ(good.prompts.shownTexts(), QStringList({"cancel?"}));

    EXPECT_EQ(ZipReportText(1, "/z.zip", 1000, 5), " 1 files zipped to:\r\n/z.zip\r\n\r\ntotal "
                                                   "source =\t1000 bytes\r\ntotal zipped =\t5 "
                                                   "bytes (.5% of source)");
}
