// The EMF record interpreter behind DrawEmf and RenderEmf.
#include "formats/EmfReader.h"

#include "formats/EmfBitmaps.h"
#include "formats/EmfPath.h"
#include "formats/EmfRecords.h"
#include "formats/Metafile.h"
#include "formats/MetafileCanvas.h"

#include <QPolygonF>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr quint32 EmfSignature = 0x464D4520;     // " EMF"
constexpr quint32 EmfPlusSignature = 0x2B464D45; // "EMF+" opening a comment's data
constexpr quint32 StockObject = 0x80000000u;
// Hundredths of a millimetre to pixels at 96 per inch.
constexpr double PixelsPerHundredthMm = 96 / 2540.0;
// Rectangles of one clipping region taken at most; more would only slow drawing.
constexpr quint32 MaxRegionRects = 4096;
// Larger world transform values only come from damaged files, and make Qt's rasteriser
// crawl along lines millions of pixels long.
constexpr double MaxTransformValue = 1e6;
// The header's micrometre sizes follow its second extension.
constexpr quint32 HeaderWithMicrometres = 108;

using namespace emf;

/// Where the picture lies on the reference device and how large it is drawn.
struct Placement {
    QSize size;
    QSize natural;
    QTransform device; ///< reference device pixels to image pixels
};

/// Device pixels per 0.01 mm along one axis; 96 per inch when the header's sizes are
/// missing or damaged.
double devicePerHundredthMm(qint32 pixels, qint32 millimetres, qint32 micrometres)
{
    double k = 0;
    if (pixels > 0 && micrometres > 0)
        k = pixels * 10.0 / micrometres;
    else if (pixels > 0 && millimetres > 0)
        k = pixels / (millimetres * 100.0);
    // Between 2.5 and 25,000 pixels per inch: any real screen or printer.
    return k >= 0.001 && k <= 10 ? k : PixelsPerHundredthMm;
}

std::optional<Placement> placementOf(const MetafileBytes& header, qint64 maxPixels, int maxSide)
{
    const QRectF bounds = rectAt(header, 8);
    const QRectF frame = rectAt(header, 24);
    const bool micrometres = header.u32(4) >= HeaderWithMicrometres;
    const double kx =
        devicePerHundredthMm(header.i32(72), header.i32(80), micrometres ? header.i32(100) : 0);
    const double ky =
        devicePerHundredthMm(header.i32(76), header.i32(84), micrometres ? header.i32(104) : 0);
    QRectF onDevice;
    QSizeF natural;
    if (frame.width() > 0 && frame.height() > 0) {
        onDevice =
            QRectF(frame.left() * kx, frame.top() * ky, frame.width() * kx, frame.height() * ky);
        natural = frame.size() * PixelsPerHundredthMm;
    } else if (bounds.width() >= 0 && bounds.height() >= 0) {
        // No frame: the bounds, inclusive device pixels.
        onDevice = bounds.adjusted(0, 0, 1, 1);
        natural = onDevice.size();
    } else {
        return std::nullopt;
    }
    natural = QSizeF(std::max(1.0, std::round(natural.width())),
                     std::max(1.0, std::round(natural.height())));
    const double fit = std::min(
        {1.0, maxSide / natural.width(), maxSide / natural.height(),
         std::sqrt(double(std::max<qint64>(1, maxPixels)) / (natural.width() * natural.height()))});
    Placement p;
    p.natural = QSize(int(std::min(natural.width(), 1e9)), int(std::min(natural.height(), 1e9)));
    p.size =
        QSize(std::max(1, int(natural.width() * fit)), std::max(1, int(natural.height() * fit)));
    p.device = QTransform::fromTranslate(-onDevice.left(), -onDevice.top()) *
               QTransform::fromScale(p.size.width() / onDevice.width(),
                                     p.size.height() / onDevice.height());
    return p;
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

/// An XFORM; none when a value is not a number of a size a drawing could use.
std::optional<QTransform> transformAt(const MetafileBytes& r, qsizetype at)
{
    double v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = r.f32(at + i * 4);
        if (!std::isfinite(v[i]) || std::abs(v[i]) > MaxTransformValue)
            return std::nullopt;
    }
    return QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
}

