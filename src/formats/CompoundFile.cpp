#include "formats/CompoundFile.h"

#include <QString>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace {

constexpr char Signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr qsizetype HeaderSize = 512;
constexpr qsizetype DirectoryEntrySize = 128;
constexpr int HeaderFatSlots = 109;
constexpr quint32 LastRegularSector = 0xFFFFFFFA;
constexpr int StreamEntry = 2;
constexpr int RootEntry = 5;

quint32 Le32(const char* p)
{
    quint32 v = 0;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

quint16 Le16(const char* p)
{
    quint16 v = 0;
    std::memcpy(&v, p, 2);
    return qFromLittleEndian(v);
}

class Compound {
public:
    explicit Compound(const QByteArray& file) : file_(file) {}

    bool readHeader()
    {
        if (!IsCompoundFile(file_) || file_.size() < HeaderSize)
            return false;
        const char* h = file_.constData();
        const int shift = Le16(h + 0x1E);
        const int miniShift = Le16(h + 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6)
            return false;
        sectorSize_ = qsizetype(1) << shift;
        miniSectorSize_ = qsizetype(1) << miniShift;
        sectorCount_ = (file_.size() + sectorSize_ - 1) / sectorSize_; // bounds every chain
        miniCutoff_ = Le32(h + 0x38);
        readFat(h);
        directory_ = chain(Le32(h + 0x30), fat_);
        miniFat_ = sectorsAsTable(chain(Le32(h + 0x3C), fat_));
        return !directory_.isEmpty();
    }

    std::optional<QByteArray> stream(const QStringList& names) const
    {
        const qsizetype entries = directory_.size() / DirectoryEntrySize;
        for (const QString& wanted : names) {
            for (qsizetype i = 0; i < entries; ++i) {
                const char* e = directory_.constData() + i * DirectoryEntrySize;
                if (e[0x42] == StreamEntry &&
                    entryName(e).compare(wanted, Qt::CaseInsensitive) == 0)
                    return contents(e);
            }
        }
        return std::nullopt;
    }

private:
    static QString entryName(const char* e)
    {
        const int bytes = qBound(0, int(Le16(e + 0x40)), 64);
        QString name;
        for (int i = 0; i + 1 < bytes; i += 2) {
            const char16_t c = Le16(e + i);
            if (c == 0)
                break;
            name += QChar(c);
        }
        return name;
    }

    void readFat(const char* h)
    {
        std::vector<quint32> fatSectors;
        for (int i = 0; i < HeaderFatSlots; ++i)
            fatSectors.push_back(Le32(h + 0x4C + 4 * i));
        // Further FAT sector numbers sit in a chain of DIFAT sectors, the last slot of
        // each naming the next.
        quint32 difat = Le32(h + 0x44);
        const qsizetype slotCount = sectorSize_ / 4 - 1;
        for (qsizetype seen = 0; difat <= LastRegularSector && seen < sectorCount_; ++seen) {
            const char* s = sector(difat);
            if (!s)
                break;
            for (qsizetype i = 0; i < slotCount; ++i)
                fatSectors.push_back(Le32(s + 4 * i));
            difat = Le32(s + 4 * slotCount);
        }
        for (const quint32 number : fatSectors) {
            const char* s = number <= LastRegularSector ? sector(number) : nullptr;
            if (!s)
                continue;
            for (qsizetype i = 0; i < sectorSize_ / 4; ++i)
                fat_.push_back(Le32(s + 4 * i));
            if (qsizetype(fat_.size()) >= sectorCount_)
                break;
        }
    }

    const char* sector(quint32 number) const
    {
        const qsizetype at = (qsizetype(number) + 1) * sectorSize_;
        if (at + sectorSize_ > file_.size())
            return nullptr;
        return file_.constData() + at;
    }

    /// The sectors of a chain joined; stops at its end, a loop or a sector off the file.
    QByteArray chain(quint32 first, const std::vector<quint32>& table) const
    {
        QByteArray out;
        quint32 n = first;
        for (qsizetype steps = 0; n <= LastRegularSector && steps < sectorCount_; ++steps) {
            const char* s = sector(n);
            if (!s || n >= table.size())
                break;
            out.append(s, sectorSize_);
            n = table[n];
        }
        return out;
    }

    static std::vector<quint32> sectorsAsTable(const QByteArray& bytes)
    {
        std::vector<quint32> table;
        for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
            table.push_back(Le32(bytes.constData() + i));
        return table;
    }

    QByteArray miniChain(quint32 first, qint64 size) const
    {
        const QByteArray& mini = miniStream();
        QByteArray out;
        quint32 n = first;
        const qsizetype most = mini.size() / miniSectorSize_;
        for (qsizetype steps = 0; n <= LastRegularSector && steps < most && out.size() < size;
             ++steps) {
            if (qsizetype(n) >= most || n >= miniFat_.size())
                break;
            out.append(mini.constData() + qsizetype(n) * miniSectorSize_, miniSectorSize_);
            n = miniFat_[n];
        }
        return out;
    }

    const QByteArray& miniStream() const
    {
        if (!miniLoaded_) {
            const char* root = directory_.constData();
            if (root[0x42] == RootEntry)
                mini_ = chain(Le32(root + 0x74), fat_);
            miniLoaded_ = true;
        }
        return mini_;
    }

    QByteArray contents(const char* e) const
    {
        // Version 3 files may leave junk in the size's high half.
        const qint64 size = sectorSize_ == 512
                                ? Le32(e + 0x78)
                                : qint64(Le32(e + 0x78)) | qint64(Le32(e + 0x7C)) << 32;
        const quint32 first = Le32(e + 0x74);
        QByteArray bytes = size < miniCutoff_ ? miniChain(first, size) : chain(first, fat_);
        if (bytes.size() > size)
            bytes.truncate(qsizetype(size));
        return bytes;
    }

    const QByteArray& file_;
    qsizetype sectorSize_ = 512;
    qsizetype miniSectorSize_ = 64;
    qsizetype sectorCount_ = 0;
    qint64 miniCutoff_ = 4096;
    std::vector<quint32> fat_;
    std::vector<quint32> miniFat_;
    QByteArray directory_;
    mutable QByteArray mini_;
    mutable bool miniLoaded_ = false;
};

} // namespace

bool IsCompoundFile(const QByteArray& file)
{
    return file.startsWith(QByteArrayView(Signature, 8));
}

std::optional<QByteArray> CompoundFileStream(const QByteArray& file, const QStringList& names)
{
    Compound compound(file);
    if (!compound.readHeader())
        return std::nullopt;
    return compound.stream(names);
}
