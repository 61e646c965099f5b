#include "formats/IconResources.h"

#include "formats/IcoDecode.h"
#include "formats/PeResources.h"
#include "platform/FileAccess.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QtEndian>

namespace {

constexpr int IcoHeaderSize = 6;
constexpr int IcoEntrySize = 16;
constexpr int GroupEntrySize = 14;

quint16 le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

void append16(QByteArray& b, quint16 v)
{
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}

void append32(QByteArray& b, quint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

/// An icon group (GRPICONDIR) turned into an .ico file with the images it names.
QByteArray icoFromGroup(const QByteArray& group, const QHash<quint32, QByteArray>& images)
{
    if (group.size() < IcoHeaderSize || le16(group, 2) != 1)
        return {};
    const int declared = le16(group, 4);
    QList<qsizetype> entries;
    QList<QByteArray> bodies;
    for (int i = 0; i < declared; ++i) {
        const qsizetype at = IcoHeaderSize + qsizetype(i) * GroupEntrySize;
        if (at + GroupEntrySize > group.size())
            break;
        const auto image = images.constFind(le16(group, at + 12));
        if (image == images.constEnd() || image->isEmpty())
            continue;
        entries.append(at);
        bodies.append(*image);
    }
    QByteArray ico;
    append16(ico, 0);
    append16(ico, 1);
    append16(ico, quint16(entries.size()));
    quint32 offset = quint32(IcoHeaderSize + entries.size() * IcoEntrySize);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        ico.append(group.mid(entries[i], 8)); // width, height, colours, reserved, planes, bits
        append32(ico, quint32(bodies[i].size()));
        append32(ico, offset);
        offset += quint32(bodies[i].size());
    }
    for (const QByteArray& body : std::as_const(bodies))
        ico.append(body);
    return ico;
}

} // namespace

bool LooksLikeIcoFile(const QByteArray& bytes)
{
    if (bytes.size() < IcoHeaderSize + IcoEntrySize || le16(bytes, 0) != 0 || le16(bytes, 2) != 1)
        return false;
    const int count = le16(bytes, 4);
    return count > 0 && IcoHeaderSize + qsizetype(count) * IcoEntrySize <= bytes.size();
}

QList<QByteArray> ReadIcons(const QByteArray& bytes)
{
    if (LooksLikeIcoFile(bytes))
        return {bytes};
    const PeResources resources(bytes);
    if (!resources.valid())
        return {};
    QHash<quint32, QByteArray> images;
    for (const PeResources::Entry& e : resources.entries(PeResources::Icon)) {
        if (e.id != 0 && !images.contains(e.id))
            images.insert(e.id, bytes.mid(e.offset, e.size));
    }
    QList<QByteArray> icons;
    for (const PeResources::Entry& e : resources.entries(PeResources::GroupIcon))
        icons.append(icoFromGroup(bytes.mid(e.offset, e.size), images));
    return icons;
}

QList<QByteArray> ReadIconsFromFile(const QString& path)
{
    QFile file;
    if (!platform::openForReading(file, path) || file.size() > 256LL * 1024 * 1024)
        return {};
    return ReadIcons(file.readAll());
}

QImage IconImageForCell(const QByteArray& icoFile, int cell)
{
    QByteArray data = IcoWithImageSizes(icoFile);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QImage best;
    QImage smallest;
    const int count = qMax(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        const bool fits = image.width() <= cell && image.height() <= cell;
        if (fits &&
            (best.isNull() || image.width() * image.height() > best.width() * best.height()))
            best = image;
        if (smallest.isNull() || image.width() < smallest.width())
            smallest = image;
    }
    if (!best.isNull() || smallest.isNull())
        return best;
    return smallest.scaled(cell, cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
