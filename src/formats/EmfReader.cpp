// The EMF record interpreter behind RenderEmf.
#include "formats/Metafile.h"
#include "formats/MetafileBytes.h"
#include "formats/MetafileCanvas.h"

#include <QPolygonF>
#include <algorithm>
#include <vector>

namespace {

constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr int MaxSide = 8192;
constexpr quint32 StockObject = 0x80000000u;

enum Record : quint32 {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExt = 9,
    SetWindowOrg = 10,
    SetViewportExt = 11,
    SetViewportOrg = 12,
    Eof = 14,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    SaveDc = 33,
    RestoreDc = 34,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    LineTo = 54,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    ExtCreatePen = 95,
};

QRectF rectAt(const MetafileBytes& r, qsizetype at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

/// Points after a bounds rectangle and a count; 32-bit or 16-bit coordinates.
QPolygonF pointsAt(const MetafileBytes& r, qsizetype at, quint32 count, bool small)
{
    const qsizetype step = small ? 4 : 8;
    if (!r.has(at, qsizetype(count) * step))
        return {};
    QPolygonF points;
    points.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype p = at + qsizetype(i) * step;
        points << (small ? QPointF(r.i16(p), r.i16(p + 2)) : QPointF(r.i32(p), r.i32(p + 4)));
    }
    return points;
}

std::vector<QPolygonF> polyPolyAt(const MetafileBytes& r, bool small)
{
    const quint32 polygons = r.u32(24);
    const quint32 total = r.u32(28);
    const qsizetype countsAt = 32;
    if (!r.has(countsAt, qsizetype(polygons) * 4))
        return {};
    std::vector<QPolygonF> result;
    qsizetype at = countsAt + qsizetype(polygons) * 4;
    quint64 used = 0;
    for (quint32 i = 0; i < polygons; ++i) {
        const quint32 count = r.u32(countsAt + qsizetype(i) * 4);
        used += count;
        if (used > total)
            break;
        QPolygonF points = pointsAt(r, at, count, small);
        if (points.size() != qsizetype(count))
            break;
        result.push_back(std::move(points));
        at += qsizetype(count) * (small ? 4 : 8);
    }
    return result;
}

void drawText(MetafileCanvas& canvas, const MetafileBytes& r, bool wide)
{
    const QPointF reference(r.i32(36), r.i32(40));
    const quint32 chars = r.u32(44);
    const quint32 offset = r.u32(48);
    const qsizetype bytes = qsizetype(chars) * (wide ? 2 : 1);
    if (chars == 0 || !r.has(offset, bytes))
        return;
    QString text;
    text.reserve(chars);
    for (quint32 i = 0; i < chars; ++i)
        text += wide ? QChar(r.u16(offset + qsizetype(i) * 2))
                     : QChar::fromLatin1(char(r.u8(offset + i)));
    canvas.text(reference, text);
}

QFont fontAt(const MetafileBytes& r)
{
    // LOGFONTW after the object index.
    constexpr qsizetype f = 12;
    QString face;
    for (int i = 0; i < 32; ++i) {
        const quint16 c = r.u16(f + 28 + i * 2);
        if (c == 0)
            break;
        face += QChar(c);
    }
    return MetafileCanvas::fontFrom(r.i32(f), r.i32(f + 16), r.u8(f + 20) != 0, r.u8(f + 21) != 0,
                                    r.u8(f + 22) != 0, face);
}

void play(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    switch (type) {
    case PolyBezier:
    case PolyBezier16:
        canvas.bezier(pointsAt(r, 28, r.u32(24), type == PolyBezier16), false);
        break;
    case PolyBezierTo:
    case PolyBezierTo16:
        canvas.bezier(pointsAt(r, 28, r.u32(24), type == PolyBezierTo16), true);
        break;
    case Polygon:
    case Polygon16:
        canvas.polygon(pointsAt(r, 28, r.u32(24), type == Polygon16));
        break;
    case Polyline:
    case Polyline16:
        canvas.polyline(pointsAt(r, 28, r.u32(24), type == Polyline16));
        break;
    case PolylineTo:
    case PolylineTo16:
        canvas.polylineTo(pointsAt(r, 28, r.u32(24), type == PolylineTo16));
        break;
    case PolyPolyline:
    case PolyPolyline16:
        for (const QPolygonF& p : polyPolyAt(r, type == PolyPolyline16))
            canvas.polyline(p);
        break;
    case PolyPolygon:
    case PolyPolygon16:
        canvas.polyPolygon(polyPolyAt(r, type == PolyPolygon16));
        break;
    case SetWindowExt:
        canvas.setWindowExtent(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetWindowOrg:
        canvas.setWindowOrigin(QPointF(r.i32(8), r.i32(12)));
        break;
    case SetViewportExt:
        canvas.setViewportExtent(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetViewportOrg:
        canvas.setViewportOrigin(QPointF(r.i32(8), r.i32(12)));
        break;
    case SetMapMode:
        canvas.setMapMode(int(r.u32(8)));
        break;
    case SetBkMode:
        canvas.setBackgroundMode(int(r.u32(8)));
        break;
    case SetPolyFillMode:
        canvas.setPolyFillMode(int(r.u32(8)));
        break;
    case SetTextAlign:
        canvas.setTextAlign(r.u32(8));
        break;
    case SetTextColor:
        canvas.setTextColour(r.colour(8));
        break;
    case SetBkColor:
        canvas.setBackgroundColour(r.colour(8));
        break;
    case MoveToEx:
        canvas.moveTo(QPointF(r.i32(8), r.i32(12)));
        break;
    case LineTo:
        canvas.lineTo(QPointF(r.i32(8), r.i32(12)));
        break;
    case SaveDc:
        canvas.save();
        break;
    case RestoreDc:
        canvas.restore(r.i32(8));
        break;
    case SelectObject:
        if (const quint32 index = r.u32(8); index & StockObject)
            canvas.selectStock(int(index & ~StockObject));
        else
            canvas.select(int(std::min<quint32>(index, 0x7FFFFFFF)));
        break;
    case DeleteObject:
        canvas.remove(int(std::min<quint32>(r.u32(8), 0x7FFFFFFF)));
        break;
    case CreatePen:
        canvas.store(int(std::min<quint32>(r.u32(8), 0x7FFFFFFF)),
                     MetafileCanvas::penFrom(r.u32(12), r.i32(16), r.colour(24)));
        break;
    case ExtCreatePen:
        canvas.store(int(std::min<quint32>(r.u32(8), 0x7FFFFFFF)),
                     MetafileCanvas::penFrom(r.u32(28), r.u32(32), r.colour(40)));
        break;
    case CreateBrushIndirect:
        canvas.store(int(std::min<quint32>(r.u32(8), 0x7FFFFFFF)),
                     MetafileCanvas::brushFrom(r.u32(12), r.colour(16), r.u32(20)));
        break;
    case ExtCreateFontIndirectW:
        canvas.store(int(std::min<quint32>(r.u32(8), 0x7FFFFFFF)), fontAt(r));
        break;
    case Ellipse:
        canvas.ellipse(rectAt(r, 8));
        break;
    case Rectangle:
        canvas.rectangle(rectAt(r, 8));
        break;
    case RoundRect:
        canvas.roundRectangle(rectAt(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case ExtTextOutA:
    case ExtTextOutW:
        drawText(canvas, r, type == ExtTextOutW);
        break;
    default:
        break;
    }
}

} // namespace

QImage RenderEmf(const QByteArray& bytes)
{
    const MetafileBytes header(bytes, 0, bytes.size());
    if (header.u32(0) != Header || header.u32(40) != EmfSignature)
        return {};
    const QRect bounds(QPoint(header.i32(8), header.i32(12)),
                       QPoint(header.i32(16), header.i32(20)));
    const qint64 width = qint64(header.i32(16)) - header.i32(8) + 1;
    const qint64 height = qint64(header.i32(20)) - header.i32(12) + 1;
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide)
        return {};
    MetafileCanvas canvas(QSize(int(width), int(height)), bounds.topLeft());
    qsizetype at = 0;
    while (at + 8 <= bytes.size()) {
        const quint32 type = header.u32(at);
        const quint32 size = header.u32(at + 4);
        if (size < 8 || size % 4 != 0 || qint64(size) > bytes.size() - at)
            break;
        if (type == Eof)
            break;
        play(canvas, type, MetafileBytes(bytes, at, at + size));
        at += size;
    }
    return canvas.finish();
}

QImage RenderMetafile(const QByteArray& bytes)
{
    const MetafileBytes header(bytes, 0, bytes.size());
    if (header.u32(0) == Header && header.u32(40) == EmfSignature)
        return RenderEmf(bytes);
    return RenderWmf(bytes);
}
