#include "formats/FontNames.h"

#include "platform/FileAccess.h"

#include <QFile>
#include <QtEndian>
#include <array>

namespace {

constexpr qint64 MaxFontBytes = 64LL * 1024 * 1024;

class BigEndian {
public:
    explicit BigEndian(const QByteArray& data) : data_(data) {}
    [[nodiscard]] std::optional<quint16> u16(qint64 at) const
    {
        if (at < 0 || at + 2 > data_.size())
            return std::nullopt;
        return qFromBigEndian<quint16>(data_.constData() + at);
    }
    [[nodiscard]] std::optional<quint32> u32(qint64 at) const
    {
        if (at < 0 || at + 4 > data_.size())
            return std::nullopt;
        return qFromBigEndian<quint32>(data_.constData() + at);
    }
    [[nodiscard]] qint64 size() const { return data_.size(); }
    [[nodiscard]] const char* at(qint64 offset) const { return data_.constData() + offset; }

private:
    const QByteArray& data_;
};

bool isFontTag(quint32 tag)
{
    return tag == 0x00010000u || tag == 0x74727565u /* true */ || tag == 0x4F54544Fu /* OTTO */;
}

/// The offset of the 'name' table of the font whose table directory starts at `font`.
std::optional<qint64> nameTable(const BigEndian& b, qint64 font)
{
    const auto tag = b.u32(font);
    const auto tables = b.u16(font + 4);
    if (!tag || !isFontTag(*tag) || !tables)
        return std::nullopt;
    for (int i = 0; i < *tables; ++i) {
        const qint64 record = font + 12 + qint64(i) * 16;
        const auto recordTag = b.u32(record);
        const auto offset = b.u32(record + 8);
        if (!recordTag || !offset)
            return std::nullopt;
        if (*recordTag == 0x6E616D65u) // name
            return qint64(*offset);
    }
    return std::nullopt;
}

/// How much a name record is wanted: lower is better, -1 not at all.
int rank(quint16 platform, quint16 encoding, quint16 language)
{
    if (platform == 3 && (encoding == 1 || encoding == 10))
        return language == 0x409 ? 0 : 1;
    if (platform == 3 && encoding == 0)
        return 2; // symbol fonts
    if (platform == 0)
        return 3;
    if (platform == 1 && encoding == 0)
        return language == 0 ? 4 : 5;
    return -1;
}

QString decode(const BigEndian& b, qint64 at, int length, quint16 platform)
{
    if (platform == 1)
        return QString::fromLatin1(b.at(at), length);
    QString text;
    for (int i = 0; i + 1 < length; i += 2) {
        const quint16 unit = qFromBigEndian<quint16>(b.at(at + i));
        text.append(QChar(unit));
    }
    return text;
}

} // namespace

std::optional<FontNames> ReadFontNames(const QByteArray& bytes)
{
    const BigEndian b(bytes);
    const auto tag = b.u32(0);
    if (!tag)
        return std::nullopt;
    qint64 font = 0;
    if (*tag == 0x74746366u) { // ttcf: a collection, its first font
        const auto first = b.u32(12);
        if (!first)
            return std::nullopt;
        font = *first;
    }
    const auto table = nameTable(b, font);
    if (!table)
        return std::nullopt;
    const auto count = b.u16(*table + 2);
    const auto storage = b.u16(*table + 4);
    if (!count || !storage)
        return std::nullopt;
    const qint64 strings = *table + *storage;

    std::array<QString, 5> names;
    std::array<int, 5> best{-1, -1, -1, -1, -1};
    for (int i = 0; i < *count; ++i) {
        const qint64 record = *table + 6 + qint64(i) * 12;
        const auto platform = b.u16(record);
        const auto encoding = b.u16(record + 2);
        const auto language = b.u16(record + 4);
        const auto nameId = b.u16(record + 6);
        const auto length = b.u16(record + 8);
        const auto offset = b.u16(record + 10);
        if (!platform || !encoding || !language || !nameId || !length || !offset)
            return std::nullopt;
        if (*nameId == 0 || *nameId > 4 || *nameId == 3)
            continue;
        const int r = rank(*platform, *encoding, *language);
        const qint64 at = strings + *offset;
        if (r < 0 || at + *length > b.size() || (best[*nameId] >= 0 && best[*nameId] <= r))
            continue;
        best[*nameId] = r;
        names[*nameId] = decode(b, at, *length, *platform);
    }
    if (best[1] < 0 && best[4] < 0)
        return std::nullopt;
    return FontNames{names[1], names[2], names[4]};
}

std::optional<FontNames> ReadFontNamesFromFile(const QString& path)
{
    QFile file;
    if (!platform::openForReading(file, path) || file.size() > MaxFontBytes)
        return std::nullopt;
    return ReadFontNames(file.readAll());
}

QString FaceName(const FontNames& names)
{
    if (!names.fullName.isEmpty())
        return names.fullName;
    const bool regular =
        names.subfamily.isEmpty() ||
        names.subfamily.compare(QLatin1String("Regular"), Qt::CaseInsensitive) == 0;
    return regular ? names.family : names.family + QLatin1Char(' ') + names.subfamily;
}

QString GetFontFaceName(const QString& path)
{
    const std::optional<FontNames> names = ReadFontNamesFromFile(path);
    return names ? FaceName(*names) : QString();
}
