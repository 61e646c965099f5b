// The WMF object table and the bitmaps inside WMF records.
#include "formats/WmfRecords.h"

#include <QtEndian>
#include <cstdlib>

namespace {

constexpr int MaxBitmapSide = 8192;
constexpr qint64 MaxBitmapPixels = 16 * 1024 * 1024;
constexpr std::size_t MaxSlots = 65535;

enum BrushStyle : quint16 {
    Hollow = 1,
    Hatched = 2,
    Pattern = 3,
    DibPattern = 5,
    DibPatternPt = 6
};
enum DibCompression : quint32 { Rgb = 0, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

QFont fontOf(const WmfParams& a)
{
    QString face;
    for (int i = 0; i < 32; ++i) {
        const quint8 c = a.r.u8(6 + 18 + i);
        if (c == 0)
            break;
        face += QChar::fromLatin1(char(c));
    }
    return MetafileCanvas::fontFrom(a.p(0), a.p(4), a.r.u8(6 + 10) != 0, a.r.u8(6 + 11) != 0,
                                    a.r.u8(6 + 12) != 0, face);
}

/// A region's scans: each scan a band of rows with pairs of left and right edges.
std::vector<QRectF> regionOf(const WmfParams& a)
{
    std::vector<QRectF> rects;
    const int scans = a.p(5);
    qsizetype at = WmfParams::at(11);
    for (int s = 0; s < scans && a.r.has(at, 6); ++s) {
        const int count = a.r.u16(at);
        const double top = a.r.i16(at + 2);
        const double bottom = a.r.i16(at + 4);
        at += 6;
        for (int i = 0; i + 1 < count && a.r.has(at, 4); i += 2, at += 4)
            rects.emplace_back(QPointF(a.r.i16(at), top), QPointF(a.r.i16(at + 2), bottom));
        at += 2 + (count % 2) * 2; // the closing count; an odd count leaves a lone edge
    }
    return rects;
}

QBrush patternBrush(const QImage& image)
{
    return image.isNull() ? QBrush(Qt::black) : QBrush(image);
}

bool reasonableSize(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= MaxBitmapSide && height <= MaxBitmapSide &&
           width * height <= MaxBitmapPixels;
}

} // namespace

QPolygonF WmfParams::points(int first, int count) const
{
    QPolygonF result;
    if (count <= 0 || !r.has(at(first), qsizetype(count) * 4))
        return result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result << QPointF(p(first + 2 * i), p(first + 2 * i + 1));
    return result;
}

QString WmfParams::latin1(qsizetype offset, int count) const
{
    QString text;
    if (count <= 0 || !r.has(offset, count))
        return text;
    for (int i = 0; i < count; ++i)
        text += QChar::fromLatin1(char(r.u8(offset + i)));
    return text;
}

QImage WmfDibImage(const MetafileBytes& r, qsizetype at)
{
    const quint32 headerSize = r.u32(at);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > 124))
        return {};
    const qint64 width = core ? r.u16(at + 4) : r.i32(at + 4);
    const qint64 height = core ? r.i16(at + 6) : r.i32(at + 8);
    const int bits = core ? r.u16(at + 10) : r.u16(at + 14);
    const quint32 compression = core ? Rgb : r.u32(at + 16);
    if (!reasonableSize(width, std::abs(height)) || !r.has(at, headerSize))
        return {};
    const qsizetype size = r.size() - at;
    QByteArray dib(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        dib[i] = char(r.u8(at + i));
    if (compression == Jpeg || compression == Png)
        return QImage::fromData(dib.mid(headerSize));

    qint64 colours = core ? 0 : r.u32(at + 32);
    if (bits <= 8 && (colours == 0 || colours > (1 << bits)))
        colours = qint64(1) << bits;
    if (bits > 8 && colours > 256)
        colours = 0;
    qint64 tableBytes = colours * (core ? 3 : 4);
    if (headerSize == 40 && compression == BitFields)
        tableBytes += 12;
    else if (headerSize == 40 && compression == AlphaBitFields)
        tableBytes += 16;
    // Qt reads DIBs as BMP files: give it the file header the record leaves out.
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + size), file.data() + 2);
    qToLittleEndian<quint32>(quint32(14 + headerSize + tableBytes), file.data() + 10);
    file += dib;
    return QImage::fromData(file, "BMP");
}

