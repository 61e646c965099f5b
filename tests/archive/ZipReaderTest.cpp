#include "ArchiveFixtures.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ZipReader, CollectedNamesAreTheEntriesWithAFileName)
{
    TempTree t;
    // "\\" separates only in a name without "/"; a name ending in its separator is a folder.
    const QString zip =
        SeededFile(t, "zip", "separators.zip",
                   BuildZip({ZipItem{"win\\folder\\"}, ZipItem{"mixed/name\\"}, ZipItem{"dir/sub/"},
                             ZipItem{QByteArray()}, ZipItem{"plain"}, ZipItem{"a\\b/c"}}));
    QStringList fromEntries;
    for (const ArchiveEntry& e : ReadEntries(zip)) {
        if (!e.FileName.isEmpty())
            fromEntries << e.path + e.FileName;
    }
    EXPECT_EQ(fromEntries, QStringList({"mixed/name\\", "plain", "a\\b/c"}));
    EXPECT_EQ(EntryNames(zip), fromEntries);
}

TEST(ZipReader, ListsHandBuiltEntriesWithEveryField)
{
    TempTree t;
    ZipItem deflated{"docs/readme.txt", QByteArray(40, 'r'), 8, 6};
    deflated.comment = "first";
    ZipItem folder{"docs/", {}};
    ZipItem windows{"win\\dir\\name.txt", "abc"};
    ZipItem zeroDate{"old.txt"};
    zeroDate.date = zeroDate.time = 0;
    const QString zip =
        SeededFile(t, "zip", "fields.zip", BuildZip({deflated, folder, windows, zeroDate}));

    const std::vector<ArchiveEntry> e = ReadEntries(zip);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(EntryLine(e[0]), "docs/|readme.txt 40/40 m8 f6 2025-01-01T12:00:00Z");
    EXPECT_EQ(e[0].Crc, Crc32(QByteArray(40, 'r')));
    EXPECT_EQ(e[0].Comments, "first");
    EXPECT_EQ(EntryLine(e[1]), "docs/| 0/0 m0 f0 2025-01-01T12:00:00Z");
    EXPECT_EQ(EntryLine(e[2]), "win\\dir\\|name.txt 3/3 m0 f0 2025-01-01T12:00:00Z");
    EXPECT_EQ(e[3].Index, 4);
    EXPECT_EQ(e[3].Total, 4);

    // The folder entry adds nothing; the names keep their stored separators.
    EXPECT_EQ(EntryNames(zip), QStringList({"docs/readme.txt", "win\\dir\\name.txt", "old.txt"}));
    EXPECT_EQ(CountText(zip), "X 4");

    const QStringList d = EntryDetails(zip, "docs/readme.txt");
    ASSERT_EQ(d.size(), 14);
    EXPECT_EQ(d.mid(1),
              QStringList({"readme.txt", " 4", " 1", "docs\\", "zip", "01-Jan-25 12:00", "40 bytes",
                           "40 bytes", "00.0%", " 8", "Deflated:S", "False", "first"}));
    EXPECT_EQ(EntryDetails(zip, "old.txt").at(6), "01-Jan-80 03:00");
    EXPECT_TRUE(EntryDetails(zip, "docs/").isEmpty());
    EXPECT_TRUE(EntryDetails(zip, "readme.txt").isEmpty()) << "the full name is compared";
}

TEST(ZipReader, EndRecordOutsideTheSearchedTailOrAtOffsetZeroListsNothing)
{
    TempTree t;
    const QString longComment =
        SeededFile(t, "zip", "comment.zip",
                   BuildZip({{"a.txt", QByteArray(100, 'a')}}, QByteArray(4075, 'c')));
    EXPECT_TRUE(EntryNames(longComment).isEmpty());
    const QString shortComment = SeededFile(
        t, "zip", "short.zip", BuildZip({{"a.txt", QByteArray(100, 'a')}}, QByteArray(4000, 'c')));
    EXPECT_EQ(EntryNames(shortComment), QStringList{"a.txt"});

    const QString empty = SeededFile(t, "zip", "empty.zip", BuildZip({}));
    EXPECT_EQ(CountText(empty), "X") << "an empty archive's end record sits at offset 0";
    EXPECT_TRUE(EntryNames(t.file("zero.zip", QByteArray())).isEmpty());
    EXPECT_TRUE(EntryNames(t.path("missing.zip")).isEmpty());
}

TEST(ZipReader, DamagedDirectoryShowsAFewBoxesThenStops)
{
    TempTree t;
    // An end record claiming 65,535 entries at an offset far past the end of the file.
    LeBytes bytes;
    bytes.raw("junk").u32(0x06054B50).u16(0).u16(0).u16(0xFFFF).u16(0xFFFF).u32(0).u32(0x7FFFFFF0);
    const QString zip = SeededFile(t, "zip", "damaged.zip", bytes.bytes());
    QStringList shown;
    const std::vector<ArchiveEntry> e = ReadEntries(zip, &shown);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown.first(), "Input past end of file\r\nin cArchive.GetZip component at line 6");
    EXPECT_TRUE(shown.last().startsWith("The archive is damaged"));
    EXPECT_LE(e.size(), 3u);

    // Garbage records that read whole are listed with meaningless fields, no box.
    QByteArray garbage = BuildZip({{"a", "1"}, {"b", "2"}});
    garbage[garbage.indexOf("PK\x01\x02") + 10] = 'Z';
    const QString odd = SeededFile(t, "zip", "garbage.zip", garbage);
    EXPECT_EQ(ReadEntries(odd, &shown).size(), 2u);
    EXPECT_TRUE(shown.isEmpty());
}

