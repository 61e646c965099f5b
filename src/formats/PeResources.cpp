#include "formats/PeResources.h"

namespace {
constexpr quint32 SubdirectoryBit = 0x80000000u;
constexpr quint32 NameIsStringBit = 0x80000000u;
} // namespace

PeResources::PeResources(const QByteArray& image) : image_(image)
{
    if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z')
        return;
    const auto peOffset = u32(0x3C);
    if (!peOffset || u32(*peOffset) != quint32(0x00004550)) // "PE\0\0"
        return;
    const qint64 coff = qint64(*peOffset) + 4;
    const auto sectionCount = u16(coff + 2);
    const auto optionalSize = u16(coff + 16);
    if (!sectionCount || !optionalSize)
        return;
    const qint64 optional = coff + 20;
    const auto magic = u16(optional);
    if (!magic || (*magic != 0x10B && *magic != 0x20B))
        return;
    // The data directories follow the fixed part of the optional header, whose size
    // differs between 32-bit and 64-bit images; the resource table is the third.
    const qint64 directories = optional + (*magic == 0x20B ? 112 : 96);
    const auto directoryCount = u32(directories - 4);
    if (!directoryCount || *directoryCount < 3)
        return;
    const auto resourceRva = u32(directories + 2 * 8);
    if (!resourceRva || *resourceRva == 0)
        return;
    const qint64 table = optional + *optionalSize;
    for (int i = 0; i < *sectionCount; ++i) {
        const qint64 s = table + qint64(i) * 40;
        const auto vsize = u32(s + 8);
        const auto va = u32(s + 12);
        const auto rawSize = u32(s + 16);
        const auto rawOffset = u32(s + 20);
        if (!vsize || !va || !rawSize || !rawOffset)
            return;
        sections_.push_back({*va, *vsize, *rawSize, *rawOffset});
    }
    root_ = offsetOfRva(*resourceRva);
}

std::optional<quint16> PeResources::u16(qint64 at) const
{
    if (at < 0 || at + 2 > image_.size())
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(image_.constData() + at);
    return quint16(p[0] | (p[1] << 8));
}

std::optional<quint32> PeResources::u32(qint64 at) const
{
    const auto lo = u16(at);
    const auto hi = u16(at + 2);
    if (!lo || !hi)
        return std::nullopt;
    return quint32(*lo) | (quint32(*hi) << 16);
}

std::optional<qint64> PeResources::offsetOfRva(quint32 rva) const
{
    for (const Section& s : sections_) {
        const quint64 span = qMax(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && quint64(rva) < quint64(s.virtualAddress) + span) {
            const qint64 offset = qint64(s.rawOffset) + (rva - s.virtualAddress);
            if (offset < image_.size())
                return offset;
        }
    }
    return std::nullopt;
}

std::vector<PeResources::DirectoryEntry> PeResources::directory(qint64 at) const
{
    std::vector<DirectoryEntry> entries;
    const auto named = u16(at + 12);
    const auto ids = u16(at + 14);
    if (!named || !ids)
        return entries;
    const int total = *named + *ids;
    for (int i = 0; i < total; ++i) {
        const qint64 entry = at + 16 + qint64(i) * 8;
        const auto name = u32(entry);
        const auto target = u32(entry + 4);
        if (!name || !target)
            break;
        entries.push_back({*name, *target});
    }
    return entries;
}

std::optional<PeResources::Entry> PeResources::leaf(quint32 id, quint32 target) const
{
    // Name level -> the first language -> the data entry (RVA and size).
    if (!(target & SubdirectoryBit))
        return std::nullopt;
    const std::vector<DirectoryEntry> languages = directory(*root_ + (target & ~SubdirectoryBit));
    if (languages.empty() || (languages.front().target & SubdirectoryBit))
        return std::nullopt;
    const qint64 dataEntry = *root_ + languages.front().target;
    const auto rva = u32(dataEntry);
    const auto size = u32(dataEntry + 4);
    if (!rva || !size)
        return std::nullopt;
    const auto offset = offsetOfRva(*rva);
    if (!offset)
        return std::nullopt;
    Entry entry;
    entry.id = id;
    entry.offset = *offset;
    entry.size = quint32(qMin<qint64>(*size, image_.size() - *offset));
    return entry;
}

QList<PeResources::Entry> PeResources::entries(quint32 type) const
{
    QList<Entry> found;
    if (!root_)
        return found;
    for (const DirectoryEntry& t : directory(*root_)) {
        if ((t.name & NameIsStringBit) || t.name != type || !(t.target & SubdirectoryBit))
            continue;
        for (const DirectoryEntry& n : directory(*root_ + (t.target & ~SubdirectoryBit))) {
            const quint32 id = (n.name & NameIsStringBit) ? 0 : n.name;
            if (const auto entry = leaf(id, n.target))
                found.append(*entry);
        }
        break;
    }
    return found;
}

std::optional<QByteArray> PeResources::data(quint32 type, quint32 id) const
{
    for (const Entry& entry : entries(type)) {
        if (entry.id == id && id != 0)
            return image_.mid(entry.offset, entry.size);
    }
    return std::nullopt;
}
