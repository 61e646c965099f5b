// The WMF record interpreter behind RenderWmf.
#include "formats/Metafile.h"
#include "formats/MetafileBytes.h"
#include "formats/MetafileCanvas.h"

#include <QPolygonF>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int MaxSide = 8192;
constexpr int PixelsPerInch = 96;

enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    ExtTextOut = 0x0A32,
};

struct Layout {
    qsizetype firstRecord = 0;
    QSize size;
    QRectF window; ///< logical rectangle shown in `size`
};

/// Finds the records and the picture size: the placeable header's box, else the
/// first window origin and extent.
std::optional<Layout> layoutOf(const QByteArray& bytes)
{
    const MetafileBytes all(bytes, 0, bytes.size());
    Layout layout;
    qsizetype header = 0;
    if (all.u32(0) == PlaceableKey) {
        header = 22;
        const QRectF box(QPointF(all.i16(6), all.i16(8)), QPointF(all.i16(10), all.i16(12)));
        const int inch = all.u16(14) == 0 ? 1440 : all.u16(14);
        layout.window = box.normalized();
        layout.size = QSize(int(std::lround(layout.window.width() * PixelsPerInch / inch)),
                            int(std::lround(layout.window.height() * PixelsPerInch / inch)));
    }
    const quint16 type = all.u16(header);
    const quint16 headerWords = all.u16(header + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return std::nullopt;
    layout.firstRecord = header + 18;
    if (layout.size.isEmpty()) {
        // No placeable header: the window the records set up gives the size.
        QPointF origin;
        qsizetype at = layout.firstRecord;
        while (at + 6 <= bytes.size()) {
            const quint32 words = all.u32(at);
            const quint16 function = all.u16(at + 4);
            if (words < 3 || qint64(words) * 2 > bytes.size() - at || function == Eof)
                break;
            if (function == SetWindowOrg)
                origin = QPointF(all.i16(at + 8), all.i16(at + 6));
            if (function == SetWindowExt) {
                layout.window = QRectF(origin, QSizeF(all.i16(at + 8), all.i16(at + 6)));
                layout.size = QSize(int(std::abs(layout.window.width())),
                                    int(std::abs(layout.window.height())));
                break;
            }
            at += qsizetype(words) * 2;
        }
    }
    if (layout.size.width() <= 0 || layout.size.height() <= 0 || layout.size.width() > MaxSide ||
        layout.size.height() > MaxSide)
        return std::nullopt;
    return layout;
}

/// WMF parameters are 16-bit words after the 6-byte record head; p(i) reads word i.
struct Params {
    const MetafileBytes& r;
    [[nodiscard]] qint16 p(int i) const { return r.i16(6 + qsizetype(i) * 2); }
    [[nodiscard]] quint16 u(int i) const { return r.u16(6 + qsizetype(i) * 2); }
    [[nodiscard]] QColor colour(int i) const { return r.colour(6 + qsizetype(i) * 2); }
    [[nodiscard]] QRectF rect(int first) const // bottom, right, top, left
    {
        return QRectF(QPointF(p(first + 3), p(first + 2)), QPointF(p(first + 1), p(first)));
    }
    [[nodiscard]] QPolygonF points(int first, int count) const
    {
        QPolygonF result;
        if (count <= 0 || !r.has(6 + qsizetype(first) * 2, qsizetype(count) * 4))
            return result;
        result.reserve(count);
        for (int i = 0; i < count; ++i)
            result << QPointF(p(first + 2 * i), p(first + 2 * i + 1));
        return result;
    }
    [[nodiscard]] QString latin1(qsizetype at, int count) const
    {
        QString text;
        if (count <= 0 || !r.has(at, count))
            return text;
        for (int i = 0; i < count; ++i)
            text += QChar::fromLatin1(char(r.u8(at + i)));
        return text;
    }
};

QFont fontOf(const Params& a)
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

void play(MetafileCanvas& canvas, quint16 function, const Params& a)
{
    switch (function) {
    case SaveDc:
        canvas.save();
        break;
    case RestoreDc:
        canvas.restore(a.p(0));
        break;
    case SetBkMode:
        canvas.setBackgroundMode(a.u(0));
        break;
    case SetMapMode:
        canvas.setMapMode(a.u(0));
        break;
    case SetPolyFillMode:
        canvas.setPolyFillMode(a.u(0));
        break;
    case SelectObject:
        canvas.select(a.u(0));
        break;
    case DeleteObject:
        canvas.remove(a.u(0));
        break;
    case SetTextAlign:
        canvas.setTextAlign(a.u(0));
        break;
    case SetBkColor:
        canvas.setBackgroundColour(a.colour(0));
        break;
    case SetTextColor:
        canvas.setTextColour(a.colour(0));
        break;
    case SetWindowOrg:
        canvas.setWindowOrigin(QPointF(a.p(1), a.p(0)));
        break;
    case SetWindowExt:
        canvas.setWindowExtent(QSizeF(a.p(1), a.p(0)));
        break;
    case SetViewportOrg:
        canvas.setViewportOrigin(QPointF(a.p(1), a.p(0)));
        break;
    case SetViewportExt:
        canvas.setViewportExtent(QSizeF(a.p(1), a.p(0)));
        break;
    case LineTo:
        canvas.lineTo(QPointF(a.p(1), a.p(0)));
        break;
    case MoveTo:
        canvas.moveTo(QPointF(a.p(1), a.p(0)));
        break;
    case CreatePenIndirect:
        canvas.store(-1, MetafileCanvas::penFrom(a.u(0), a.p(1), a.colour(3)));
        break;
    case CreateBrushIndirect:
        canvas.store(-1, MetafileCanvas::brushFrom(a.u(0), a.colour(1), a.u(3)));
        break;
    case CreateFontIndirect:
        canvas.store(-1, fontOf(a));
        break;
    case Polygon:
        canvas.polygon(a.points(1, a.p(0)));
        break;
    case Polyline:
        canvas.polyline(a.points(1, a.p(0)));
        break;
    case PolyPolygon: {
        const int polygons = a.p(0);
        std::vector<QPolygonF> all;
        int at = 1 + std::max(0, polygons);
        for (int i = 0; i < polygons; ++i) {
            const int count = a.p(1 + i);
            QPolygonF points = a.points(at, count);
            if (points.size() != count)
                break;
            all.push_back(std::move(points));
            at += 2 * count;
        }
        canvas.polyPolygon(all);
        break;
    }
    case Ellipse:
        canvas.ellipse(a.rect(0));
        break;
    case Rectangle:
        canvas.rectangle(a.rect(0));
        break;
    case RoundRect:
        canvas.roundRectangle(a.rect(2), QSizeF(a.p(1), a.p(0)));
        break;
    case TextOut: {
        const int count = a.p(0);
        const int words = (std::max(0, count) + 1) / 2;
        canvas.text(QPointF(a.p(2 + words), a.p(1 + words)), a.latin1(8, count));
        break;
    }
    case ExtTextOut: {
        const int count = a.p(2);
        const quint16 options = a.u(3);
        const qsizetype textAt = 6 + 8 + ((options & 0x0006) ? 8 : 0);
        canvas.text(QPointF(a.p(1), a.p(0)), a.latin1(textAt, count));
        break;
    }
    default:
        break;
    }
}

} // namespace

QImage RenderWmf(const QByteArray& bytes)
{
    const std::optional<Layout> layout = layoutOf(bytes);
    if (!layout)
        return {};
    MetafileCanvas canvas(layout->size, QPoint(0, 0));
    // The picture's window fills the image; records may set their own later.
    canvas.setMapMode(8);
    canvas.setWindowOrigin(layout->window.topLeft());
    canvas.setWindowExtent(layout->window.size());
    canvas.setViewportExtent(QSizeF(layout->size));
    const MetafileBytes all(bytes, 0, bytes.size());
    qsizetype at = layout->firstRecord;
    while (at + 6 <= bytes.size()) {
        const quint32 words = all.u32(at);
        const quint16 function = all.u16(at + 4);
        if (words < 3 || qint64(words) * 2 > bytes.size() - at || function == Eof)
            break;
        const MetafileBytes record(bytes, at, at + qsizetype(words) * 2);
        // The picture's own mapping stays: a map mode record would undo the fit.
        if (function != SetMapMode && function != SetViewportExt && function != SetViewportOrg)
            play(canvas, function, Params{record});
        at += qsizetype(words) * 2;
    }
    return canvas.finish();
}
