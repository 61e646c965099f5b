#include "CliRun.h"
#include "common/BiffBytes.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "common/XlsFixtures.h"

#include <gtest/gtest.h>

namespace {

/// The rows lumara-cli shows for a sheet, one a line, without the row of column letters
/// and without the row numbers; empty cells at a row's end are cut, as the reference does.
QString ShownRows(const QString& book, const QString& sheet)
{
    const CliRun run = RunCli({"table", book, sheet});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QStringList rows = run.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
    for (QString& row : rows) {
        row = row.section(u'\t', 1);
        while (row.endsWith(u'\t'))
            row.chop(1);
    }
    return rows.join(u'\n');
}

/// A BIFF4 worksheet as old Excel versions save it, but with no code page, format, XF or
/// window records: labels, numbers, an RK integer, a boolean, and formulas with a number
/// and a text result.
QByteArray Biff4Worksheet()
{
    using namespace biffbytes;
    const QByteArray special = SpecialResult(0);
    const QByteArray formulaTail = FormulaTail();
    return Record(0x0409, Words({0, 0x0010, 0})) + Record(0x0204, Words({0, 0, 0, 4}) + "name") +
           Record(0x0204, Words({0, 1, 0, 5}) + "value") +
           Record(0x0204, Words({1, 0, 0, 5}) + "plain") +
           Record(0x0203, Words({1, 1, 0}) + Double(2.5)) +
           Record(0x0204, Words({2, 0, 0, 3}) + "int") +
           Record(0x027E, Words({2, 1, 0}) + Words({quint16((1234 << 2) | 2), 0})) +
           Record(0x0204, Words({3, 0, 0, 4}) + "bool") +
           Record(0x0205, Words({3, 1, 0}) + QByteArray("\x01\x00", 2)) +
           Record(0x0204, Words({4, 0, 0, 6}) + "number") +
           Record(0x0406, Words({4, 1, 0}) + Double(0.125) + formulaTail) +
           Record(0x0204, Words({5, 0, 0, 4}) + "text") +
           Record(0x0406, Words({5, 1, 0}) + special + formulaTail) +
           Record(0x0207, Words({3}) + "abc") + Record(0x000A, {});
}

} // namespace

TEST(CliWorkbook, FormulaCellsShowTheStoredResultsTheReferenceReads)
{
    TempTree t;
    const QString book = t.path("formulas.xls");
    if (!xlsfixtures::WriteFormulaWorkbook(book))
        GTEST_SKIP() << "python3-xlwt is not installed";
    SaveFuzzSeed("xls", "formulas.xls", FileBytes(book));
    SaveFuzzSeed("xls_records", "formulas.xls", FileBytes(book));
    for (const QString sheet : {"F", "Second"}) {
        const std::optional<QString> reference = xlsfixtures::ReferenceRows(book, sheet);
        if (!reference)
            GTEST_SKIP() << "python3-xlrd is not installed";
        EXPECT_EQ(ShownRows(book, sheet).toStdString(), reference->toStdString());
    }
    // Both readers could agree on nothing; the texts the formulas made must be there.
    const QStringList shown = ShownRows(book, "F").split(u'\n');
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[1].toStdString(), "3\tABCDEF\tПривет\t1\t#DIV/0!\t0");
    EXPECT_EQ(shown[2].toStdString(), "7.5\t\t2024-03-05\t7\t#N/A");
}

TEST(CliWorkbook, DateCellsShowAsDaysTimesOrBothAsTheReferenceReads)
{
    TempTree t;
    const QString book = t.path("dates.xls");
    if (!xlsfixtures::WriteDateWorkbook(book))
        GTEST_SKIP() << "python3-xlwt is not installed";
    SaveFuzzSeed("xls_records", "dates.xls", FileBytes(book));
    const std::optional<QString> reference = xlsfixtures::ReferenceRows(book, "Dates");
    if (!reference)
        GTEST_SKIP() << "python3-xlrd is not installed";
    EXPECT_EQ(ShownRows(book, "Dates").toStdString(), reference->toStdString());
}

TEST(CliWorkbook, Biff4WorksheetWithoutFormatRecordsOpens)
{
    TempTree t;
    const QString book = t.file("old.xls", Biff4Worksheet());
    SaveFuzzSeed("xls_records", "biff4.xls", Biff4Worksheet());
    const CliRun sheets = RunCli({"table", book});
    EXPECT_EQ(sheets.status, 0) << sheets.err.toStdString();
    EXPECT_EQ(sheets.out, "Worksheet\n");
    const QString shown = ShownRows(book, "Worksheet");
    EXPECT_TRUE(shown.endsWith("\ntext\tabc")) << shown.toStdString();
    const std::optional<QString> reference = xlsfixtures::ReferenceRows(book, "Worksheet");
    if (!reference)
        GTEST_SKIP() << "python3-xlrd is not installed";
    EXPECT_EQ(shown.toStdString(), reference->toStdString());
}
