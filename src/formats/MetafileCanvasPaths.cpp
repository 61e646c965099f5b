// World transforms, paths, clipping and block transfers of MetafileCanvas, which only
// the EMF records use.
#include "formats/MetafileCanvas.h"

#include <cmath>

namespace {

// Raster operations of the block transfers (ternary codes with their operation index).
constexpr quint32 SrcCopy = 0x00CC0020;
constexpr quint32 SrcPaint = 0x00EE0086;
constexpr quint32 SrcAnd = 0x008800C6;
constexpr quint32 SrcInvert = 0x00660046;
constexpr quint32 SrcErase = 0x00440328;
constexpr quint32 NotSrcCopy = 0x00330008;
constexpr quint32 MergePaint = 0x00BB0226;
constexpr quint32 PatCopy = 0x00F00021;
constexpr quint32 PatInvert = 0x005A0049;
constexpr quint32 DstInvert = 0x00550009;
constexpr quint32 Blackness = 0x00000042;
constexpr quint32 Whiteness = 0x00FF0062;

/// The same figures with every open one closed, as a fill sees them.
QPainterPath closedFigures(const QPainterPath& path)
{
    QPainterPath closed;
    closed.setFillRule(path.fillRule());
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0)
                closed.closeSubpath();
            closed.moveTo(e);
        } else if (e.isLineTo()) {
            closed.lineTo(e);
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            closed.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    closed.closeSubpath();
    return closed;
}

/// The composition mode that does a source raster operation on an opaque image; the
/// plain copy for operations Qt has no mode for.
QPainter::CompositionMode modeOf(quint32 rop)
{
    switch (rop) {
    case SrcCopy:
        return QPainter::CompositionMode_SourceOver;
    case SrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case SrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case SrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case SrcErase:
        return QPainter::RasterOp_SourceAndNotDestination;
    case NotSrcCopy:
        return QPainter::RasterOp_NotSource;
    case MergePaint:
        return QPainter::RasterOp_NotSourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

void MetafileCanvas::setWorldTransform(const QTransform& world)
{
    state_.world = world;
    applyMapping();
}

QTransform MetafileCanvas::transform() const
{
    return painter_->transform();
}

void MetafileCanvas::drawImagePath(const QPainterPath& path, bool fill, bool stroke)
{
    const QTransform t = painter_->transform();
    if (!t.isInvertible())
        return;
    // Back to logical units, so the pen's width scales as it does for every other figure.
    QPainterPath logical = t.inverted().map(fill ? closedFigures(path) : path);
    logical.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
    painter_->setPen(stroke ? state_.pen : QPen(Qt::NoPen));
    painter_->setBrush(fill ? state_.brush : QBrush(Qt::NoBrush));
    painter_->drawPath(logical);
}

void MetafileCanvas::clip(const QPainterPath& area, ClipCombine how)
{
    QPainterPath whole;
    whole.addRect(QRectF(QPointF(0, 0), image_.size()));
    const QPainterPath now = state_.clip.value_or(whole);
    switch (how) {
    case ClipCombine::Intersect:
        state_.clip = now.intersected(area);
        break;
    case ClipCombine::Unite:
        state_.clip = now.united(area);
        break;
    case ClipCombine::Xor:
        state_.clip = now.united(area).subtracted(now.intersected(area));
        break;
    case ClipCombine::Exclude:
        state_.clip = now.subtracted(area);
        break;
    case ClipCombine::Replace:
        state_.clip = area;
        break;
    }
    applyClip();
}

void MetafileCanvas::resetClip()
{
    state_.clip.reset();
    applyClip();
}

void MetafileCanvas::offsetClip(QPointF offset)
{
    if (!state_.clip)
        return;
    const QTransform t = painter_->transform();
    const QPointF by = t.map(offset) - t.map(QPointF(0, 0));
    state_.clip->translate(by);
    applyClip();
}

void MetafileCanvas::applyClip()
{
    if (!state_.clip) {
        painter_->setClipping(false);
        return;
    }
    // The region is kept in image pixels: set it with no transform in the way.
    const QTransform t = painter_->transform();
    painter_->resetTransform();
    painter_->setClipPath(*state_.clip);
    painter_->setTransform(t);
}

void MetafileCanvas::drawBitmap(QRectF target, const QImage& bitmap, QRectF source, quint32 rop)
{
    if (bitmap.isNull() || target.width() == 0 || target.height() == 0 || source.isEmpty())
        return;
    const bool flipX = target.width() < 0;
    const bool flipY = target.height() < 0;
    QImage shown = bitmap;
    if (flipX || flipY) {
        shown = bitmap.mirrored(flipX, flipY);
        if (flipX)
            source.moveLeft(bitmap.width() - source.right());
        if (flipY)
            source.moveTop(bitmap.height() - source.bottom());
    }
    painter_->save();
    // Enlarged bitmaps keep their pixels sharp, as the default stretch mode does; reduced
    // ones are smoothed rather than losing whole rows.
    const QRectF onImage = painter_->transform().mapRect(target.normalized());
    painter_->setRenderHint(QPainter::SmoothPixmapTransform,
                            onImage.width() < source.width() || onImage.height() < source.height());
    painter_->setCompositionMode(modeOf(rop));
    painter_->drawImage(target.normalized(), shown, source);
    painter_->restore();
}

void MetafileCanvas::fillRop(QRectF target, quint32 rop)
{
    target = target.normalized();
    painter_->save();
    painter_->setPen(Qt::NoPen);
    switch (rop) {
    case PatCopy:
        painter_->setBrush(state_.brush);
        break;
    case PatInvert:
        painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter_->setBrush(state_.brush);
        break;
    case DstInvert:
        painter_->setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_->setBrush(Qt::black);
        break;
    case Blackness:
        painter_->setBrush(Qt::black);
        break;
    case Whiteness:
        painter_->setBrush(Qt::white);
        break;
    default: // operations that need a source bitmap draw nothing without one
        painter_->restore();
        return;
    }
    painter_->drawRect(target);
    painter_->restore();
}
