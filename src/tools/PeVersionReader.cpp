#include "tools/PeVersionReader.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <optional>

namespace {

constexpr quint32 RtVersion = 16;
constexpr quint32 SubdirectoryBit = 0x80000000u;

/// Little-endian reads that fail instead of reading past the end.
class Bytes {
public:
    explicit Bytes(const QByteArray& data) : data_(data) {}
    [[nodiscard]] qsizetype size() const { return data_.size(); }
    [[nodiscard]] std::optional<quint16> u16(qint64 at) const
    {
        if (at < 0 || at + 2 > data_.size())
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(data_.constData() + at);
        return quint16(p[0] | (p[1] << 8));
    }
    [[nodiscard]] std::optional<quint32> u32(qint64 at) const
    {
        const auto lo = u16(at);
        const auto hi = u16(at + 2);
        if (!lo || !hi)
            return std::nullopt;
        return quint32(*lo) | (quint32(*hi) << 16);
    }
    /// A NUL-terminated UTF-16 string starting at `at`, ending before `limit`.
    [[nodiscard]] QString utf16z(qint64 at, qint64 limit, qint64* after = nullptr) const
    {
        QString text;
        qint64 pos = at;
        while (pos + 2 <= limit) {
            const auto c = u16(pos);
            pos += 2;
            if (!c || *c == 0)
                break;
            text += QChar(*c);
        }
        if (after)
            *after = pos;
        return text;
    }

private:
    const QByteArray& data_;
};

struct Section {
    quint32 virtualAddress;
    quint32 virtualSize;
    quint32 rawSize;
    quint32 rawOffset;
};

/// File offset of a relative virtual address, through the section table.
std::optional<qint64> offsetOfRva(const std::vector<Section>& sections, quint32 rva)
{
    for (const Section& s : sections) {
        const quint32 span = qMax(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva < s.virtualAddress + span)
            return qint64(s.rawOffset) + (rva - s.virtualAddress);
    }
    return std::nullopt;
}

/// The entry of a resource directory with that id (or the first one when id is 0),
/// as its raw OffsetToData.
std::optional<quint32> directoryEntry(const Bytes& b, qint64 directory, quint32 id)
{
    const auto named = b.u16(directory + 12);
    const auto ids = b.u16(directory + 14);
    if (!named || !ids)
        return std::nullopt;
    const int total = *named + *ids;
    for (int i = 0; i < total; ++i) {
        const qint64 entry = directory + 16 + qint64(i) * 8;
        const auto name = b.u32(entry);
        const auto data = b.u32(entry + 4);
        if (!name || !data)
            return std::nullopt;
        if (id == 0 || (!(*name & SubdirectoryBit) && *name == id))
            return *data;
    }
    return std::nullopt;
}

qint64 aligned4(qint64 at, qint64 base)
{
    return qint64((at - base + 3) / 4 * 4 + base);
}

/// One version block: wLength, wValueLength, wType, key, value, children.
struct Block {
    qint64 start = 0;
    qint64 end = 0;
    QString key;
    qint64 value = 0;
    qint64 valueBytes = 0;
    qint64 children = 0;
};

std::optional<Block> readBlock(const Bytes& b, qint64 at, qint64 base, qint64 limit)
{
    const auto length = b.u16(at);
    const auto valueLength = b.u16(at + 2);
    const auto type = b.u16(at + 4);
    if (!length || !valueLength || !type || *length < 6 || at + *length > limit)
        return std::nullopt;
    Block block;
    block.start = at;
    block.end = at + *length;
    qint64 afterKey = 0;
    block.key = b.utf16z(at + 6, block.end, &afterKey);
    block.value = aligned4(afterKey, base);
    // Text values count UTF-16 characters, binary ones bytes.
    block.valueBytes = *type == 1 ? qint64(*valueLength) * 2 : qint64(*valueLength);
    block.children = aligned4(block.value + block.valueBytes, base);
    return block;
}

QMap<QString, QString> readStrings(const Bytes& b, qint64 base, qint64 limit)
{
    QMap<QString, QString> strings;
    const auto root = readBlock(b, base, base, limit);
    if (!root || root->key != QLatin1String("VS_VERSION_INFO"))
        return strings;
    for (qint64 at = root->children; at < root->end;) {
        const auto info = readBlock(b, at, base, root->end);
        if (!info)
            break;
        if (info->key == QLatin1String("StringFileInfo")) {
            const auto table = readBlock(b, info->children, base, info->end);
            if (!table)
                break;
            for (qint64 s = table->children; s < table->end;) {
                const auto str = readBlock(b, s, base, table->end);
                if (!str)
                    break;
                if (!strings.contains(str->key))
                    strings.insert(str->key, b.utf16z(str->value, str->end));
                s = aligned4(str->end, base);
            }
            break;
        }
        at = aligned4(info->end, base);
    }
    return strings;
}

} // namespace

