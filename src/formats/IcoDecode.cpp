#include "formats/IcoDecode.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <optional>

namespace {

constexpr int HeaderSize = 6;
constexpr int EntrySize = 16;
constexpr quint32 CoreHeaderSize = 12;
constexpr quint32 BitFields = 3;
const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

quint16 le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

int EntryCount(const QByteArray& ico)
{
    if (ico.size() < HeaderSize || le16(ico, 0) != 0 || (le16(ico, 2) != 1 && le16(ico, 2) != 2))
        return 0;
    return int(qMin<qsizetype>(le16(ico, 4), (ico.size() - HeaderSize) / EntrySize));
}

/// The bytes of one image, or nothing when its entry points outside the file.
QByteArray ImageBytes(const QByteArray& ico, int index)
{
    const qsizetype entry = HeaderSize + qsizetype(index) * EntrySize;
    const quint32 size = le32(ico, entry + 8);
    const quint32 offset = le32(ico, entry + 12);
    if (offset >= quint64(ico.size()) || size == 0)
        return {};
    return ico.mid(offset, qMin<qint64>(size, ico.size() - qint64(offset)));
}

struct ImageSize {
    int width = 0;
    int height = 0;
    int bits = 0;
};

/// Where the pixels of a bitmap start: after its header, bit-field masks and palette.
qint64 PixelsAt(const QByteArray& dib)
{
    const quint32 headerSize = le32(dib, 0);
    if (headerSize == CoreHeaderSize) {
        const int bits = le16(dib, 10);
        return headerSize + (bits <= 8 ? (qint64(1) << bits) * 3 : 0);
    }
    const int bits = le16(dib, 14);
    const quint32 compression = le32(dib, 16);
    const quint32 used = dib.size() >= 36 ? le32(dib, 32) : 0;
    const qint64 colours = used ? qMin<qint64>(used, 256) : bits <= 8 ? qint64(1) << bits : 0;
    const qint64 masks = compression == BitFields && headerSize == 40 ? 12 : 0;
    return headerSize + masks + colours * 4;
}

/// The size an image declares in its own header; nothing when it has none we know.
std::optional<ImageSize> DeclaredSize(const QByteArray& image)
{
    if (image.startsWith(PngSignature) && image.size() >= 24)
        return ImageSize{int(qFromBigEndian<quint32>(image.constData() + 16)),
                         int(qFromBigEndian<quint32>(image.constData() + 20)), 32};
    if (image.size() < 16)
        return std::nullopt;
    const quint32 headerSize = le32(image, 0);
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    if (headerSize == CoreHeaderSize) {
        width = le16(image, 4);
        height = le16(image, 6);
        bits = le16(image, 10);
    } else if (headerSize >= 40 && headerSize <= 124 && image.size() >= 40) {
        width = qint32(le32(image, 4));
        height = qAbs(qint32(le32(image, 8)));
        bits = le16(image, 14);
    } else {
        return std::nullopt;
    }
    if (width <= 0 || height <= 0 || width > 4096 || height > 8192 || bits == 0 || bits > 32)
        return std::nullopt;
    // The header's height covers the colour rows and the mask rows below them.
    return ImageSize{int(width), int(qMax<qint64>(1, height / 2)), bits};
}

/// The colour rows of an icon's bitmap as a .bmp file, for the bitmap decoder.
QByteArray BitmapFile(const QByteArray& dib)
{
    const std::optional<ImageSize> size = DeclaredSize(dib);
    if (!size)
        return {};
    QByteArray header = dib;
    if (le32(dib, 0) == CoreHeaderSize)
        put16(header, 6, quint16(size->height));
    else
        put32(header, 8, quint32(size->height));
    const qint64 pixelsAt = PixelsAt(dib);
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, quint32(14 + header.size()));
    put32(file, 10, quint32(14 + pixelsAt));
    return file + header;
}

} // namespace

QByteArray IcoWithImageSizes(const QByteArray& ico)
{
    QByteArray fixed = ico;
    const int count = EntryCount(ico);
    for (int i = 0; i < count; ++i) {
        const std::optional<ImageSize> size = DeclaredSize(ImageBytes(ico, i));
        if (!size || size->width > 256 || size->height > 256)
            continue;
        const qsizetype entry = HeaderSize + qsizetype(i) * EntrySize;
        fixed[entry] = char(size->width == 256 ? 0 : size->width);
        fixed[entry + 1] = char(size->height == 256 ? 0 : size->height);
        if (le16(ico, 2) == 1) // a cursor keeps its hot spot there
            put16(fixed, entry + 6, quint16(size->bits));
    }
    return fixed;
}

QImage DecodeIcoImage(const QByteArray& ico, int index)
{
    if (index < 0 || index >= EntryCount(ico))
        return {};
    QByteArray fixed = IcoWithImageSizes(ico);
    QBuffer buffer(&fixed);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, le16(ico, 2) == 2 ? "cur" : "ico");
    if (index == 0 || reader.jumpToImage(index)) {
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    const QByteArray image = ImageBytes(ico, index);
    if (image.startsWith(PngSignature))
        return QImage::fromData(image, "png");
    return QImage::fromData(BitmapFile(image), "bmp");
}
