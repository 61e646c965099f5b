#include "formats/EmfPath.h"

#include "formats/EmfRecords.h"
#include "formats/MetafileCanvas.h"

#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace {

// Point kinds of POLYDRAW.
constexpr quint8 CloseFigureFlag = 0x01;
constexpr quint8 LineToPoint = 0x02;
constexpr quint8 BezierToPoint = 0x04;
constexpr quint8 MoveToPoint = 0x06;

bool isSmall(quint32 type)
{
    return type >= emf::PolyBezier16 && type <= emf::PolyDraw16;
}

} // namespace

void EmfPath::begin()
{
    path_ = QPainterPath();
    exists_ = true;
    recording_ = true;
    figureOpen_ = false;
}

void EmfPath::abort()
{
    path_ = QPainterPath();
    exists_ = false;
    recording_ = false;
}

void EmfPath::closeFigure()
{
    if (recording_ && figureOpen_) {
        path_.closeSubpath();
        figureOpen_ = false;
    }
}

void EmfPath::continueFigure(const MetafileCanvas& canvas)
{
    // Records that go on from the current position start a figure there when none is open.
    if (!figureOpen_) {
        path_.moveTo(canvas.transform().map(canvas.position()));
        figureOpen_ = true;
    }
}

bool EmfPath::add(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    using namespace emf;
    const QTransform t = canvas.transform();
    const bool small = isSmall(type);
    QPainterPath figure; // closed shapes, in logical units
    switch (type) {
    case MoveToEx:
        canvas.moveTo(QPointF(r.i32(8), r.i32(12)));
        figureOpen_ = false;
        return true;
    case LineTo: {
        const QPointF p(r.i32(8), r.i32(12));
        continueFigure(canvas);
        path_.lineTo(t.map(p));
        canvas.moveTo(p);
        return true;
    }
    case PolylineTo:
    case PolylineTo16:
    case PolyBezierTo:
    case PolyBezierTo16: {
        const QPolygonF points = pointsAt(r, 28, r.u32(24), small);
        const bool curves = type == PolyBezierTo || type == PolyBezierTo16;
        const qsizetype used = curves ? points.size() / 3 * 3 : points.size();
        if (used == 0)
            return true;
        continueFigure(canvas);
        for (qsizetype i = 0; i < used; i += curves ? 3 : 1) {
            if (curves)
                path_.cubicTo(t.map(points[i]), t.map(points[i + 1]), t.map(points[i + 2]));
            else
                path_.lineTo(t.map(points[i]));
        }
        canvas.moveTo(points[used - 1]);
        return true;
    }
    case Polyline:
    case Polyline16:
    case PolyBezier:
    case PolyBezier16:
    case Polygon:
    case Polygon16: {
        const QPolygonF points = pointsAt(r, 28, r.u32(24), small);
        if (points.isEmpty())
            return true;
        figure.moveTo(points[0]);
        if (type == PolyBezier || type == PolyBezier16) {
            for (qsizetype i = 1; i + 2 < points.size(); i += 3)
                figure.cubicTo(points[i], points[i + 1], points[i + 2]);
        } else {
            for (qsizetype i = 1; i < points.size(); ++i)
                figure.lineTo(points[i]);
        }
        if (type == Polygon || type == Polygon16)
            figure.closeSubpath();
        break;
    }
    case PolyPolyline:
    case PolyPolyline16:
    case PolyPolygon:
    case PolyPolygon16:
        for (const QPolygonF& points : polyPolyAt(r, small)) {
            if (type == PolyPolygon || type == PolyPolygon16) {
                figure.addPolygon(points);
                figure.closeSubpath();
            } else {
                figure.addPolygon(points);
            }
        }
        break;
    case Rectangle:
        figure.addRect(rectAt(r, 8).normalized());
        break;
    case RoundRect:
        figure.addRoundedRect(rectAt(r, 8).normalized(), std::abs(r.i32(24)) / 2.0,
                              std::abs(r.i32(28)) / 2.0);
        break;
    case Ellipse:
        figure.addEllipse(rectAt(r, 8).normalized());
        break;
    case PolyDraw:
    case PolyDraw16:
        addPolyDraw(canvas, r, small);
        return true;
    case Arc:
    case ArcTo:
    case Chord:
    case Pie:
    case AngleArc:
        addArc(canvas, type, r);
        return true;
    default:
        return false;
    }
    path_.addPath(t.map(figure));
    figureOpen_ = false;
    return true;
}