std::optional<MetafileCanvas::ClipCombine> combineOf(quint32 mode)
{
    using C = MetafileCanvas::ClipCombine;
    switch (mode) {
    case 1:
        return C::Intersect;
    case 2:
        return C::Unite;
    case 3:
        return C::Xor;
    case 4:
        return C::Exclude;
    case 5:
        return C::Replace;
    default:
        return std::nullopt;
    }
}

/// EXTSELECTCLIPRGN: a region of device rectangles combined with the clipping region.
void selectClipRegion(MetafileCanvas& canvas, const MetafileBytes& r)
{
    const std::optional<MetafileCanvas::ClipCombine> how = combineOf(r.u32(12));
    if (!how)
        return;
    if (r.u32(8) == 0) { // no region: only a copy means anything, and it clears the clip
        if (*how == MetafileCanvas::ClipCombine::Replace)
            canvas.resetClip();
        return;
    }
    // RGNDATAHEADER: size, type, count, region size, bounds; then the rectangles.
    constexpr qsizetype data = 16;
    const quint32 count = std::min(r.u32(data + 8), MaxRegionRects);
    QRegion area;
    for (quint32 i = 0; i < count && r.has(data + 32 + qsizetype(i) * 16, 16); ++i) {
        const QRectF rect = rectAt(r, data + 32 + qsizetype(i) * 16).normalized();
        area |= canvas.deviceTransform().mapRect(rect).toAlignedRect();
    }
    canvas.clip(area, *how);
}

void clipRect(MetafileCanvas& canvas, const MetafileBytes& r, MetafileCanvas::ClipCombine how)
{
    QPainterPath area;
    area.addRect(rectAt(r, 8).normalized());
    canvas.clip(canvas.transform().map(area), how);
}

void modifyWorldTransform(MetafileCanvas& canvas, const MetafileBytes& r)
{
    const std::optional<QTransform> x = transformAt(r, 8);
    if (!x)
        return;
    switch (r.u32(32)) {
    case 1: // identity
        canvas.setWorldTransform(QTransform());
        break;
    case 2: // left multiply: the new transform applies first
        canvas.setWorldTransform(*x * canvas.worldTransform());
        break;
    case 3: // right multiply
        canvas.setWorldTransform(canvas.worldTransform() * *x);
        break;
    case 4: // set
        canvas.setWorldTransform(*x);
        break;
    default:
        break;
    }
}

/// Plays one record; `path` collects figures while a path is open.
class Player {
public:
    explicit Player(MetafileCanvas& canvas) : canvas_(canvas) {}

    void play(quint32 type, const MetafileBytes& r);
    [[nodiscard]] bool sawEmfPlus() const { return sawEmfPlus_; }
    [[nodiscard]] bool drew() const { return drew_; }

private:
    bool playPath(quint32 type, const MetafileBytes& r);
    bool playState(quint32 type, const MetafileBytes& r);
    bool playObject(quint32 type, const MetafileBytes& r);
    bool playDrawing(quint32 type, const MetafileBytes& r);

    MetafileCanvas& canvas_;
    EmfPath path_;
    bool sawEmfPlus_ = false;
    bool drew_ = false;
};

void Player::play(quint32 type, const MetafileBytes& r)
{
    if (type == Comment) {
        sawEmfPlus_ = sawEmfPlus_ || r.u32(12) == EmfPlusSignature;
        return;
    }
    if (path_.recording()) {
        // Text would add its letters' outlines; this reader leaves them out of paths.
        if (path_.add(canvas_, type, r) || type == ExtTextOutA || type == ExtTextOutW)
            return;
    }
    if (playPath(type, r) || playState(type, r) || playObject(type, r))
        return;
    if (playDrawing(type, r) || PlayEmfBitmapRecord(canvas_, type, r))
        drew_ = true;
}