TEST(ZipReader, CountsAbove32767AndZip64EndRecords)
{
    TempTree t;
    QList<ZipItem> many;
    for (int i = 0; i < 40000; ++i)
        many.append({QByteArray("f") + QByteArray::number(i), {}});
    const QString big = t.file("many.zip", BuildZip(many));
    EXPECT_EQ(CountText(big), "X 40000");
    EXPECT_EQ(EntryNames(big).size(), 40000);

    // 70,000 entries: the classic count saturates and a ZIP64 end record holds it.
    QByteArray zip = BuildZip({{"x", "1"}});
    const qsizetype end = zip.lastIndexOf("PK\x05\x06");
    LeBytes z64;
    z64.u32(0x06064B50).u64(44).u16(45).u16(45).u32(0).u32(0).u64(70000).u64(70000);
    z64.u64(end - zip.indexOf("PK\x01\x02")).u64(zip.indexOf("PK\x01\x02"));
    z64.u32(0x07064B50).u32(0).u64(end).u32(1);
    QByteArray tail = zip.mid(end);
    tail[8] = tail[9] = tail[10] = tail[11] = char(0xFF);
    const QString z = SeededFile(t, "zip", "zip64.zip", zip.left(end) + z64.bytes() + tail);
    EXPECT_EQ(CountText(z), "X 70000");

    // An entry over 4 GB keeps its sizes in the ZIP64 extra field.
    ZipItem huge{"huge.iso"};
    huge.saturatedSizes = true;
    huge.extra = LeBytes()
                     .u16(0x5455)
                     .u16(1)
                     .u8(0)
                     .u16(1)
                     .u16(16)
                     .u64(5000000000ULL)
                     .u64(4000000000ULL)
                     .bytes();
    const std::vector<ArchiveEntry> e =
        ReadEntries(SeededFile(t, "zip", "huge.zip", BuildZip({huge})));
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].Size, 5000000000ULL);
    EXPECT_EQ(e[0].CompSize, 4000000000ULL);
}

TEST(ZipReader, ZipsMadeByRealTools)
{
    TempTree t;
    t.file("src/a.txt", QByteArray(1000, 'a'));
    t.file("src/sub/b.bin", QByteArray("\x01\x02\x03", 3));
    t.setModified("src/a.txt", QDateTime(QDate(2021, 6, 15), QTime(10, 30, 4)));
    struct Tool {
        QString program;
        QString output;
        QStringList args;
    };
    const QList<Tool> tools{
        {"zip", "info.zip", {"-qr", "info.zip", "src"}},
        {"bsdtar", "bsd.zip", {"-a", "-cf", "bsd.zip", "src"}},
        {"python3",
         "py.zip",
         {"-c", "import zipfile\nwith zipfile.ZipFile('py.zip','w',zipfile.ZIP_DEFLATED) as z:\n"
                " z.write('src/a.txt'); z.write('src/sub/b.bin')"}}};
    int tried = 0;
    for (const Tool& tool : tools) {
        if (!HasTool(tool.program))
            continue;
        ++tried;
        ASSERT_TRUE(RunTool(t.root(), tool.program, tool.args)) << tool.program.toStdString();
        const QString name = t.path(tool.output);
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        SaveFuzzSeed("zip", tool.program + ".zip", f.readAll());
        EXPECT_TRUE(EntryNames(name).contains("src/a.txt")) << tool.program.toStdString();
        EXPECT_TRUE(EntryNames(name).contains("src/sub/b.bin")) << tool.program.toStdString();
        const QStringList d = EntryDetails(name, "src/a.txt");
        ASSERT_EQ(d.size(), 14) << tool.program.toStdString();
        EXPECT_EQ(d.at(6), "15-Jun-21 10:30") << tool.program.toStdString();
        EXPECT_EQ(d.at(7), "1000 bytes");
        EXPECT_EQ(d.at(11), "Deflated:N") << tool.program.toStdString();
        // 1000 equal bytes deflate to a few bytes.
        EXPECT_GT(d.at(9).chopped(1).toDouble(), 95.0) << d.at(9).toStdString();
        if (tool.program == "zip") { // Info-ZIP stores what deflate cannot shrink
            EXPECT_EQ(EntryDetails(name, "src/sub/b.bin").at(11), "Stored");
        }
    }
    if (tried == 0)
        GTEST_SKIP() << "zip, bsdtar and python3 missing (scripts/setup.sh test installs them)";
}

TEST(ZipReader, EntriesNamedLikeACountRequestShowTheirDetails)
{
    if (!HasTool("python3"))
        GTEST_SKIP() << "python3 missing (scripts/setup.sh test installs it)";
    TempTree t;
    ASSERT_TRUE(RunTool(t.root(), "python3",
                        {"-c", "import zipfile\nwith zipfile.ZipFile('x.zip','w') as z:\n"
                               " z.writestr('Xmas.txt', 'tree'); z.writestr('X', 'x')"}));
    const QString zip = t.path("x.zip");
    const QStringList xmas = EntryDetails(zip, "Xmas.txt");
    ASSERT_EQ(xmas.size(), 14) << "a name starting with X asks for details, not a count";
    EXPECT_EQ(xmas.at(1), "Xmas.txt");
    EXPECT_EQ(EntryDetails(zip, "X").size(), 14);
    EXPECT_EQ(CountText(zip), "X 2");
}
