// World transforms, paths and clipping by paths and regions of MetafileCanvas, which
// only the EMF records use.
#include "formats/MetafileCanvas.h"

#include <cmath>

namespace {

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
    // Only what lies on the image matters; a region of figures far past it would take
    // as much memory as their size.
    const QRectF onImage = QRectF(image_.rect()).adjusted(-1, -1, 1, 1);
    QPainterPath inside = area;
    if (!onImage.contains(area.boundingRect())) {
        QPainterPath bounds;
        bounds.addRect(onImage);
        inside = area.intersected(bounds);
    }
    // The pixels the figures cover, as a region holds them.
    QRegion pixels;
    for (const QPolygonF& figure : inside.toSubpathPolygons()) {
        if (inside.fillRule() == Qt::OddEvenFill)
            pixels ^= QRegion(figure.toPolygon(), Qt::OddEvenFill);
        else
            pixels |= QRegion(figure.toPolygon(), Qt::WindingFill);
    }
    clip(pixels, how);
}

void MetafileCanvas::clip(const QRegion& pixels, ClipCombine how)
{
    const QRegion now = state_.clip.value_or(QRegion(image_.rect()));
    switch (how) {
    case ClipCombine::Intersect:
        state_.clip = now & pixels;
        break;
    case ClipCombine::Unite:
        state_.clip = now | pixels;
        break;
    case ClipCombine::Xor:
        state_.clip = now ^ pixels;
        break;
    case ClipCombine::Exclude:
        state_.clip = now - pixels;
        break;
    case ClipCombine::Replace:
        state_.clip = pixels;
        break;
    }
    applyClip();
}

void MetafileCanvas::resetClip()
{
    state_.clip.reset();
    applyClip();
}