bool Player::playPath(quint32 type, const MetafileBytes& r)
{
    switch (type) {
    case BeginPath:
        path_.begin();
        return true;
    case EndPath:
        path_.end();
        return true;
    case AbortPath:
        path_.abort();
        return true;
    case CloseFigure:
        path_.closeFigure();
        return true;
    case SetArcDirection:
        path_.setClockwise(r.u32(8) == 2);
        return true;
    case FlattenPath: // curves stay curves: they draw the same
        return true;
    case WidenPath:
        path_.widen(canvas_.pen(), canvas_.transform());
        return true;
    case FillPath:
    case StrokePath:
    case StrokeAndFillPath:
        if (const std::optional<QPainterPath> path = path_.take()) {
            canvas_.drawImagePath(*path, type != StrokePath, type != FillPath);
            drew_ = true;
        }
        return true;
    case SelectClipPath:
        if (const auto how = combineOf(r.u32(8)))
            if (const std::optional<QPainterPath> path = path_.take())
                canvas_.clip(*path, *how);
        return true;
    default:
        return false;
    }
}

bool Player::playState(quint32 type, const MetafileBytes& r)
{
    switch (type) {
    case SetWindowExt:
        canvas_.setWindowExtent(QSizeF(r.i32(8), r.i32(12)));
        return true;
    case SetWindowOrg:
        canvas_.setWindowOrigin(QPointF(r.i32(8), r.i32(12)));
        return true;
    case SetViewportExt:
        canvas_.setViewportExtent(QSizeF(r.i32(8), r.i32(12)));
        return true;
    case SetViewportOrg:
        canvas_.setViewportOrigin(QPointF(r.i32(8), r.i32(12)));
        return true;
    case SetMapMode:
        canvas_.setMapMode(int(r.u32(8)));
        return true;
    case SetBkMode:
        canvas_.setBackgroundMode(int(r.u32(8)));
        return true;
    case SetPolyFillMode:
        canvas_.setPolyFillMode(int(r.u32(8)));
        return true;
    case SetTextAlign:
        canvas_.setTextAlign(r.u32(8));
        return true;
    case SetTextColor:
        canvas_.setTextColour(r.colour(8));
        return true;
    case SetBkColor:
        canvas_.setBackgroundColour(r.colour(8));
        return true;
    case MoveToEx:
        canvas_.moveTo(QPointF(r.i32(8), r.i32(12)));
        return true;
    case SaveDc:
        canvas_.save();
        return true;
    case RestoreDc:
        canvas_.restore(r.i32(8));
        return true;
    case SetWorldTransform:
        if (const std::optional<QTransform> x = transformAt(r, 8))
            canvas_.setWorldTransform(*x);
        return true;
    case ModifyWorldTransform:
        modifyWorldTransform(canvas_, r);
        return true;
    case IntersectClipRect:
        clipRect(canvas_, r, MetafileCanvas::ClipCombine::Intersect);
        return true;
    case ExcludeClipRect:
        clipRect(canvas_, r, MetafileCanvas::ClipCombine::Exclude);
        return true;
    case OffsetClipRgn:
        canvas_.offsetClip(QPointF(r.i32(8), r.i32(12)));
        return true;
    case ExtSelectClipRgn:
        selectClipRegion(canvas_, r);
        return true;
    default:
        return false;
    }
}

bool Player::playObject(quint32 type, const MetafileBytes& r)
{
    const int index = int(std::min<quint32>(r.u32(8), 0x7FFFFFFF));
    switch (type) {
    case SelectObject:
        if (const quint32 handle = r.u32(8); handle & StockObject)
            canvas_.selectStock(int(handle & ~StockObject));
        else
            canvas_.select(index);
        return true;
    case DeleteObject:
        canvas_.remove(index);
        return true;
    case CreatePen:
        canvas_.store(index, MetafileCanvas::penFrom(r.u32(12), r.i32(16), r.colour(24)));
        return true;
    case ExtCreatePen:
        canvas_.store(index, MetafileCanvas::penFrom(r.u32(28), r.u32(32), r.colour(40)));
        return true;
    case CreateBrushIndirect:
        canvas_.store(index, MetafileCanvas::brushFrom(r.u32(12), r.colour(16), r.u32(20)));
        return true;
    case CreateMonoBrush:
    case CreateDibPatternBrushPt:
        if (const QImage pattern = EmfBitmapAt(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28));
            !pattern.isNull())
            canvas_.store(index, QBrush(pattern));
        return true;
    case ExtCreateFontIndirectW:
        canvas_.store(index, fontAt(r));
        return true;
    default:
        return false;
    }
}