QImage WmfBitmap16Image(const MetafileBytes& r, qsizetype head, qsizetype bits)
{
    const int width = r.i16(head + 2);
    const int height = r.i16(head + 4);
    const int stride = r.i16(head + 6);
    const int depth = r.u8(head + 9);
    if (!reasonableSize(width, height) || r.u8(head + 8) != 1 ||
        (depth != 1 && depth != 24 && depth != 32) || stride < (width * depth + 7) / 8 ||
        !r.has(bits, qsizetype(stride) * height))
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = bits + qsizetype(y) * stride;
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            if (depth == 1) {
                pixel =
                    (r.u8(row + x / 8) >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const qsizetype p = row + qsizetype(x) * (depth / 8);
                pixel = qRgb(r.u8(p + 2), r.u8(p + 1), r.u8(p));
            }
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

void WmfObjectTable::create(MetafileCanvas& canvas, quint16 function, const WmfParams& a)
{
    Slot slot;
    MetafileCanvas::Object object;
    switch (function) {
    case WmfFunction::CreatePenIndirect:
        slot.kind = Kind::Pen;
        object = MetafileCanvas::penFrom(a.u(0), a.p(1), a.colour(3));
        break;
    case WmfFunction::CreateBrushIndirect: {
        slot.kind = Kind::Brush;
        const quint16 style = a.u(0);
        // Pattern styles here carry no bitmap; they draw as the solid colour.
        slot.brush = MetafileCanvas::brushFrom(style == Hollow || style == Hatched ? style : 0,
                                               a.colour(1), a.u(3));
        object = slot.brush;
        break;
    }
    case WmfFunction::DibCreatePatternBrush: {
        slot.kind = Kind::Brush;
        QImage image = WmfDibImage(a.r, WmfParams::at(2));
        if (image.isNull() && a.u(0) == Pattern)
            image = WmfBitmap16Image(a.r, WmfParams::at(2), WmfParams::at(2) + 10);
        slot.brush = patternBrush(image);
        object = slot.brush;
        break;
    }
    case WmfFunction::CreatePatternBrush:
        // The bitmap head, its unused pointer and 18 reserved bytes, then the pixels.
        slot.kind = Kind::Brush;
        slot.brush = patternBrush(WmfBitmap16Image(a.r, WmfParams::at(0), WmfParams::at(16)));
        object = slot.brush;
        break;
    case WmfFunction::CreateFontIndirect:
        slot.kind = Kind::Font;
        slot.escapement = a.p(2);
        object = fontOf(a);
        break;
    case WmfFunction::CreatePalette:
        slot.kind = Kind::Palette;
        break;
    case WmfFunction::CreateRegion:
        slot.kind = Kind::Region;
        slot.region = regionOf(a);
        break;
    default:
        return;
    }
    const int index = store(std::move(slot));
    if (index >= 0)
        canvas.store(index, std::move(object));
}

int WmfObjectTable::store(Slot slot)
{
    std::size_t index = 0;
    while (index < slots_.size() && slots_[index].kind != Kind::Free)
        ++index;
    if (index >= MaxSlots)
        return -1;
    if (index == slots_.size())
        slots_.emplace_back();
    slots_[index] = std::move(slot);
    return int(index);
}

void WmfObjectTable::select(MetafileCanvas& canvas, int index) const
{
    const Slot* slot = at(index);
    if (slot == nullptr)
        return;
    canvas.select(index);
    if (slot->kind == Kind::Font)
        canvas.setTextEscapement(slot->escapement);
    else if (slot->kind == Kind::Region)
        canvas.selectClip(slot->region);
}

void WmfObjectTable::remove(MetafileCanvas& canvas, int index)
{
    if (at(index) == nullptr)
        return;
    slots_[std::size_t(index)] = Slot();
    canvas.remove(index);
}

const WmfObjectTable::Slot* WmfObjectTable::at(int index) const
{
    if (index < 0 || std::size_t(index) >= slots_.size())
        return nullptr;
    return &slots_[std::size_t(index)];
}
