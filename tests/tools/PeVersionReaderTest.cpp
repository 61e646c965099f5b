#include "tools/PeVersionReader.h"

#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "tools/FileInfo.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}
void pad4(QByteArray& b)
{
    while (b.size() % 4)
        b.append('\0');
}
QByteArray utf16z(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes + QByteArray(2, '\0');
}

/// One version block: header, key, value and children, each started on 4 bytes.
QByteArray versionBlock(const QString& key, const QByteArray& value, quint16 valueLength,
                        quint16 type, const QList<QByteArray>& children = {})
{
    QByteArray b(6, '\0');
    b += utf16z(key);
    pad4(b);
    b += value;
    for (const QByteArray& child : children) {
        pad4(b);
        b += child;
    }
    put16(b, 0, quint16(b.size()));
    put16(b, 2, valueLength);
    put16(b, 4, type);
    return b;
}

QByteArray stringEntry(const QString& key, const QString& value)
{
    return versionBlock(key, utf16z(value), quint16(value.size() + 1), 1);
}

QByteArray versionResource(const QList<std::pair<QString, QString>>& strings)
{
    QList<QByteArray> entries;
    for (const auto& [key, value] : strings)
        entries << stringEntry(key, value);
    const QByteArray table = versionBlock("040904b0", {}, 0, 1, entries);
    const QByteArray stringInfo = versionBlock("StringFileInfo", {}, 0, 1, {table});
    const QByteArray varInfo =
        versionBlock("VarFileInfo", {}, 0, 1,
                     {versionBlock("Translation", QByteArray("\x09\x04\xb0\x04", 4), 4, 0)});
    QByteArray fixed(52, '\0');
    put32(fixed, 0, 0xFEEF04BD);
    return versionBlock("VS_VERSION_INFO", fixed, 52, 0, {varInfo, stringInfo});
}

/// A minimal 32-bit PE image with one .rsrc section holding RT_VERSION/1/0x409.
QByteArray peImage(const QByteArray& version)
{
    constexpr int RawOffset = 0x200;
    constexpr quint32 Rva = 0x1000;
    QByteArray rsrc(0x58, '\0');
    put16(rsrc, 14, 1); // root: one id entry
    put32(rsrc, 16, 16);
    put32(rsrc, 20, 0x80000000u | 0x18);
    put16(rsrc, 0x18 + 14, 1); // name level
    put32(rsrc, 0x18 + 16, 1);
    put32(rsrc, 0x18 + 20, 0x80000000u | 0x30);
    put16(rsrc, 0x30 + 14, 1); // language level
    put32(rsrc, 0x30 + 16, 0x409);
    put32(rsrc, 0x30 + 20, 0x48);
    put32(rsrc, 0x48, Rva + 0x58); // data entry
    put32(rsrc, 0x48 + 4, quint32(version.size()));
    rsrc += version;
    pad4(rsrc);

    QByteArray image(RawOffset, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, 0x40);
    image.replace(0x40, 4, QByteArray("PE\0\0", 4));
    const int coff = 0x44;
    put16(image, coff, 0x14C);
    put16(image, coff + 2, 1);
    put16(image, coff + 16, 224);
    const int optional = coff + 20;
    put16(image, optional, 0x10B);
    put32(image, optional + 92, 16);
    put32(image, optional + 96 + 16, Rva);
    put32(image, optional + 96 + 20, quint32(rsrc.size()));
    const int section = optional + 224;
    image.replace(section, 5, ".rsrc");
    put32(image, section + 8, quint32(rsrc.size()));
    put32(image, section + 12, Rva);
    put32(image, section + 16, quint32(rsrc.size()));
    put32(image, section + 20, RawOffset);
    return image + rsrc;
}

const QList<std::pair<QString, QString>> Strings{
    {"CompanyName", "Example Tools Ltd"},
    {"FileDescription", "Sample program"},
    {"FileVersion", "1.2.3.4"},
    {"InternalName", "sample"},
    {"LegalCopyright", "(c) 2004"},
    {"OriginalFilename", "sample.exe"},
    {"ProductName", "Sample"},
    {"ProductVersion", "1.2"},
};

TEST(PeVersionReader, ReadsTheStringTableOfAVersionResource)
{
    const QByteArray image = peImage(versionResource(Strings));
    SaveFuzzSeed(QStringLiteral("pe_version"), QStringLiteral("string-table"), image);
    const auto found = ReadPeVersionStrings(image);
    ASSERT_EQ(found.size(), Strings.size());
    for (const auto& [key, value] : Strings)
        EXPECT_EQ(found.value(key), value) << key.toStdString();
}

TEST(PeVersionReader, NonProgramsAndDamagedImagesGiveNothing)
{
    EXPECT_TRUE(ReadPeVersionStrings("just some text, not a program at all......"
                                     "..........................................")
                    .isEmpty());
    const QByteArray whole = peImage(versionResource(Strings));
    // Cut anywhere: never a crash, never a value read past the end.
    for (qsizetype cut = 0; cut < whole.size(); cut += 7) {
        const auto found = ReadPeVersionStrings(whole.left(cut));
        for (const auto& [key, value] : found.asKeyValueRange())
            EXPECT_TRUE(value.isEmpty() || value.size() <= 20) << key.toStdString();
    }
    QByteArray noResources = whole;
    put32(noResources, 0x44 + 20 + 96 + 16, 0);
    EXPECT_TRUE(ReadPeVersionStrings(noResources).isEmpty());
}

TEST(PeVersionReader, PropertiesShowTheVersionStringsOfAProgramFile)
{
    TempTree tree;
    const QString program = tree.file("tool.exe", peImage(versionResource(Strings)));
    const auto info = GetFileInfo(program, false);
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.values[0], QLatin1String("Example Tools Ltd"));
    EXPECT_EQ(info.values[2], QLatin1String("Sample program"));
    EXPECT_EQ(info.values[3], QLatin1String("1.2.3.4"));
    EXPECT_EQ(info.values[4], QLatin1String("sample"));
    EXPECT_EQ(info.values[7], QLatin1String("(c) 2004"));
    EXPECT_EQ(info.values[9], QLatin1String("sample.exe"));
    EXPECT_EQ(info.values[10], QLatin1String("Sample"));
    EXPECT_EQ(info.values[11], QLatin1String("1.2"));

    const auto plain = GetFileInfo(tree.file("notes.txt", 10), false);
    for (const int slot : {0, 2, 3, 4, 7, 9, 10, 11})
        EXPECT_TRUE(plain.values[size_t(slot)].isEmpty()) << slot;
}

} // namespace
