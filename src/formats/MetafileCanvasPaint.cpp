// Arcs, bit-block transfers, region fills and clipping of MetafileCanvas.
#include "formats/MetafileCanvas.h"

#include <QPainterPath>
#include <QtMath>
#include <cmath>

namespace {

/// The ternary raster operations the formats use, by their index (the high word).
enum Rop : quint32 {
    Blackness = 0x00,
    NotSourceErase = 0x11,
    NotSourceCopy = 0x33,
    SourceErase = 0x44,
    DestinationInvert = 0x55,
    PatternInvert = 0x5A,
    SourceInvert = 0x66,
    SourceAnd = 0x88,
    MergePaint = 0xBB,
    SourceCopy = 0xCC,
    SourcePaint = 0xEE,
    PatternCopy = 0xF0,
    Whiteness = 0xFF,
};

QPainter::CompositionMode compositionFor(quint32 rop)
{
    switch ((rop >> 16) & 0xFF) {
    case NotSourceErase:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case NotSourceCopy:
        return QPainter::RasterOp_NotSource;
    case SourceErase:
        return QPainter::RasterOp_SourceAndNotDestination;
    case SourceInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case SourceAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case MergePaint:
        return QPainter::RasterOp_NotSourceOrDestination;
    case SourcePaint:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

/// The angle in degrees (Qt's sense: counter-clockwise with y down) of the point where
/// the ray from the centre of `rect` through `p` meets the ellipse.
double angleOnEllipse(QRectF rect, QPointF p)
{
    const QPointF c = rect.center();
    const double rx = std::max(rect.width() / 2, 1e-9);
    const double ry = std::max(rect.height() / 2, 1e-9);
    if (p == c)
        return 0;
    return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
}

} // namespace

void MetafileCanvas::arc(QRectF rect, QPointF start, QPointF end, ArcShape shape)
{
    rect = rect.normalized();
    if (rect.isEmpty())
        return;
    const double from = angleOnEllipse(rect, start);
    double sweep = angleOnEllipse(rect, end) - from;
    // Counter-clockwise on the picture: with one axis flipped that is clockwise here.
    const QTransform t = painter_->transform();
    const bool flipped = t.m11() * t.m22() - t.m12() * t.m21() < 0;
    if (flipped) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (shape == ArcShape::Pie) {
        path.moveTo(rect.center());
        path.arcTo(rect, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(rect, from);
        path.arcTo(rect, from, sweep);
        if (shape == ArcShape::Chord)
            path.closeSubpath();
    }
    painter_->setPen(state_.pen);
    painter_->setBrush(shape == ArcShape::Arc ? QBrush(Qt::NoBrush) : state_.brush);
    painter_->drawPath(path);
}

void MetafileCanvas::image(QRectF target, const QImage& image, QRectF source, quint32 rop)
{
    if (image.isNull() || target.normalized().isEmpty() || !source.isValid())
        return;
    // A negative extent mirrors the picture along that axis.
    const bool mirrorX = target.width() < 0;
    const bool mirrorY = target.height() < 0;
    // Only pixels inside the bitmap can be shown.
    const QRect inside = source.normalized().toAlignedRect() & image.rect();
    if (inside.isEmpty())
        return;
    QImage shown = image.copy(inside);
    if (mirrorX || mirrorY)
        shown = shown.mirrored(mirrorX, mirrorY);
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setCompositionMode(compositionFor(rop));
    painter_->drawImage(target.normalized(), shown);
    painter_->restore();
}

void MetafileCanvas::patternFill(QRectF target, quint32 rop)
{
    QBrush brush;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch ((rop >> 16) & 0xFF) {
    case PatternCopy:
        brush = state_.brush;
        break;
    case PatternInvert:
        brush = state_.brush;
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case DestinationInvert:
        brush = QBrush(Qt::black);
        mode = QPainter::RasterOp_NotDestination;
        break;
    case Blackness:
        brush = QBrush(Qt::black);
        break;
    case Whiteness:
        brush = QBrush(Qt::white);
        break;
    default: // operations with a source need a bitmap that this record lacks
        return;
    }
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setCompositionMode(mode);
    painter_->fillRect(target.normalized(), brush);
    painter_->restore();
}

void MetafileCanvas::fillRects(const std::vector<QRectF>& rects, const QBrush& brush)
{
    QBrush aligned = brush;
    if (aligned.style() == Qt::TexturePattern)
        aligned.setTransform(painter_->transform().inverted());
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    for (const QRectF& rect : rects)
        painter_->fillRect(rect.normalized(), aligned);
    painter_->restore();
}

void MetafileCanvas::frameRects(const std::vector<QRectF>& rects, const QBrush& brush, QSizeF frame)
{
    // The frame lies inside the region: its outline less the outline shrunk by the width.
    const QRegion outer = [&] {
        QRegion r;
        for (const QRectF& rect : rects)
            r += deviceRegion(rect);
        return r;
    }();
    const QPointF step = painter_->transform().map(QPointF(frame.width(), frame.height())) -
                         painter_->transform().map(QPointF(0, 0));
    const int dx = std::max(1, int(std::lround(std::abs(step.x()))));
    const int dy = std::max(1, int(std::lround(std::abs(step.y()))));
    const QRegion inner = outer.translated(dx, 0) & outer.translated(-dx, 0) &
                          outer.translated(0, dy) & outer.translated(0, -dy);
    painter_->save();
    painter_->resetTransform();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& r : outer - inner)
        painter_->fillRect(r, brush);
    painter_->restore();
}

QRegion MetafileCanvas::deviceRegion(QRectF logical) const
{
    return QRegion(painter_->transform().mapRect(logical.normalized()).toAlignedRect());
}

void MetafileCanvas::intersectClip(QRectF rect)
{
    const QRegion r = deviceRegion(rect);
    state_.clip = state_.clip ? *state_.clip & r : r;
    applyClip();
}

void MetafileCanvas::excludeClip(QRectF rect)
{
    const QRegion all = state_.clip ? *state_.clip : QRegion(image_.rect());
    state_.clip = all - deviceRegion(rect);
    applyClip();
}

void MetafileCanvas::selectClip(const std::vector<QRectF>& rects)
{
    if (rects.empty()) {
        state_.clip.reset();
    } else {
        QRegion r;
        for (const QRectF& rect : rects)
            r += deviceRegion(rect);
        state_.clip = r;
    }
    applyClip();
}

void MetafileCanvas::offsetClip(QPointF offset)
{
    if (!state_.clip)
        return;
    const QPointF d = painter_->transform().map(offset) - painter_->transform().map(QPointF());
    state_.clip->translate(int(std::lround(d.x())), int(std::lround(d.y())));
    applyClip();
}

void MetafileCanvas::applyClip()
{
    if (!state_.clip) {
        painter_->setClipping(false);
        return;
    }
    const QTransform t = painter_->transform();
    painter_->resetTransform();
    // As a path: Qt's raster engine let a region of several rectangles through whole
    // (Qt 6.4), where the same pixels as a path clip right.
    QPainterPath pixels;
    pixels.addRegion(*state_.clip);
    painter_->setClipPath(pixels);
    painter_->setTransform(t);
}

void MetafileCanvas::alignPattern()
{
    if (state_.brush.style() == Qt::TexturePattern)
        state_.brush.setTransform(painter_->transform().inverted());
}

void MetafileCanvas::fillBackground(QRectF rect)
{
    painter_->fillRect(rect.normalized(), state_.backgroundColour);
}