void EmfPath::addPolyDraw(MetafileCanvas& canvas, const MetafileBytes& r, bool small)
{
    const quint32 count = r.u32(24);
    const QPolygonF points = emf::pointsAt(r, 28, count, small);
    const qsizetype kindsAt = 28 + qsizetype(count) * (small ? 4 : 8);
    if (points.size() != qsizetype(count) || !r.has(kindsAt, count))
        return;
    const QTransform t = canvas.transform();
    for (qsizetype i = 0; i < points.size(); ++i) {
        switch (r.u8(kindsAt + i) & ~CloseFigureFlag) {
        case MoveToPoint:
            path_.moveTo(t.map(points[i]));
            figureOpen_ = true;
            break;
        case LineToPoint:
            continueFigure(canvas);
            path_.lineTo(t.map(points[i]));
            break;
        case BezierToPoint:
            if (i + 2 >= points.size())
                return;
            continueFigure(canvas);
            path_.cubicTo(t.map(points[i]), t.map(points[i + 1]), t.map(points[i + 2]));
            i += 2;
            break;
        default: // not a point kind: the record is damaged here
            return;
        }
        canvas.moveTo(points[i]);
        if (r.u8(kindsAt + i) & CloseFigureFlag) {
            path_.closeSubpath();
            figureOpen_ = false;
        }
    }
}

void EmfPath::addArc(MetafileCanvas& canvas, quint32 type, const MetafileBytes& r)
{
    using namespace emf;
    const QTransform t = canvas.transform();
    QRectF box;
    double from = 0;
    double sweep = 0;
    if (type == AngleArc) {
        const QPointF centre(r.i32(8), r.i32(12));
        const double radius = r.u32(16);
        box = QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
        from = r.f32(20);
        sweep = r.f32(24);
        if (!std::isfinite(from) || !std::isfinite(sweep))
            return;
        sweep = std::clamp(sweep, -360.0, 360.0);
    } else {
        box = rectAt(r, 8).normalized();
        if (box.width() <= 0 || box.height() <= 0)
            return;
        // The angles of the rays from the centre through the start and end points, as
        // Qt measures them on the ellipse.
        const QPointF c = box.center();
        const auto angleOf = [&](QPointF p) {
            return std::atan2(-(p.y() - c.y()) * box.width(), (p.x() - c.x()) * box.height()) *
                   180 / M_PI;
        };
        from = angleOf(QPointF(r.i32(24), r.i32(28)));
        sweep = angleOf(QPointF(r.i32(32), r.i32(36))) - from;
        if (clockwise_)
            sweep = sweep >= 0 ? sweep - 360 : sweep;
        else
            sweep = sweep <= 0 ? sweep + 360 : sweep;
    }
    QPainterPath arc; // in logical units
    arc.arcMoveTo(box, from);
    const QPointF start = arc.currentPosition();
    if (type == Pie) {
        arc = QPainterPath(box.center());
        arc.lineTo(start);
    }
    arc.arcTo(box, from, sweep);
    if (type == Chord || type == Pie)
        arc.closeSubpath();
    const QPainterPath mapped = t.map(arc);
    if (type == ArcTo || type == AngleArc) {
        // These go on from the current position and leave it at the arc's end.
        continueFigure(canvas);
        for (int i = 0; i < mapped.elementCount(); ++i) {
            const QPainterPath::Element e = mapped.elementAt(i);
            if (e.isCurveTo() && i + 2 < mapped.elementCount()) {
                path_.cubicTo(e, mapped.elementAt(i + 1), mapped.elementAt(i + 2));
                i += 2;
            } else {
                path_.lineTo(e);
            }
        }
        canvas.moveTo(arc.currentPosition());
        return;
    }
    path_.addPath(mapped);
    figureOpen_ = false;
}

void EmfPath::widen(const QPen& pen, const QTransform& toImage)
{
    if (!exists_ || recording_ || pen.style() == Qt::NoPen)
        return;
    QPainterPathStroker stroker(pen);
    // The pen's width is in logical units; the path is in image pixels.
    stroker.setWidth(std::max(1.0, pen.widthF() * std::sqrt(std::abs(toImage.determinant()))));
    // Simplified, so the outline fills the same in either fill mode.
    path_ = stroker.createStroke(path_).simplified();
}

std::optional<QPainterPath> EmfPath::take()
{
    if (!exists_ || recording_)
        return std::nullopt;
    exists_ = false;
    return std::exchange(path_, QPainterPath());
}
