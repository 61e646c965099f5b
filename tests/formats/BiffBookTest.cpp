#include "formats/BiffBook.h"

#include "common/BiffBytes.h"
#include "common/FuzzSeeds.h"
#include "formats/BiffFormats.h"
#include "formats/CompoundFile.h"

#include <gtest/gtest.h>

using namespace biffbytes;
using biff::CellKind;

namespace {

QByteArray Latin(const char* text)
{
    return QByteArray(text);
}

QByteArray Wide(const QString& text)
{
    QByteArray out;
    for (const QChar c : text)
        out += Words({c.unicode()});
    return out;
}

/// A BIFF8 workbook stream: shared strings split over CONTINUE records (one string
/// changes from two bytes a character to one in the middle), a date format, a chart
/// sheet, and a worksheet "Cells" with every kind of cell record, formatted empty cells
/// in its last row, and a DIMENSIONS record that claims the whole sheet.
QByteArray Biff8Stream()
{
    const QByteArray bof = Words({0x0600, 0x0005}) + QByteArray(12, '\0');
    const QByteArray sst = Dword(4) + Dword(4) + Words({5}) + QByteArray(1, '\0') + Latin("alpha") +
                           Words({6}) + "\x01" + Wide(QStringLiteral("Пр"));
    const QByteArray more = QByteArray("\x01") + Wide(QStringLiteral("ивет")) + Words({4}) +
                            "\x08" + Words({1}) + Latin("bold") + Dword(0) + Words({5}) + "\x01" +
                            Wide("mi");
    const QByteArray last = QByteArray("\x00", 1) + Latin("xed");
    const QByteArray format = Words({164, 10}) + QByteArray("\x00", 1) + Latin("yyyy-mm-dd");
    const auto xf = [](quint16 format) {
        return Record(0x00E0, Words({0, format}) + QByteArray(16, '\0'));
    };
    QByteArray globals = Record(0x0809, bof) + Record(0x00FC, sst) + Record(0x003C, more) +
                         Record(0x003C, last) + Record(0x041E, format) + xf(0) + xf(164) + xf(14);
    const auto sheetRecord = [](quint32 at, quint8 type, const char* name) {
        return Record(0x0085, Dword(at) + QByteArray(1, '\0') + QByteArray(1, char(type)) +
                                  QByteArray(1, char(qstrlen(name))) + QByteArray(1, '\0') + name);
    };
    const qsizetype sheetsSize =
        sheetRecord(0, 0, "Cells").size() + sheetRecord(0, 2, "Chart").size();
    const quint32 sheetAt = quint32(globals.size() + sheetsSize + 4);
    globals +=
        sheetRecord(sheetAt, 0, "Cells") + sheetRecord(sheetAt, 2, "Chart") + Record(0x000A, {});

    QByteArray sheet =
        Record(0x0809, Words({0x0600, 0x0010}) + QByteArray(12, '\0')) +
        Record(0x0200, Dword(0) + Dword(65536) + Words({0, 256, 0})); // says too much
    for (quint16 c = 0; c < 4; ++c)
        sheet += Record(0x00FD, Words({0, c, 0}) + Dword(c));
    sheet +=
        Record(0x00BD, Words({1, 0, 0}) + Dword((5 << 2) | 2) + Words({0}) + Dword((150 << 2) | 3) +
                           Words({0}) + Dword(0x40040000) + Words({2}));
    sheet += Record(0x0203, Words({2, 0, 1}) + Double(45356));
    sheet += Record(0x027E, Words({2, 1, 2}) + Dword((45357 << 2) | 2));
    sheet += Record(0x0006, Words({3, 0, 0}) + SpecialResult(0) + FormulaTail()) +
             Record(0x0207, Words({4}) + QByteArray("\x00", 1) + "ab") +
             Record(0x003C, QByteArray("\x00", 1) + "cd");
    sheet += Record(0x0006, Words({3, 1, 0}) + SpecialResult(1, 1) + FormulaTail());
    sheet += Record(0x0006, Words({3, 2, 0}) + SpecialResult(2, 0x17) + FormulaTail());
    sheet += Record(0x0006, Words({3, 3, 1}) + Double(45358.5) + FormulaTail());
    sheet += Record(0x0205, Words({4, 0, 0}) + QByteArray("\x24\x01", 2));
    sheet += Record(0x0203, Words({4, 1, 0}) + Double(99)); // overwritten by the next
    sheet += Record(0x0204, Words({4, 1, 0, 1}) + QByteArray("\x00", 1) + "x");
    sheet += Record(0x00BE, Words({6, 0, 15, 15, 15, 2})); // formatted empty cells
    return globals + sheet + Record(0x000A, {});
}

QStringList RowTexts(const biff::Book& book, const biff::Sheet& sheet)
{
    QStringList rows;
    for (quint32 r = 0; r < sheet.rows; ++r) {
        QStringList cells;
        for (quint16 c = 0; c < sheet.columns; ++c) {
            const biff::Cell* cell = sheet.at(r, c);
            cells << (!cell ? QString() : biff::CellText(*cell, book.dates1904));
        }
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

TEST(BiffFormats, NumberFormatsAreDatesTimesBothOrNumbers)
{
    const std::pair<const char*, CellKind> cases[] = {
        {"General", CellKind::Number},
        {"0.00", CellKind::Number},
        {"#,##0 \"days\"", CellKind::Number},
        {"[Red]0.0;[Blue]-0.0", CellKind::Number},
        {"_(\\d* #,##0_)", CellKind::Number},
        {"YYYY-MM-DD", CellKind::Date},
        {"d-mmm-yy", CellKind::Date},
        {"mmmm", CellKind::Date},
        {"[$-419]DD MMMM YYYY", CellKind::Date},
        {"h:mm AM/PM", CellKind::Time},
        {"mm:ss", CellKind::Time},
        {"[h]:mm", CellKind::Time},
        {"dd/mm/yyyy hh:mm", CellKind::DateTime},
    };
    for (const auto& [format, kind] : cases)
        EXPECT_EQ(biff::KindOfFormat(QString::fromUtf8(format)), kind) << format;
    EXPECT_EQ(biff::KindOfBuiltInFormat(14), CellKind::Date);
    EXPECT_EQ(biff::KindOfBuiltInFormat(22), CellKind::DateTime);
    EXPECT_EQ(biff::KindOfBuiltInFormat(46), CellKind::Time);
    EXPECT_EQ(biff::KindOfBuiltInFormat(2), CellKind::Number);
}

TEST(BiffCellText, DaysCountInEitherDateSystemWithExcelsFebruary1900)
{
    const auto text = [](CellKind kind, double number, bool dates1904 = false) {
        biff::Cell cell;
        cell.kind = kind;
        cell.number = number;
        return biff::CellText(cell, dates1904);
    };
    EXPECT_EQ(text(CellKind::Date, 1), "1900-01-01");
    EXPECT_EQ(text(CellKind::Date, 59), "1900-02-28");
    EXPECT_EQ(text(CellKind::Date, 60), "1900-02-29"); // Excel's day that never was
    EXPECT_EQ(text(CellKind::Date, 61), "1900-03-01");
    EXPECT_EQ(text(CellKind::Date, 45356.99), "2024-03-05");
    EXPECT_EQ(text(CellKind::Date, 45356 - 1462, true), "2024-03-05");
    EXPECT_EQ(text(CellKind::DateTime, 45356 + 0.5729166667), "2024-03-05 13:45:00");
    EXPECT_EQ(text(CellKind::Time, 0.75), "18:00:00");
    EXPECT_EQ(text(CellKind::Date, 1e300), "1e+300"); // past any calendar: the number
    EXPECT_EQ(text(CellKind::Number, 0.1 + 0.2), "0.3");
    EXPECT_EQ(text(CellKind::Boolean, 1), "1");
    EXPECT_EQ(text(CellKind::Error, 0x07), "#DIV/0!");
    EXPECT_EQ(text(CellKind::Error, 0x2A), "#N/A");
}

TEST(BiffBook, Biff8RecordsGiveEveryCellKindAcrossContinueRecords)
{
    const QByteArray stream = Biff8Stream();
    SaveFuzzSeed("xls_records", "biff8-stream.xls", stream);
    const std::optional<biff::Book> book = biff::ReadBook(stream);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->version, 8);
    ASSERT_EQ(book->sheets.size(), 1u); // the chart sheet holds no cells
    const biff::Sheet& sheet = book->sheets[0];
    EXPECT_EQ(sheet.name, "Cells");
    EXPECT_EQ(RowTexts(*book, sheet),
              QStringList({"alpha|Привет|bold|mixed", "5|1.5|2.5|", "2024-03-05|2024-03-06||",
                           "abcd|1|#REF!|2024-03-07", "#NUM!|x||", "|||", "|||"}));
    EXPECT_TRUE(sheet.at(3, 0)->formula);
    EXPECT_FALSE(sheet.at(4, 1)->formula);
    // Only the sheet asked for is read.
    EXPECT_TRUE(biff::ReadBook(stream, QStringLiteral("Other"))->sheets[0].cells.empty());
}

TEST(BiffBook, Biff2CellsTakeTheirFormatFromTheirAttributes)
{
    const QByteArray attributes = QByteArray("\x00\x02\x00", 3); // format 2, the date
    const QByteArray plain(3, '\0');
    const QByteArray stream =
        Record(0x0009, Words({2, 0x0010})) + Record(0x001E, "\x07General") +
        Record(0x001E, "\x04"
                       "0.00") +
        Record(0x001E, "\x08"
                       "d-mmm-yy") +
        Record(0x0002, Words({0, 0}) + plain + Words({7})) +
        Record(0x0003, Words({0, 1}) + attributes + Double(45356)) +
        Record(0x0004, Words({1, 0}) + plain +
                           "\x04"
                           "caf\xe9") +
        Record(0x0005, Words({1, 1}) + plain + QByteArray("\x00\x00", 2)) +
        Record(0x0006, Words({2, 0}) + plain + SpecialResult(0) + QByteArray(3, '\0')) +
        Record(0x0007, "\x03txt") + Record(0x000A, {});
    const std::optional<biff::Book> book = biff::ReadBook(stream);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->version, 2);
    ASSERT_EQ(book->sheets.size(), 1u);
    EXPECT_EQ(book->sheets[0].name, "Worksheet");
    EXPECT_EQ(RowTexts(*book, book->sheets[0]), QStringList({"7|2024-03-05", "café|0", "txt|"}));
}

TEST(BiffBook, DamagedWorkbooksGiveWhatIsReadableOrNothing)
{
    const QByteArray stream = Biff8Stream();
    for (qsizetype size = 0; size < stream.size(); ++size)
        (void)biff::ReadBook(stream.left(size)); // never reads past the end (sanitizers)
    EXPECT_FALSE(biff::ReadBook(QByteArray(4096, '\x01')));
    EXPECT_FALSE(biff::ReadBook(Record(0x0809, Words({0x0600, 5}) + QByteArray(12, '\0')) +
                                Record(0x002F, QByteArray(6, '\0'))))
        << "an encrypted workbook";
    // Sheet records inside a sheet name no further sheets.
    QByteArray strayRecords;
    for (int i = 0; i < 9; ++i)
        strayRecords += Record(0x0085, Dword(0) + Words({0}) + QByteArray("\x01\x00x", 3));
    QByteArray stray = stream;
    stray.insert(stream.size() - 4, strayRecords);
    const std::optional<biff::Book> strayBook = biff::ReadBook(stray);
    ASSERT_TRUE(strayBook);
    EXPECT_EQ(strayBook->sheets.size(), 1u);
    // A sheet whose offset points off the stream is listed without cells.
    QByteArray pointingAway = stream;
    pointingAway.replace(stream.indexOf(QByteArray("\x85\x00", 2)) + 4, 4, Dword(0x7FFFFFF0));
    const std::optional<biff::Book> book = biff::ReadBook(pointingAway);
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->sheets[0].cells.empty());
}

