#pragma once

// Icon images, .ico files and PE images with icon resources, built byte by byte.

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QtEndian>
#include <algorithm>

namespace iconfixtures {

inline void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}
inline void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}
inline void pad4(QByteArray& b)
{
    while (b.size() % 4)
        b.append('\0');
}

/// An icon image as icon resources hold it: a 40-byte header whose height counts the
/// mask too, a palette for 1, 4 and 8 bits, the colour rows and the mask rows. Every
/// pixel shows `colour` (palette entry 1 for the palette depths); the mask is clear.
inline QByteArray dibImage(int size, int bits, QRgb colour = qRgb(200, 30, 40),
                           int headerHeight = -1)
{
    QByteArray b(40, '\0');
    put32(b, 0, 40);
    put32(b, 4, quint32(size));
    put32(b, 8, quint32(headerHeight < 0 ? 2 * size : headerHeight));
    put16(b, 12, 1);
    put16(b, 14, quint16(bits));
    const int colourStride = ((size * bits + 31) / 32) * 4;
    const int maskStride = ((size + 31) / 32) * 4;
    put32(b, 20, quint32((colourStride + maskStride) * size));
    if (bits <= 8) {
        QByteArray palette(4 << bits, '\0');
        palette[4] = char(qBlue(colour));
        palette[5] = char(qGreen(colour));
        palette[6] = char(qRed(colour));
        b += palette;
    }
    for (int y = 0; y < size; ++y) {
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < size; ++x) {
            switch (bits) {
            case 1:
                row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
                break;
            case 4:
                row[x / 2] = char(uchar(row[x / 2]) | (x % 2 ? 0x01 : 0x10));
                break;
            case 8:
                row[x] = 1;
                break;
            case 24:
            case 32: {
                const int bytes = bits / 8;
                row[x * bytes] = char(qBlue(colour));
                row[x * bytes + 1] = char(qGreen(colour));
                row[x * bytes + 2] = char(qRed(colour));
                if (bytes == 4)
                    row[x * bytes + 3] = char(0xFF);
                break;
            }
            default: // other depths stay black
                break;
            }
        }
        b += row;
    }
    b += QByteArray(maskStride * size, '\0');
    return b;
}

/// The 8-byte start of a directory entry of an icon (ICONDIR and GRPICONDIR share it).
inline QByteArray entryStart(const QByteArray& image)
{
    QByteArray e(8, '\0');
    const int width = qFromLittleEndian<qint32>(image.constData() + 4);
    const int bits = qFromLittleEndian<quint16>(image.constData() + 14);
    e[0] = char(width >= 256 ? 0 : width);
    e[1] = char(width >= 256 ? 0 : width);
    e[2] = char(bits == 1 ? 2 : bits == 4 ? 16 : 0);
    put16(e, 4, 1);
    put16(e, 6, quint16(bits));
    return e;
}

/// An .ico file of the images.
inline QByteArray icoFile(const QList<QByteArray>& images)
{
    QByteArray b(6, '\0');
    put16(b, 2, 1);
    put16(b, 4, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (const QByteArray& image : images) {
        QByteArray e = entryStart(image) + QByteArray(8, '\0');
        put32(e, 8, quint32(image.size()));
        put32(e, 12, offset);
        offset += quint32(image.size());
        b += e;
    }
    for (const QByteArray& image : images)
        b += image;
    return b;
}

struct Resource {
    quint32 type;
    quint32 id;
    QByteArray data;
};

/// A resource section at `rva`: type, name and language levels, data entries, data.
inline QByteArray resourceSection(const QList<Resource>& resources, quint32 rva)
{
    QList<quint32> types;
    for (const Resource& r : resources) {
        if (!types.contains(r.type))
            types.append(r.type);
    }
    std::sort(types.begin(), types.end());
    QList<QList<const Resource*>> byType;
    for (const quint32 type : types) {
        QList<const Resource*> list;
        for (const Resource& r : resources) {
            if (r.type == type)
                list.append(&r);
        }
        byType.append(list);
    }
    const auto dirSize = [](qsizetype entries) { return 16 + 8 * entries; };
    qsizetype at = dirSize(types.size());
    QList<qsizetype> typeDirs;
    for (const auto& list : byType) {
        typeDirs.append(at);
        at += dirSize(list.size());
    }
    const qsizetype languageDirs = at;
    at += dirSize(1) * resources.size();
    const qsizetype dataEntries = at;
    at += 16 * resources.size();
    QByteArray b(at, '\0');

    put16(b, 14, quint16(types.size()));
    int leaf = 0;
    for (qsizetype t = 0; t < types.size(); ++t) {
        put32(b, 16 + 8 * t, types[t]);
        put32(b, 16 + 8 * t + 4, 0x80000000u | quint32(typeDirs[t]));
        put16(b, typeDirs[t] + 14, quint16(byType[t].size()));
        for (qsizetype i = 0; i < byType[t].size(); ++i, ++leaf) {
            const qsizetype entry = typeDirs[t] + 16 + 8 * i;
            const qsizetype language = languageDirs + dirSize(1) * leaf;
            put32(b, entry, byType[t][i]->id);
            put32(b, entry + 4, 0x80000000u | quint32(language));
            put16(b, language + 14, 1);
            put32(b, language + 16, 0x409);
            put32(b, language + 20, quint32(dataEntries + 16 * leaf));
        }
    }
    leaf = 0;
    for (qsizetype t = 0; t < types.size(); ++t) {
        for (const Resource* r : byType[t]) {
            pad4(b);
            put32(b, dataEntries + 16 * leaf, rva + quint32(b.size()));
            put32(b, dataEntries + 16 * leaf + 4, quint32(r->data.size()));
            b += r->data;
            ++leaf;
        }
    }
    pad4(b);
    return b;
}

/// A 32-bit PE image whose one section holds `resources`.
inline QByteArray peImage(const QList<Resource>& resources)
{
    constexpr int RawOffset = 0x200;
    constexpr quint32 Rva = 0x1000;
    const QByteArray rsrc = resourceSection(resources, Rva);
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

/// A PE image with one icon group per list of images (RT_ICON ids from 1 on, group
/// ids from 101 on).
inline QByteArray peWithIcons(const QList<QList<QByteArray>>& groups)
{
    QList<Resource> resources;
    quint16 nextId = 1;
    quint32 groupId = 101;
    for (const QList<QByteArray>& images : groups) {
        QByteArray group(6, '\0');
        put16(group, 2, 1);
        put16(group, 4, quint16(images.size()));
        for (const QByteArray& image : images) {
            QByteArray e = entryStart(image) + QByteArray(6, '\0');
            put32(e, 8, quint32(image.size()));
            put16(e, 12, nextId);
            group += e;
            resources.append({3, nextId, image});
            ++nextId;
        }
        resources.append({14, groupId++, group});
    }
    return peImage(resources);
}

} // namespace iconfixtures
