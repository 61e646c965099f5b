// Method, packed size and attributes of RAR entries from the block headers, for RAR 4
// and RAR 5 archives built byte by byte (nothing in Debian writes RAR).
#include "archive/RarHeaders.h"

#include "ArchiveFixtures.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"

#include <gtest/gtest.h>

namespace {

/// A RAR 5 variable-length integer.
QByteArray VarInt(quint64 v)
{
    QByteArray out;
    do {
        out.append(char((v & 0x7F) | (v > 0x7F ? 0x80 : 0)));
        v >>= 7;
    } while (v);
    return out;
}

/// One RAR 5 block: CRC-32 of the size field and the header, the size, the header.
QByteArray Rar5Block(const QByteArray& header)
{
    const QByteArray sized = VarInt(quint64(header.size())) + header;
    return LeBytes().u32(Crc32(sized)).raw(sized).bytes();
}

struct Rar5Item {
    QByteArray name;
    QByteArray data;
    quint64 compression = 0; ///< bits 7-9 method, 10-13 dictionary (128 Kb << n)
    quint64 attributes = 0x20;
    bool folder = false;
};

QByteArray BuildRar5(const QList<Rar5Item>& items)
{
    QByteArray out("Rar!\x1a\x07\x01\x00", 8);
    out += Rar5Block(VarInt(1) + VarInt(0) + VarInt(0)); // main header, no archive flags
    for (const Rar5Item& item : items) {
        // Folders too carry a data size (0), as RAR writes them.
        QByteArray h = VarInt(2) + VarInt(0x02) + VarInt(quint64(item.data.size()));
        h += VarInt(0x06 | (item.folder ? 1 : 0)); // time and CRC present
        h += VarInt(quint64(item.data.size())) + VarInt(item.attributes);
        h += LeBytes().u32(1735732800).u32(Crc32(item.data)).bytes();
        h += VarInt(item.compression) + VarInt(1) + VarInt(quint64(item.name.size())) + item.name;
        out += Rar5Block(h) + item.data;
    }
    out += Rar5Block(VarInt(5) + VarInt(0) + VarInt(0));
    return out;
}

} // namespace

TEST(RarHeaders, Rar4EntriesShowTheirMethodAndPackedSize)
{
    TempTree t;
    const QByteArray bytes = BuildRar({{"docs", {}, true}, {"a.txt", "hello rar"}});
    SaveFuzzSeed("rar_headers", "rar4.rar", bytes);
    const QString rar = t.file("four.rar", bytes);
    const QStringList d = EntryDetails(rar, "a.txt");
    ASSERT_EQ(d.size(), 14);
    EXPECT_EQ(d.mid(8, 4), QStringList({"9 bytes", "00.0%", " 48", "Stored"}));
    const std::vector<RarFileFacts> facts =
        ReadRarFileFacts(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    ASSERT_EQ(facts.size(), 2u);
    EXPECT_EQ(facts[0].attributes, 0x10u);
    EXPECT_EQ(facts[0].flags & 0xE0, 0xE0u) << "a folder";
    EXPECT_EQ(facts[1].crc, Crc32("hello rar"));
    // A self-extracting stub in front changes nothing.
    const QByteArray sfx = QByteArray(3000, 'M') + bytes;
    EXPECT_EQ(ReadRarFileFacts(reinterpret_cast<const uchar*>(sfx.constData()), sfx.size()).size(),
              2u);
}

TEST(RarHeaders, Rar5EntriesShowTheirMethodPackedSizeAndAttributes)
{
    TempTree t;
    Rar5Item stored{"plain.txt", "stored text"};
    Rar5Item packed{"packed.bin", "12345"};
    packed.compression = (3 << 7) | (1 << 10); // method 3, 256 Kb window
    packed.attributes = 0x21;
    Rar5Item folder{"dir", {}, 0, 0x10, true};
    const QByteArray bytes = BuildRar5({folder, stored, packed});
    SaveFuzzSeed("rar_headers", "rar5.rar", bytes);
    SaveFuzzSeed("rar", "rar5.rar", bytes);
    const QString rar = t.file("five.rar", bytes);
    ASSERT_EQ(ReadEntries(rar).size(), 3u) << "libarchive lists it";
    const QStringList s = EntryDetails(rar, "plain.txt");
    ASSERT_EQ(s.size(), 14);
    EXPECT_EQ(s.at(8), "11 bytes");
    EXPECT_EQ(s.at(11), "Stored");
    const QStringList p = EntryDetails(rar, "packed.bin");
    ASSERT_EQ(p.size(), 14);
    EXPECT_EQ(p.mid(8, 4), QStringList({"5 bytes", "00.0%", " 51", "Deflated:256Kb"}));
    const std::vector<RarFileFacts> facts =
        ReadRarFileFacts(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    ASSERT_EQ(facts.size(), 3u);
    EXPECT_EQ(facts[2].attributes, 0x21u);
    EXPECT_EQ(facts[0].flags & 0xE0, 0xE0u) << "a folder";
    // Cut anywhere, the reader keeps what fitted and never reads past the end.
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        const QByteArray part = bytes.left(cut);
        EXPECT_LE(
            ReadRarFileFacts(reinterpret_cast<const uchar*>(part.constData()), part.size()).size(),
            3u);
    }
}
