// The WMF record interpreter behind RenderWmf.
#include "formats/Metafile.h"
#include "formats/MetafileBytes.h"
#include "formats/MetafileCanvas.h"
#include "formats/WmfRecords.h"

#include <QPolygonF>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int MaxSide = 4096;
constexpr int PixelsPerInch = 96;

enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    InvertRegion = 0x012A,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    OffsetViewportOrg = 0x0211,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRegion = 0x0220,
    FillRegion = 0x0228,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ScaleViewportExt = 0x0412,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    FrameRegion = 0x0429,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Arc = 0x0817,
    Pie = 0x081A,
    BitBlt = 0x0922,
    StretchBlt = 0x0B23,
    Chord = 0x0830,
    ExtTextOut = 0x0A32,
    SetDibToDevice = 0x0D33,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
};

struct Layout {
    qsizetype firstRecord = 0;
    QSize size;
    QRectF window; ///< logical rectangle shown in `size`
    bool placeable = false;
};

/// Calls `visit(function, record)` for each whole record from `first` to the end record.
template <typename Visit> void forEachRecord(const QByteArray& bytes, qsizetype first, Visit visit)
{
    const MetafileBytes all(bytes, 0, bytes.size());
    qsizetype at = first;
    while (at + 6 <= bytes.size()) {
        const quint32 words = all.u32(at);
        const quint16 function = all.u16(at + 4);
        if (words < 3 || qint64(words) * 2 > bytes.size() - at || function == Eof)
            break;
        const MetafileBytes record(bytes, at, at + qsizetype(words) * 2);
        if (!visit(function, WmfParams{record}))
            break;
        at += qsizetype(words) * 2;
    }
}

/// The rectangle the drawing records cover, in their own units, for a file that sets
/// no window.
QRectF drawingBounds(const QByteArray& bytes, qsizetype first)
{
    QRectF bounds;
    const auto add = [&bounds](QRectF r) { bounds = bounds.isNull() ? r : bounds.united(r); };
    forEachRecord(bytes, first, [&](quint16 function, const WmfParams& a) {
        switch (function) {
        case MoveTo:
        case LineTo:
        case ExtTextOut:
            add(QRectF(a.point(0), QSizeF(0, 0)));
            break;
        case Rectangle:
        case Ellipse:
            add(a.rect(0).normalized());
            break;
        case RoundRect:
            add(a.rect(2).normalized());
            break;
        case Arc:
        case Pie:
        case Chord:
            add(a.rect(4).normalized());
            break;
        case Polygon:
        case Polyline:
            add(a.points(1, a.p(0)).boundingRect());
            break;
        default:
            break;
        }
        return true;
    });
    return bounds;
}

/// Fits a size of `width` x `height` units into the largest picture drawn.
QSize pictureSize(double width, double height)
{
    const double fit = std::min(1.0, MaxSide / std::max(width, height));
    return QSize(int(std::lround(width * fit)), int(std::lround(height * fit)));
}

