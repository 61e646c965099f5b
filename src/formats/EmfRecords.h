#pragma once

// Record types and shared field readers of the EMF interpreter (EmfReader, EmfPath,
// EmfBitmaps).
#include "formats/MetafileBytes.h"

#include <QPolygonF>
#include <QRectF>
#include <vector>

namespace emf {

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
    OffsetClipRgn = 26,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    FlattenPath = 65,
    WidenPath = 66,
    SelectClipPath = 67,
    AbortPath = 68,
    Comment = 70,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    MaskBlt = 78,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
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
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    AlphaBlend = 114,
    TransparentBlt = 116,
};

/// A RECTL: left, top, right, bottom.
inline QRectF rectAt(const MetafileBytes& r, qsizetype at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

/// `count` points from `at`; 32-bit or (small) 16-bit coordinates. Empty when the record
/// does not hold them all.
inline QPolygonF pointsAt(const MetafileBytes& r, qsizetype at, quint32 count, bool small)
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

/// The figures of a POLYPOLYGON or POLYPOLYLINE record, as many as are whole.
std::vector<QPolygonF> polyPolyAt(const MetafileBytes& r, bool small);

} // namespace emf