bool Player::playDrawing(quint32 type, const MetafileBytes& r)
{
    const bool small = type >= PolyBezier16 && type <= PolyDraw16;
    switch (type) {
    case PolyBezier:
    case PolyBezier16:
        canvas_.bezier(pointsAt(r, 28, r.u32(24), small), false);
        return true;
    case PolyBezierTo:
    case PolyBezierTo16:
        canvas_.bezier(pointsAt(r, 28, r.u32(24), small), true);
        return true;
    case Polygon:
    case Polygon16:
        canvas_.polygon(pointsAt(r, 28, r.u32(24), small));
        return true;
    case Polyline:
    case Polyline16:
        canvas_.polyline(pointsAt(r, 28, r.u32(24), small));
        return true;
    case PolylineTo:
    case PolylineTo16:
        canvas_.polylineTo(pointsAt(r, 28, r.u32(24), small));
        return true;
    case PolyPolyline:
    case PolyPolyline16:
        for (const QPolygonF& p : polyPolyAt(r, small))
            canvas_.polyline(p);
        return true;
    case PolyPolygon:
    case PolyPolygon16:
        canvas_.polyPolygon(polyPolyAt(r, small));
        return true;
    case PolyDraw:
    case PolyDraw16:
    case Arc:
    case ArcTo:
    case AngleArc:
    case Chord:
    case Pie: {
        // Drawn as a path of their own: outlines, with chords and pies filled.
        EmfPath figure;
        figure.setClockwise(path_.clockwise());
        figure.begin();
        figure.add(canvas_, type, r);
        figure.end();
        if (const std::optional<QPainterPath> path = figure.take())
            canvas_.drawImagePath(*path, type == Chord || type == Pie, true);
        return true;
    }
    case LineTo:
        canvas_.lineTo(QPointF(r.i32(8), r.i32(12)));
        return true;
    case Ellipse:
        canvas_.ellipse(rectAt(r, 8));
        return true;
    case Rectangle:
        canvas_.rectangle(rectAt(r, 8));
        return true;
    case RoundRect:
        canvas_.roundRectangle(rectAt(r, 8), QSizeF(r.i32(24), r.i32(28)));
        return true;
    case ExtTextOutA:
    case ExtTextOutW:
        drawText(canvas_, r, type == ExtTextOutW);
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<QPolygonF> emf::polyPolyAt(const MetafileBytes& r, bool small)
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

EmfDrawing DrawEmf(const QByteArray& bytes, qint64 maxPixels, int maxSide)
{
    EmfDrawing result;
    const MetafileBytes header(bytes, 0, bytes.size());
    if (header.u32(0) != Header || header.u32(40) != EmfSignature)
        return result;
    const std::optional<Placement> placement =
        placementOf(MetafileBytes(bytes, 0, std::min<qint64>(header.u32(4), bytes.size())),
                    maxPixels, std::max(1, maxSide));
    if (!placement)
        return result;
    MetafileCanvas canvas(placement->size, placement->device);
    Player player(canvas);
    qsizetype at = 0;
    while (at + 8 <= bytes.size()) {
        const quint32 type = header.u32(at);
        const quint32 size = header.u32(at + 4);
        if (size < 8 || size % 4 != 0 || qint64(size) > bytes.size() - at)
            break;
        if (type == Eof)
            break;
        if (at > 0)
            player.play(type, MetafileBytes(bytes, at, at + size));
        at += size;
    }
    result.image = canvas.finish();
    result.naturalSize = placement->natural;
    result.emfPlusOnly = player.sawEmfPlus() && !player.drew();
    return result;
}

QImage RenderEmf(const QByteArray& bytes)
{
    return DrawEmf(bytes, qint64(EmfMaxSide) * EmfMaxSide).image;
}

QImage RenderMetafile(const QByteArray& bytes)
{
    const MetafileBytes header(bytes, 0, bytes.size());
    if (header.u32(0) == Header && header.u32(40) == EmfSignature)
        return RenderEmf(bytes);
    return RenderWmf(bytes);
}