/// Finds the records and the picture size: the placeable header's box at its units per
/// inch; else the window the records set up; else the box the drawing covers.
std::optional<Layout> layoutOf(const QByteArray& bytes)
{
    const MetafileBytes all(bytes, 0, bytes.size());
    Layout layout;
    qsizetype header = 0;
    if (all.u32(0) == PlaceableKey) {
        header = 22;
        layout.placeable = true;
        const QRectF box(QPointF(all.i16(6), all.i16(8)), QPointF(all.i16(10), all.i16(12)));
        const int inch = all.u16(14) == 0 ? 1440 : all.u16(14);
        layout.window = box.normalized();
        layout.size = pictureSize(layout.window.width() * PixelsPerInch / inch,
                                  layout.window.height() * PixelsPerInch / inch);
    }
    const quint16 type = all.u16(header);
    const quint16 headerWords = all.u16(header + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return std::nullopt;
    layout.firstRecord = header + 18;
    if (!layout.placeable) {
        QPointF origin;
        forEachRecord(bytes, layout.firstRecord, [&](quint16 function, const WmfParams& a) {
            if (function == SetWindowOrg)
                origin = a.point(0);
            if (function == SetWindowExt) {
                layout.window = QRectF(origin, QSizeF(a.p(1), a.p(0)));
                return false;
            }
            return true;
        });
        if (layout.window.isNull())
            layout.window = drawingBounds(bytes, layout.firstRecord);
        layout.size =
            pictureSize(std::abs(layout.window.width()), std::abs(layout.window.height()));
    }
    if (layout.size.width() <= 0 || layout.size.height() <= 0)
        return std::nullopt;
    return layout;
}

/// The source rectangle of a bitmap record; `fromBottom` when the record counts rows
/// from the bottom of a bottom-up bitmap.
QRectF sourceRect(const QImage& image, double x, double y, double w, double h, bool fromBottom)
{
    if (fromBottom)
        y = image.height() - y - h;
    return QRectF(x, y, w, h);
}

bool bottomUpDib(const WmfParams& a, int word)
{
    const qsizetype at = WmfParams::at(word);
    return a.r.u32(at) == 12 ? a.r.i16(at + 6) > 0 : a.r.i32(at + 8) > 0;
}

class Player {
public:
    Player(const Layout& layout) : layout_(layout), canvas_(layout.size, QPoint(0, 0))
    {
        // The picture's window fills the image; records may move it later.
        canvas_.setMapMode(8);
        canvas_.setWindowOrigin(layout.window.topLeft());
        canvas_.setWindowExtent(layout.window.size());
        canvas_.setViewportExtent(QSizeF(layout.size));
    }

    void play(quint16 function, const WmfParams& a);
    QImage finish() { return canvas_.finish(); }

private:
    void windowExtent(QSizeF extent);
    void bitmap(quint16 function, const WmfParams& a);
    void region(quint16 function, const WmfParams& a);
    void text(quint16 function, const WmfParams& a);
    void polyPolygon(const WmfParams& a);

    Layout layout_;
    MetafileCanvas canvas_;
    WmfObjectTable objects_;
};

void Player::windowExtent(QSizeF extent)
{
    // Extents are whole units; a scaled one that rounds to nothing is refused as GDI does.
    extent = QSizeF(std::round(extent.width()), std::round(extent.height()));
    if (extent.width() == 0 || extent.height() == 0)
        return;
    // A placeable picture keeps the scale its units per inch give; the extent only says
    // which way the axes run.
    if (layout_.placeable)
        extent = QSizeF(std::copysign(layout_.window.width(), extent.width()),
                        std::copysign(layout_.window.height(), extent.height()));
    canvas_.setWindowExtent(extent);
}

void Player::play(quint16 function, const WmfParams& a)
{
    using Shape = MetafileCanvas::ArcShape;
    switch (function) {
    case SaveDc:
        canvas_.save();
        break;
    case RestoreDc:
        canvas_.restore(a.p(0));
        break;
    case SetBkMode:
        canvas_.setBackgroundMode(a.u(0));
        break;
    case SetPolyFillMode:
        canvas_.setPolyFillMode(a.u(0));
        break;
    case WmfFunction::CreatePalette:
    case WmfFunction::DibCreatePatternBrush:
    case WmfFunction::CreatePatternBrush:
    case WmfFunction::CreatePenIndirect:
    case WmfFunction::CreateFontIndirect:
    case WmfFunction::CreateBrushIndirect:
    case WmfFunction::CreateRegion:
        objects_.create(canvas_, function, a);
        break;
    case SelectObject:
        objects_.select(canvas_, a.u(0));
        break;
    case DeleteObject:
        objects_.remove(canvas_, a.u(0));
        break;
    case SetTextAlign:
        canvas_.setTextAlign(a.u(0));
        break;
    case SetBkColor:
        canvas_.setBackgroundColour(a.colour(0));
        break;
    case SetTextColor:
        canvas_.setTextColour(a.colour(0));
        break;
    case SetWindowOrg:
        canvas_.setWindowOrigin(a.point(0));
        break;
    case OffsetWindowOrg:
        canvas_.setWindowOrigin(canvas_.windowOrigin() + a.point(0));
        break;
    case SetWindowExt:
        windowExtent(QSizeF(a.p(1), a.p(0)));
        break;
    case ScaleWindowExt:
        if (a.p(0) != 0 && a.p(2) != 0)
            windowExtent(QSizeF(canvas_.windowExtent().width() * a.p(3) / a.p(2),
                                canvas_.windowExtent().height() * a.p(1) / a.p(0)));
        break;
    case LineTo:
        canvas_.lineTo(a.point(0));
        break;
    case MoveTo:
        canvas_.moveTo(a.point(0));
        break;
    case Polygon:
        canvas_.polygon(a.points(1, a.p(0)));
        break;
    case Polyline:
        canvas_.polyline(a.points(1, a.p(0)));
        break;
    case PolyPolygon:
        polyPolygon(a);
        break;
    case Ellipse:
        canvas_.ellipse(a.rect(0));
        break;
    case Rectangle:
        canvas_.rectangle(a.rect(0));
        break;
    case RoundRect:
        canvas_.roundRectangle(a.rect(2), QSizeF(a.p(1), a.p(0)));
        break;
    case Arc:
        canvas_.arc(a.rect(4), a.point(2), a.point(0), Shape::Arc);
        break;
    case Pie:
        canvas_.arc(a.rect(4), a.point(2), a.point(0), Shape::Pie);
        break;
    case Chord:
        canvas_.arc(a.rect(4), a.point(2), a.point(0), Shape::Chord);
        break;
    case TextOut:
    case ExtTextOut:
        text(function, a);
        break;
    case IntersectClipRect:
        canvas_.intersectClip(a.rect(0));
        break;
    case ExcludeClipRect:
        canvas_.excludeClip(a.rect(0));
        break;
    case InvertRegion:
    case PaintRegion:
    case FillRegion:
    case FrameRegion:
    case SelectClipRegion:
    case OffsetClipRegion:
        region(function, a);
        break;
    case PatBlt:
        canvas_.patternFill(QRectF(a.point(4), QSizeF(a.p(3), a.p(2))), a.u32(0));
        break;
    case BitBlt:
    case StretchBlt:
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
    case SetDibToDevice:
        bitmap(function, a);
        break;
    default: // the map mode and viewport stay as the picture's fit set them
        break;
    }
}

void Player::polyPolygon(const WmfParams& a)
{
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
    canvas_.polyPolygon(all);
}

void Player::text(quint16 function, const WmfParams& a)
{
    if (function == TextOut) {
        const int count = a.p(0);
        const int words = (std::max(0, count) + 1) / 2;
        canvas_.text(a.point(1 + words), a.latin1(WmfParams::at(1), count));
        return;
    }
    const int count = a.p(2);
    const quint16 options = a.u(3);
    constexpr quint16 Opaque = 0x0002;
    constexpr quint16 Clipped = 0x0004;
    const bool hasRect = options & (Opaque | Clipped);
    if (options & Opaque) // the rectangle: left, top, right, bottom
        canvas_.fillBackground(QRectF(QPointF(a.p(4), a.p(5)), QPointF(a.p(6), a.p(7))));
    canvas_.text(a.point(0), a.latin1(WmfParams::at(hasRect ? 8 : 4), count));
}

void Player::region(quint16 function, const WmfParams& a)
{
    if (function == OffsetClipRegion) {
        canvas_.offsetClip(a.point(0));
        return;
    }
    const WmfObjectTable::Slot* region = objects_.at(a.u(0));
    const bool isRegion = region && region->kind == WmfObjectTable::Kind::Region;
    if (function == SelectClipRegion) {
        canvas_.selectClip(isRegion ? region->region : std::vector<QRectF>());
        return;
    }
    if (!isRegion)
        return;
    const WmfObjectTable::Slot* brush = objects_.at(a.u(1));
    const bool hasBrush = brush && brush->kind == WmfObjectTable::Kind::Brush;
    switch (function) {
    case PaintRegion:
        canvas_.fillRects(region->region, canvas_.brush());
        break;
    case FillRegion:
        if (hasBrush)
            canvas_.fillRects(region->region, brush->brush);
        break;
    case FrameRegion:
        if (hasBrush)
            canvas_.frameRects(region->region, brush->brush, QSizeF(a.p(3), a.p(2)));
        break;
    case InvertRegion:
        for (const QRectF& r : region->region)
            canvas_.patternFill(r, 0x00550009);
        break;
    default:
        break;
    }
}

void Player::bitmap(quint16 function, const WmfParams& a)
{
    const quint32 rop = a.u32(0);
    // The transfer records without a bitmap are one word longer than their function's
    // high byte says and fill with the brush.
    if ((function == BitBlt || function == StretchBlt || function == DibBitBlt ||
         function == DibStretchBlt) &&
        a.words() == function >> 8) {
        const bool stretch = function == StretchBlt || function == DibStretchBlt;
        const int d = stretch ? 7 : 5; // destination height, width, y, x
        canvas_.patternFill(QRectF(a.point(d + 2), QSizeF(a.p(d + 1), a.p(d))), rop);
        return;
    }
    switch (function) {
    case BitBlt:
    case DibBitBlt: {
        const QImage image = function == BitBlt
                                 ? WmfBitmap16Image(a.r, WmfParams::at(8), WmfParams::at(13))
                                 : WmfDibImage(a.r, WmfParams::at(8));
        const QSizeF size(a.p(5), a.p(4));
        canvas_.image(QRectF(a.point(6), size), image,
                      QRectF(a.point(2), QSizeF(std::abs(size.width()), std::abs(size.height()))),
                      rop);
        break;
    }
    case StretchBlt:
    case DibStretchBlt: {
        const QImage image = function == StretchBlt
                                 ? WmfBitmap16Image(a.r, WmfParams::at(10), WmfParams::at(15))
                                 : WmfDibImage(a.r, WmfParams::at(10));
        canvas_.image(QRectF(a.point(8), QSizeF(a.p(7), a.p(6))), image,
                      QRectF(a.point(4), QSizeF(a.p(3), a.p(2))), rop);
        break;
    }
    case StretchDib: {
        const QImage image = WmfDibImage(a.r, WmfParams::at(11));
        canvas_.image(QRectF(a.point(9), QSizeF(a.p(8), a.p(7))), image,
                      sourceRect(image, a.p(6), a.p(5), a.p(4), a.p(3), bottomUpDib(a, 11)), rop);
        break;
    }
    case SetDibToDevice: {
        const QImage image = WmfDibImage(a.r, WmfParams::at(9));
        const QSizeF size(a.p(6), a.p(5));
        canvas_.image(
            QRectF(a.point(7), size), image,
            sourceRect(image, a.p(4), a.p(3), size.width(), size.height(), bottomUpDib(a, 9)),
            0x00CC0020);
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
    Player player(*layout);
    forEachRecord(bytes, layout->firstRecord, [&player](quint16 function, const WmfParams& a) {
        player.play(function, a);
        return true;
    });
    return player.finish();
}
