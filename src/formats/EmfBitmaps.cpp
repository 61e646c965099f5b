// Bitmaps inside EMF records and the block transfer records that draw them.
#include "formats/EmfBitmaps.h"

#include "formats/EmfRecords.h"
#include "formats/MetafileCanvas.h"

#include <QPainter>
#include <QtEndian>
#include <climits>

namespace {

constexpr quint32 UncompressedRgb = 0;
constexpr quint32 JpegCompression = 4;
constexpr quint32 PngCompression = 5;
constexpr quint32 SrcCopy = 0x00CC0020;
// AlphaFormat of ALPHABLEND: the bitmap has (premultiplied) alpha per pixel.
constexpr quint8 SourceAlpha = 0x01;
// A bitmap inside a record is refused above this many pixels (Qt's own reader limit).
constexpr qint64 MaxBitmapPixels = qint64(1) << 25;

void appendU32(QByteArray& out, quint32 value)
{
    char b[4];
    qToLittleEndian<quint32>(value, b);
    out.append(b, 4);
}

/// A 32-bit uncompressed DIB, read here because Qt's BMP reader drops its alpha bytes.
QImage thirtyTwoBits(const QByteArray& bits, qint32 width, qint32 height, bool alpha)
{
    const qint64 rows = std::abs(qint64(height));
    const qint64 stride = qint64(width) * 4;
    if (bits.size() < stride * rows)
        return {};
    QImage image(width, int(rows),
                 alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (qint64 y = 0; y < rows; ++y) {
        // Rows run bottom-up unless the height is negative.
        const qint64 from = height > 0 ? rows - 1 - y : y;
        const uchar* source = reinterpret_cast<const uchar*>(bits.constData()) + from * stride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint32 x = 0; x < width; ++x) {
            const QRgb p = qFromLittleEndian<quint32>(source + qsizetype(x) * 4);
            if (!alpha) {
                line[x] = p | 0xFF000000u;
                continue;
            }
            // Premultiplied colour never exceeds its alpha; damaged bytes are held to it.
            const int a = qAlpha(p);
            line[x] = qRgba(std::min(qRed(p), a), std::min(qGreen(p), a), std::min(qBlue(p), a), a);
        }
    }
    return image;
}

/// The bitmap's pixels scaled by a constant opacity (0 to 255).
QImage withOpacity(const QImage& bitmap, int opacity)
{
    QImage faded(bitmap.size(), QImage::Format_ARGB32_Premultiplied);
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(opacity / 255.0);
    painter.drawImage(0, 0, bitmap);
    return faded;
}

/// The bitmap with every pixel of `colour` transparent.
QImage withoutColour(const QImage& bitmap, QColor colour)
{
    QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colour.rgb() & 0x00FFFFFFu;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == key)
                line[x] = 0;
    }
    return keyed;
}

/// The part of the bitmap a record names; the whole bitmap when that part lies outside.
QRectF sourceIn(const QImage& bitmap, QRectF wanted)
{
    const QRectF part = wanted.normalized().intersected(QRectF(bitmap.rect()));
    return part.isEmpty() ? QRectF(bitmap.rect()) : part;
}

/// BITBLT, STRETCHBLT, MASKBLT, ALPHABLEND and TRANSPARENTBLT share their first fields.
void playBlt(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    const QRectF target(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = type == emf::MaskBlt ? r.u32(40) & 0x00FFFFFFu : r.u32(40);
    const bool alpha = type == emf::AlphaBlend && (r.u8(43) & SourceAlpha);
    const bool sized =
        type == emf::StretchBlt || type == emf::AlphaBlend || type == emf::TransparentBlt;
    if (r.u32(88) == 0) { // no source bitmap: a fill of the destination
        if (type == emf::BitBlt || type == emf::StretchBlt)
            canvas.patternFill(target, rop);
        return;
    }
    QImage bitmap = EmfBitmapAt(r, r.u32(84), r.u32(88), r.u32(92), r.u32(96), alpha);
    if (bitmap.isNull())
        return;
    const QSizeF sourceSize = sized ? QSizeF(r.i32(100), r.i32(104)) : target.size();
    const QRectF source = sourceIn(bitmap, QRectF(QPointF(r.i32(44), r.i32(48)), sourceSize));
    switch (type) {
    case emf::AlphaBlend:
        if (const int opacity = r.u8(42); opacity < 255)
            bitmap = withOpacity(bitmap, opacity);
        canvas.image(target, bitmap, source, SrcCopy);
        break;
    case emf::TransparentBlt:
        canvas.image(target, withoutColour(bitmap, r.colour(40)), source, SrcCopy);
        break;
    default:
        canvas.image(target, bitmap, source, rop);
        break;
    }
}

/// STRETCHDIBITS and SETDIBITSTODEVICE.
void playDiBits(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    const QRectF sourceWanted(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
    const bool stretched = type == emf::StretchDiBits;
    const QSizeF targetSize = stretched ? QSizeF(r.i32(72), r.i32(76)) : sourceWanted.size();
    const QRectF target(QPointF(r.i32(24), r.i32(28)), targetSize);
    const quint32 rop = stretched ? r.u32(68) : SrcCopy;
    if (r.u32(52) == 0) {
        canvas.patternFill(target, rop);
        return;
    }
    const QImage bitmap = EmfBitmapAt(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
    if (!bitmap.isNull())
        canvas.image(target, bitmap, sourceIn(bitmap, sourceWanted), rop);
}

} // namespace

QImage EmfBitmapAt(const MetafileBytes& r, quint32 infoAt, quint32 infoSize, quint32 bitsAt,
                   quint32 bitsSize, bool alpha)
{
    const QByteArray info = r.mid(infoAt, infoSize);
    const QByteArray bits = r.mid(bitsAt, bitsSize);
    if (info.size() < 12 || bits.isEmpty())
        return {};
    const MetafileBytes header(info, 0, info.size());
    if (header.u32(0) >= 40) { // BITMAPINFOHEADER or a later one
        const quint32 compression = header.u32(16);
        if (compression == JpegCompression || compression == PngCompression)
            return QImage::fromData(bits);
        const qint32 width = header.i32(4);
        const qint32 height = header.i32(8);
        if (width <= 0 || height == 0 || height == INT_MIN ||
            qint64(width) * std::abs(qint64(height)) > MaxBitmapPixels)
            return {};
        if (header.u16(14) == 32 && compression == UncompressedRgb)
            return thirtyTwoBits(bits, width, height, alpha);
    } else if (qint64(header.u16(4)) * header.u16(6) > MaxBitmapPixels) { // BITMAPCOREHEADER
        return {};
    }
    // Qt reads the rest as the BMP file it would be with a file header in front.
    QByteArray file;
    file.reserve(14 + info.size() + bits.size());
    file.append("BM", 2);
    appendU32(file, quint32(14 + info.size() + bits.size()));
    appendU32(file, 0);
    appendU32(file, quint32(14 + info.size()));
    file.append(info).append(bits);
    return QImage::fromData(file, "BMP");
}

bool PlayEmfBitmapRecord(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    switch (type) {
    case emf::BitBlt:
    case emf::StretchBlt:
    case emf::MaskBlt:
    case emf::AlphaBlend:
    case emf::TransparentBlt:
        playBlt(canvas, type, r);
        return true;
    case emf::StretchDiBits:
    case emf::SetDiBitsToDevice:
        playDiBits(canvas, type, r);
        return true;
    default:
        return false;
    }
}
