#include "ArchiveFixtures.h"
#include "archive/ExamineArchive.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(CabReader, HandBuiltCabinetGivesOneMethodForAllAndNoCompressedSize)
{
    TempTree t;
    CabItem dated{"dir\\a.txt", 1234};
    dated.date = 0;
    const QString cab = SeededFile(
        t, "cab", "lzx.cab", BuildCab({dated, {"b.doc", 99}, {"sub\\deeper\\c.bin", 0}}, 0x1503));
    const std::vector<ArchiveEntry> e = ReadEntries(cab);
    ASSERT_EQ(e.size(), 3u);
    // The flags are the cabinet header's, the method its folder's, for every entry.
    EXPECT_EQ(EntryLine(e[0]), "dir\\|a.txt 1234/0 m5379 f4660 1980-01-01T03:00:00Z");
    EXPECT_EQ(EntryLine(e[1]), "|b.doc 99/0 m5379 f4660 2025-01-01T12:00:00Z");
    EXPECT_EQ(EntryLine(e[2]), "sub\\deeper\\|c.bin 0/0 m5379 f4660 2025-01-01T12:00:00Z");

    const QStringList d = EntryDetails(cab, "dir\\a.txt");
    ASSERT_EQ(d.size(), 14);
    EXPECT_EQ(d.mid(6), QStringList({"01-Jan-80 03:00", "1.205 Kb", "0 bytes", "00.0%", " 5379",
                                     "Lzx", "False", ""}));
    EXPECT_EQ(CountText(cab), "X.... 3");

    // A file count past the data ends the reading at the end of the file, silently.
    QByteArray cut = BuildCab({{"a.txt", 1}}, 1);
    cut[28] = char(0xFF);
    cut[29] = char(0xFF);
    QStringList shown;
    const std::vector<ArchiveEntry> few = ReadEntries(SeededFile(t, "cab", "cut.cab", cut), &shown);
    EXPECT_EQ(few.size(), 1u);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(ReadEntries(t.file("notcab.cab", QByteArray("MSCX"))).empty());
}

TEST(CabReader, CabinetMadeByGcab)
{
    if (!HasTool("gcab"))
        GTEST_SKIP() << "gcab missing (scripts/setup.sh test installs it)";
    TempTree t;
    t.file("in/one.txt", QByteArray(3000, 'o'));
    t.file("in/two.txt", QByteArray(10, 't'));
    t.setModified("in/one.txt", QDateTime(QDate(2019, 2, 3), QTime(12, 5, 6)));
    ASSERT_TRUE(RunTool(t.root(), "gcab", {"-c", "-z", "made.cab", "in/one.txt", "in/two.txt"}));
    QFile f(t.path("made.cab"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    SaveFuzzSeed("cab", "gcab.cab", f.readAll());

    ScriptedPrompts prompts;
    EXPECT_EQ(ArchiveEntryNames(t.path("made.cab"), prompts),
              QStringList({"in\\one.txt", "in\\two.txt"}));
    const QStringList d = EntryDetails(t.path("made.cab"), "in\\one.txt");
    ASSERT_EQ(d.size(), 14);
    EXPECT_EQ(d.at(6).left(9), "03-Feb-19") << "noon: the same day in local time or UTC";
    EXPECT_EQ(d.at(7), "2.93 Kb");
    EXPECT_EQ(d.at(11), "MsZip");
}

TEST(RarListing, StoredRarBuiltByteByByte)
{
    TempTree t;
    RarItem file{"docs\\note.txt", "hello rar"};
    RarItem folder{"docs", {}, true};
    const QString rar =
        SeededFile(t, "rar", "stored.rar", BuildRar({folder, file, {"top.bin", "12"}}));
    const std::vector<ArchiveEntry> e = ReadEntries(rar);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(EntryLine(e[1]).section(' ', 0, 1), "docs/|note.txt 9/9")
        << "the packed size from the block header";
    EXPECT_EQ(e[1].Modified, QDateTime(QDate(2025, 1, 1), QTime(12, 0), Qt::UTC));
    EXPECT_EQ(e[1].Index, 2);
    EXPECT_EQ(e[1].Total, 3);
    EXPECT_EQ(CountText(rar), "X.... 3");
    EXPECT_EQ(EntryDetails(rar, "top.bin").at(11), "Stored");

    // Cut inside the second file's data: what was read stands, one GetRar box says why.
    const QByteArray whole = BuildRar({file, {"top.bin", QByteArray(500, 'x')}});
    ScriptedPrompts prompts;
    ArchiveSession session;
    ExamineArchive(SeededFile(t, "rar", "cut.rar", whole.left(whole.size() - 300)), session,
                   prompts);
    EXPECT_LE(session.collectedNames.size(), 2);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.first().title, "GetRar");
    EXPECT_TRUE(prompts.shown.first().text.startsWith("Error: "));
    EXPECT_TRUE(ReadEntries(t.file("not.rar", QByteArray("Rar!"))).empty());
}

TEST(AceReader, AceBuiltByteByByte)
{
    TempTree t;
    AceItem packed{"src\\main.c", QByteArray(300, 'm'), 1};
    packed.flags |= 0x4000; // password
    AceItem zeroDate{"empty.txt"};
    zeroDate.dosTime = 0;
    const QString ace = SeededFile(t, "ace", "two.ace",
                                   BuildAce({{"dir/readme.txt", "ace data"}, packed, zeroDate}));
    const std::vector<ArchiveEntry> e = ReadEntries(ace);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(EntryLine(e[0]).section(' ', 0, 1), "dir/|readme.txt 8/8");
    EXPECT_EQ(e[0].Crc, Crc32("ace data"));
    EXPECT_EQ(e[1].path, "src\\");
    EXPECT_EQ(e[2].Total, 3);

    EXPECT_EQ(EntryDetails(ace, "dir/readme.txt").mid(9, 4),
              QStringList({"00.0%", " 0", "Stored", "False"}));
    EXPECT_EQ(EntryDetails(ace, "src\\main.c").mid(10, 3),
              QStringList({" 1", "Deflated:1024Kb", "True"}));
    EXPECT_EQ(EntryDetails(ace, "empty.txt").at(6), "01-Jan-80 03:00");
    EXPECT_EQ(CountText(ace), "X.... 3");

    // A header running past the end: the entries before it stand, one GetAce box.
    const QByteArray whole = BuildAce({{"a.txt", "1"}, {"b.txt", "2"}});
    ScriptedPrompts prompts;
    ArchiveSession session;
    ExamineArchive(SeededFile(t, "ace", "cut.ace", whole.left(whole.size() - 5)), session, prompts);
    EXPECT_EQ(session.collectedNames, QStringList{"a.txt"});
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.first().title, "GetAce");
    EXPECT_TRUE(ReadEntries(t.file("not.ace", QByteArray(40, '*'))).empty());
}

TEST(ExamineArchive, OnlyTheFourExtensionsAreRead)
{
    TempTree t;
    const QByteArray zip = BuildZip({{"a.txt", "1"}});
    ScriptedPrompts prompts;
    EXPECT_EQ(ArchiveEntryNames(t.file("upper.ZIP", zip), prompts), QStringList{"a.txt"});
    EXPECT_TRUE(ArchiveEntryNames(t.file("a.jar", zip), prompts).isEmpty());
    EXPECT_TRUE(ArchiveEntryNames(t.file("zip", zip), prompts).isEmpty());
    EXPECT_EQ(ArchiveExtOf("/x/a.b/name"), "b/name");
    EXPECT_EQ(ArchiveExtOf("/x/name."), "");
}