namespace {

/// A version 3 compound file with one small stream, kept in the mini stream as writers
/// keep streams under 4096 bytes: header, FAT, directory, mini FAT, then the mini
/// stream's sectors. With `fatInDifat` the FAT sector is listed in a DIFAT sector at the
/// end instead of the header, as files of more than 109 FAT sectors list the rest.
QByteArray SmallCompoundFile(const QString& name, const QByteArray& stream, bool fatInDifat = false)
{
    constexpr quint32 End = 0xFFFFFFFE;
    constexpr quint32 Free = 0xFFFFFFFF;
    const auto sectorOf = [](QByteArray bytes) {
        bytes.resize(((bytes.size() + 511) / 512) * 512, '\0');
        return bytes;
    };
    const QByteArray mini = sectorOf(stream);
    const quint32 miniSectors = quint32((stream.size() + 63) / 64);
    QByteArray header = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(16, '\0') +
                        Words({0x3E, 3, 0xFFFE, 9, 6}) + QByteArray(10, '\0') + Dword(1) +
                        Dword(1) + Dword(0) + Dword(4096) + Dword(2) + Dword(1) + Dword(End) +
                        Dword(0) + Dword(0);
    while (header.size() < 512)
        header += Dword(Free);
    QByteArray fat = Dword(0xFFFFFFFD) + Dword(End) + Dword(End);
    const quint32 containers = quint32(mini.size() / 512);
    for (quint32 i = 0; i < containers; ++i)
        fat += Dword(i + 1 < containers ? 4 + i : End);
    const auto entry = [](const QString& entryName, quint8 type, quint32 start, quint32 size) {
        QByteArray e = Wide(entryName) + Words({0});
        e.resize(64, '\0');
        e += Words({quint16((entryName.size() + 1) * 2)}) + QByteArray(1, char(type)) +
             QByteArray(1, '\0') + Dword(Free) + Dword(Free) + Dword(Free);
        e.resize(0x74, '\0');
        return e + Dword(start) + Dword(size) + Dword(0);
    };
    QByteArray miniFat;
    for (quint32 i = 0; i < miniSectors; ++i)
        miniFat += Dword(i + 1 < miniSectors ? i + 1 : End);
    QByteArray difat;
    if (fatInDifat) {
        const quint32 difatSector = 3 + containers;
        header.replace(0x44, 12, Dword(difatSector) + Dword(1) + Dword(Free));
        fat += Dword(0xFFFFFFFC);
        difat = Dword(0);
        while (difat.size() < 508)
            difat += Dword(Free);
        difat += Dword(End);
    }
    return header + sectorOf(fat) +
           sectorOf(entry("Root Entry", 5, 3, quint32(mini.size())) +
                    entry(name, 2, 0, quint32(stream.size()))) +
           sectorOf(miniFat) + mini + difat;
}

} // namespace