QMap<QString, QString> ReadPeVersionStrings(const QByteArray& image)
{
    const Bytes b(image);
    if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z')
        return {};
    const auto peOffset = b.u32(0x3C);
    if (!peOffset || b.u32(*peOffset) != quint32(0x00004550)) // "PE\0\0"
        return {};
    const qint64 coff = qint64(*peOffset) + 4;
    const auto sectionCount = b.u16(coff + 2);
    const auto optionalSize = b.u16(coff + 16);
    if (!sectionCount || !optionalSize)
        return {};
    const qint64 optional = coff + 20;
    const auto magic = b.u16(optional);
    if (!magic || (*magic != 0x10B && *magic != 0x20B))
        return {};
    const qint64 directories = optional + (*magic == 0x20B ? 112 : 96);
    const auto directoryCount = b.u32(directories - 4);
    if (!directoryCount || *directoryCount < 3)
        return {};
    const auto resourceRva = b.u32(directories + 2 * 8);
    if (!resourceRva || *resourceRva == 0)
        return {};

    std::vector<Section> sections;
    const qint64 table = optional + *optionalSize;
    for (int i = 0; i < *sectionCount; ++i) {
        const qint64 s = table + qint64(i) * 40;
        const auto vsize = b.u32(s + 8);
        const auto va = b.u32(s + 12);
        const auto rawSize = b.u32(s + 16);
        const auto rawOffset = b.u32(s + 20);
        if (!vsize || !va || !rawSize || !rawOffset)
            return {};
        sections.push_back({*va, *vsize, *rawSize, *rawOffset});
    }
    const auto resources = offsetOfRva(sections, *resourceRva);
    if (!resources)
        return {};

    // Three levels: type (RT_VERSION), name (the first), language (the first).
    const auto typeEntry = directoryEntry(b, *resources, RtVersion);
    if (!typeEntry || !(*typeEntry & SubdirectoryBit))
        return {};
    const auto nameEntry = directoryEntry(b, *resources + (*typeEntry & ~SubdirectoryBit), 0);
    if (!nameEntry || !(*nameEntry & SubdirectoryBit))
        return {};
    const auto languageEntry = directoryEntry(b, *resources + (*nameEntry & ~SubdirectoryBit), 0);
    if (!languageEntry || (*languageEntry & SubdirectoryBit))
        return {};
    const qint64 dataEntry = *resources + *languageEntry;
    const auto dataRva = b.u32(dataEntry);
    const auto dataSize = b.u32(dataEntry + 4);
    if (!dataRva || !dataSize)
        return {};
    const auto data = offsetOfRva(sections, *dataRva);
    if (!data || *data + qint64(*dataSize) > image.size())
        return {};
    return readStrings(b, *data, *data + *dataSize);
}

QMap<QString, QString> ReadPeVersionStringsFromFile(const QString& path)
{
    // A pipe or a device would block the read or must not be touched.
    if (!platform::fileReadProblem(path).isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray start = file.read(2);
    if (start != "MZ")
        return {};
    file.seek(0);
    // Program files are rarely large; anything over 256 MB is not worth mapping whole.
    if (file.size() > 256LL * 1024 * 1024)
        return {};
    return ReadPeVersionStrings(file.readAll());
}
