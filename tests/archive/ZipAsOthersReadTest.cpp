// Zips that other readers list and extract: bytes in front, Unicode path fields, names
// that are not UTF-8, entries the library cannot reach, folders by attribute.
#include "ArchiveFixtures.h"
#include "archive/ExamineArchive.h"
#include "archive/ExtractZipEntry.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <optional>

namespace {

/// The file's bytes, by the exact bytes of its name.
QByteArray Read(const QString& path)
{
    QFile f;
    return platform::openForReading(f, path) ? f.readAll() : QByteArray("<missing>");
}

/// The names `unzip -Z -1` lists (files only), or nothing when unzip is missing.
std::optional<QStringList> UnzipNames(const QString& zip)
{
    if (!HasTool("unzip"))
        return std::nullopt;
    QProcess unzip;
    unzip.start("unzip", {"-Z", "-1", zip});
    unzip.waitForFinished(30000);
    QStringList names;
    for (const QByteArray& line : unzip.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty() && !line.endsWith('/'))
            names << platform::decodeFileName(line);
    }
    return names;
}

/// A Unicode path extra field naming the entry stored as `stored`.
QByteArray UnicodePath(const QByteArray& stored, const QByteArray& utf8, quint32 crcDelta = 0)
{
    LeBytes field;
    field.u16(0x7075).u16(5 + utf8.size()).u8(1).u32(Crc32(stored) + crcDelta).raw(utf8);
    return field.bytes();
}

} // namespace

TEST(ZipAsOthersRead, BytesInFrontListAndExtractLikeUnzip)
{
    TempTree t;
    const QByteArray zip = BuildZip({{"a.txt", "first"}, {"sub/b.txt", "second"}});
    const QByteArray prefixed = QByteArray(100, '\x7f') + zip;
    SaveFuzzSeed("zip", "prefixed.zip", prefixed);
    SaveFuzzSeed("zip_extract", "prefixed.zip", prefixed);
    const QString path = t.file("prefixed.zip", prefixed);
    EXPECT_EQ(EntryNames(path), QStringList({"a.txt", "sub/b.txt"}));
    if (const auto reference = UnzipNames(path)) {
        EXPECT_EQ(EntryNames(path), *reference);
    }
    ScriptedPrompts prompts;
    const QString out = t.folder("out");
    EXPECT_EQ(ExtractZipEntry(path, out, "sub/b.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(Read(out + "/sub/b.txt"), "second");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shownTexts().join('|').toStdString();
}

TEST(ZipAsOthersRead, SelfExtractingZipsMadeByZip)
{
    if (!HasTool("zip"))
        GTEST_SKIP() << "zip missing";
    TempTree t;
    t.file("src/one.txt", QByteArray("one\n"));
    t.file("src/two.txt", QByteArray(3000, 't'));
    ASSERT_TRUE(RunTool(t.root(), "zip", {"-qr", "plain.zip", "src"}));
    const QByteArray stub = "#!/bin/sh\necho this is a stub\nexit 0\n" + QByteArray(200, '#');
    const QByteArray zip = Read(t.path("plain.zip"));
    // Prepended as is (offsets short by the stub), and adjusted by zip -A.
    t.file("cat.zip", stub + zip);
    t.file("sfx.zip", stub + zip);
    ASSERT_TRUE(RunTool(t.root(), "zip", {"-qA", "sfx.zip"}));
    for (const QString name : {"cat.zip", "sfx.zip"}) {
        const QString path = t.path(name);
        SaveFuzzSeed("zip", name, Read(path));
        QStringList names = EntryNames(path);
        names.sort();
        EXPECT_EQ(names, QStringList({"src/one.txt", "src/two.txt"})) << name.toStdString();
        if (const auto reference = UnzipNames(path)) {
            EXPECT_EQ(EntryNames(path), *reference);
        }
        ScriptedPrompts prompts;
        const QString out = t.folder(name + ".out");
        EXPECT_EQ(ExtractZipEntry(path, out, "src/two.txt", prompts), ExtractOutcome::Extracted);
        EXPECT_EQ(Read(out + "/src/two.txt"), QByteArray(3000, 't')) << name.toStdString();
    }
}

TEST(ZipAsOthersRead, NamesKeepTheirBytesOrTakeTheUnicodePath)
{
    TempTree t;
    const QByteArray cp437 = "caf\x82.txt";   // é in the DOS code page
    const QByteArray latin1 = "r\xe9sum\xe9"; // neither UTF-8 nor flagged
    ZipItem unicode{cp437, "u"};
    unicode.extra = UnicodePath(cp437, "café.txt");
    ZipItem stale{"old\x82.txt", "s"};
    stale.extra = UnicodePath("old\x82.txt", "new.txt", 1); // written for another name
    const QByteArray bytes = BuildZip({unicode, stale, {latin1, "l"}});
    SaveFuzzSeed("zip", "unicode-path.zip", bytes);
    const QString zip = t.file("names.zip", bytes);
    const QString latin1Name = platform::decodeFileName(latin1);
    EXPECT_EQ(EntryNames(zip),
              QStringList({"café.txt", platform::decodeFileName("old\x82.txt"), latin1Name}));
    if (const auto reference = UnzipNames(zip)) {
        EXPECT_EQ(EntryNames(zip).first(), reference->first());
    }
    const QString out = t.folder("out");
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(zip, out, "café.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(Read(out + "/café.txt"), "u");
    // The listed name of a non-UTF-8 entry reaches it, and the file gets its bytes.
    EXPECT_EQ(ExtractZipEntry(zip, out, latin1Name, prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(Read(out + "/" + latin1Name), "l");
    EXPECT_EQ(platform::encodeFileName(latin1Name), latin1);
}

TEST(ZipAsOthersRead, ExtractionGoesOnPastAnEntryTheLibraryCannotRead)
{
    TempTree t;
    QByteArray bytes = BuildZip({{"broken.txt", "xxxx"}, {"later.txt", "later"}});
    bytes.replace(0, 4, "XXXX"); // the first local header's signature
    SaveFuzzSeed("zip_extract", "broken-first.zip", bytes);
    const QString zip = t.file("broken.zip", bytes);
    EXPECT_EQ(EntryNames(zip), QStringList({"broken.txt", "later.txt"}));
    ScriptedPrompts prompts;
    const QString out = t.folder("out");
    EXPECT_EQ(ExtractZipEntry(zip, out, "later.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(Read(out + "/later.txt"), "later");
    EXPECT_NE(ExtractZipEntry(zip, out, "broken.txt", prompts), ExtractOutcome::Extracted);
}

TEST(ZipAsOthersRead, FoldersByTheirDosAttributeAreFolders)
{
    TempTree t;
    ZipItem dosFolder{"docs"};
    dosFolder.externalAttr = 0x10;
    dosFolder.madeBy = 20; // FAT
    ZipItem unixFile{"attr10"};
    unixFile.externalAttr = (0100644u << 16) | 0x10; // Unix host: the low bits mean nothing
    unixFile.madeBy = 0x031E;
    const QString zip = t.file("dos.zip", BuildZip({dosFolder, {"docs/in.txt", "i"}, unixFile}));
    EXPECT_EQ(EntryNames(zip), QStringList({"docs/in.txt", "attr10"}));
    const std::vector<ArchiveEntry> entries = ReadEntries(zip);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, "docs/");
    EXPECT_EQ(entries[0].FileName, "");
}