TEST(CompoundFile, SmallStreamsComeFromTheMiniStreamTheFatFromDifatAndLoopsEnd)
{
    const QByteArray stream = Biff8Stream();
    ASSERT_LT(stream.size(), 4096);
    const QByteArray file = SmallCompoundFile("Workbook", stream);
    SaveFuzzSeed("xls_records", "mini-stream.xls", file);
    EXPECT_EQ(CompoundFileStream(file, {"Book", "WORKBOOK"}), stream);
    EXPECT_FALSE(CompoundFileStream(file, {"Book"}));
    const std::optional<biff::Book> book = biff::ReadBook(file);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheets.at(0).cells.size(), biff::ReadBook(stream)->sheets.at(0).cells.size());
    EXPECT_EQ(CompoundFileStream(SmallCompoundFile("Workbook", stream, true), {"Workbook"}),
              stream);
    // A FAT whose directory chain points at itself gives up instead of looping.
    QByteArray looped = file;
    looped.replace(512 + 4, 4, Dword(1));
    (void)CompoundFileStream(looped, {"Workbook"});
}

TEST(BiffBook, Biff5TextsAreDecodedByTheWorkbooksCodePage)
{
    const QByteArray cyrillic("\xCF\xF0\xE8\xE2\xE5\xF2"); // "Привет" in Windows-1251
    QByteArray globals =
        Record(0x0809, Words({0x0500, 0x0005, 0, 0})) + Record(0x0042, Words({1251}));
    const QByteArray name("\x04\xcb\xe8\xf1\xf2"); // "Лист"
    const QByteArray sheetRecord = Record(0x0085, Dword(0) + Words({0}) + name);
    const quint32 sheetAt = quint32(globals.size() + sheetRecord.size() + 4);
    globals += Record(0x0085, Dword(sheetAt) + Words({0}) + name) + Record(0x000A, {});
    const QByteArray sheet = Record(0x0809, Words({0x0500, 0x0010, 0, 0})) +
                             Record(0x0204, Words({0, 0, 0, 6}) + cyrillic) + Record(0x000A, {});
    const std::optional<biff::Book> book = biff::ReadBook(globals + sheet);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->version, 5);
    ASSERT_EQ(book->sheets.size(), 1u);
    EXPECT_EQ(book->sheets[0].name, "Лист");
    EXPECT_EQ(RowTexts(*book, book->sheets[0]), QStringList({"Привет"}));
}
