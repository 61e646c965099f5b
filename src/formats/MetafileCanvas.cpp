#include "formats/MetafileCanvas.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>

namespace {

// Text alignment flags of the metafile formats.
constexpr quint32 UpdatePosition = 1;
constexpr quint32 AlignRight = 2;
constexpr quint32 AlignCenter = 6;
constexpr quint32 AlignBottom = 8;
constexpr quint32 AlignBaseline = 24;

constexpr std::size_t MaxObjects = 65536;

} // namespace

MetafileCanvas::MetafileCanvas(QSize size, QPoint deviceOrigin)
    : MetafileCanvas(size, QTransform::fromTranslate(-deviceOrigin.x(), -deviceOrigin.y()))
{}

MetafileCanvas::MetafileCanvas(QSize size, const QTransform& device)
    : image_(size, QImage::Format_RGB32), device_(device)
{
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    state_.brush = QBrush(Qt::white);
    state_.font = fontFrom(-12, 400, false, false, false, QString());
    applyMapping();
}

QImage MetafileCanvas::finish()
{
    painter_.reset();
    return image_;
}

void MetafileCanvas::setWindowOrigin(QPointF origin)
{
    state_.windowOrigin = origin;
    applyMapping();
}

void MetafileCanvas::setWindowExtent(QSizeF extent)
{
    if (extent.width() != 0 && extent.height() != 0)
        state_.windowExtent = extent;
    applyMapping();
}

void MetafileCanvas::setViewportOrigin(QPointF origin)
{
    state_.viewportOrigin = origin;
    applyMapping();
}

void MetafileCanvas::setViewportExtent(QSizeF extent)
{
    if (extent.width() != 0 && extent.height() != 0)
        state_.viewportExtent = extent;
    applyMapping();
}

void MetafileCanvas::setMapMode(int mode)
{
    state_.mapMode = mode;
    applyMapping();
}

void MetafileCanvas::applyMapping()
{
    double sx = 1;
    double sy = 1;
    switch (state_.mapMode) {
    case 7: // isotropic: the same scale both ways, the smaller one
    case 8:
        sx = state_.viewportExtent.width() / state_.windowExtent.width();
        sy = state_.viewportExtent.height() / state_.windowExtent.height();
        if (state_.mapMode == 7) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -s : s;
            sy = sy < 0 ? -s : s;
        }
        break;
    case 2: // 0.1 mm, y up
        sx = 96 / 254.0;
        sy = -sx;
        break;
    case 3: // 0.01 mm
        sx = 96 / 2540.0;
        sy = -sx;
        break;
    case 4: // 0.01 inch
        sx = 0.96;
        sy = -sx;
        break;
    case 5: // 0.001 inch
        sx = 0.096;
        sy = -sx;
        break;
    case 6: // twips
        sx = 96 / 1440.0;
        sy = -sx;
        break;
    default:
        break;
    }
    QTransform t;
    t.translate(state_.viewportOrigin.x(), state_.viewportOrigin.y());
    t.scale(sx, sy);
    t.translate(-state_.windowOrigin.x(), -state_.windowOrigin.y());
    // The world transform turns logical units first, the device mapping places last.
    painter_->setTransform(state_.world * t * device_);
    alignPattern();
}

int MetafileCanvas::store(int index, Object object)
{
    if (index < 0) {
        const auto free = std::find_if(objects_.begin(), objects_.end(), [](const Object& o) {
            return std::holds_alternative<std::monostate>(o);
        });
        index = static_cast<int>(free - objects_.begin());
    }
    if (std::size_t(index) >= MaxObjects)
        return -1;
    if (std::size_t(index) >= objects_.size())
        objects_.resize(std::size_t(index) + 1);
    objects_[std::size_t(index)] = std::move(object);
    return index;
}

void MetafileCanvas::select(int index)
{
    if (index < 0 || std::size_t(index) >= objects_.size())
        return;
    const Object& object = objects_[std::size_t(index)];
    if (const auto* pen = std::get_if<QPen>(&object))
        state_.pen = *pen;
    else if (const auto* brush = std::get_if<QBrush>(&object)) {
        state_.brush = *brush;
        alignPattern();
    } else if (const auto* font = std::get_if<QFont>(&object))
        state_.font = *font;
}

void MetafileCanvas::selectStock(int stock)
{
    switch (stock) {
    case 0: // white brush
        state_.brush = QBrush(Qt::white);
        break;
    case 1: // light grey
        state_.brush = QBrush(QColor(192, 192, 192));
        break;
    case 2:
        state_.brush = QBrush(QColor(128, 128, 128));
        break;
    case 3:
        state_.brush = QBrush(QColor(64, 64, 64));
        break;
    case 4:
        state_.brush = QBrush(Qt::black);
        break;
    case 5: // hollow brush
        state_.brush = QBrush(Qt::NoBrush);
        break;
    case 6: // white pen
        state_.pen = QPen(Qt::white, 0);
        break;
    case 7:
        state_.pen = QPen(Qt::black, 0);
        break;
    case 8: // null pen
        state_.pen = QPen(Qt::NoPen);
        break;
    default: // the stock fonts and palettes keep what is selected
        break;
    }
}

void MetafileCanvas::remove(int index)
{
    if (index >= 0 && std::size_t(index) < objects_.size())
        objects_[std::size_t(index)] = std::monostate();
}

QPen MetafileCanvas::penFrom(quint32 style, double width, QColor colour)
{
    QPen pen(colour);
    pen.setWidthF(std::clamp(width, 0.0, 1000.0)); // 0 is one device pixel
    switch (style & 0x0F) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 5:
        pen.setStyle(Qt::NoPen);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    return pen;
}

QBrush MetafileCanvas::brushFrom(quint32 style, QColor colour, quint32 hatch)
{
    switch (style) {
    case 1: // hollow
        return QBrush(Qt::NoBrush);
    case 2: {
        static constexpr Qt::BrushStyle Hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(colour, hatch < 6 ? Hatches[hatch] : Qt::SolidPattern);
    }
    default:
        return QBrush(colour);
    }
}

QFont MetafileCanvas::fontFrom(int height, int weight, bool italic, bool underline, bool strikeOut,
                               const QString& face)
{
    QFont font(face.isEmpty() ? QStringLiteral("Sans Serif") : face);
    // A negative height is the character height, a positive one the cell height; both
    // are close enough to a pixel size for drawing.
    const int pixels = std::clamp(std::abs(height), 1, 4096);
    font.setPixelSize(height == 0 ? 12 : pixels);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight == 0 ? 400 : weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

void MetafileCanvas::save()
{
    if (saved_.size() < 1024)
        saved_.push_back(state_);
}

void MetafileCanvas::restore(int relative)
{
    // A negative value counts back from the newest saved state; a positive one names it.
    std::size_t keep = 0;
    if (relative < 0) {
        const std::size_t back = std::size_t(-static_cast<qint64>(relative));
        if (back > saved_.size())
            return;
        keep = saved_.size() - back;
    } else {
        if (relative < 1 || std::size_t(relative) > saved_.size())
            return;
        keep = std::size_t(relative) - 1;
    }
    state_ = saved_[keep];
    saved_.resize(keep);
    applyMapping();
    applyClip();
}

void MetafileCanvas::lineTo(QPointF p)
{
    painter_->setPen(state_.pen);
    painter_->drawLine(state_.position, p);
    state_.position = p;
}

void MetafileCanvas::polyline(const QPolygonF& points)
{
    painter_->setPen(state_.pen);
    painter_->drawPolyline(points);
}

void MetafileCanvas::polylineTo(const QPolygonF& points)
{
    QPolygonF all;
    all.reserve(points.size() + 1);
    all << state_.position << points;
    polyline(all);
    if (!points.isEmpty())
        state_.position = points.last();
}

void MetafileCanvas::polygon(const QPolygonF& points)
{
    painter_->setPen(state_.pen);
    painter_->setBrush(state_.brush);
    painter_->drawPolygon(points, state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
}

void MetafileCanvas::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath path;
    path.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& p : polygons) {
        path.addPolygon(p);
        path.closeSubpath();
    }
    painter_->setPen(state_.pen);
    painter_->setBrush(state_.brush);
    painter_->drawPath(path);
}

void MetafileCanvas::bezier(const QPolygonF& points, bool fromPosition)
{
    QPolygonF all;
    if (fromPosition)
        all << state_.position;
    all << points;
    if (all.size() < 4)
        return;
    QPainterPath path(all[0]);
    for (qsizetype i = 1; i + 2 < all.size(); i += 3)
        path.cubicTo(all[i], all[i + 1], all[i + 2]);
    painter_->setPen(state_.pen);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawPath(path);
    if (fromPosition)
        state_.position = path.currentPosition();
}

void MetafileCanvas::rectangle(QRectF rect)
{
    painter_->setPen(state_.pen);
    painter_->setBrush(state_.brush);
    painter_->drawRect(rect.normalized());
}

void MetafileCanvas::roundRectangle(QRectF rect, QSizeF corner)
{
    painter_->setPen(state_.pen);
    painter_->setBrush(state_.brush);
    painter_->drawRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                              std::abs(corner.height()) / 2);
}

void MetafileCanvas::ellipse(QRectF rect)
{
    painter_->setPen(state_.pen);
    painter_->setBrush(state_.brush);
    painter_->drawEllipse(rect.normalized());
}

void MetafileCanvas::text(QPointF reference, const QString& text)
{
    if (text.isEmpty())
        return;
    const bool fromPosition = state_.textAlign & UpdatePosition;
    const QTransform t = painter_->transform();
    const QPointF device = t.map(fromPosition ? state_.position : reference);
    // Text keeps its upright shape when the y axis points up.
    const double scale = std::abs(t.m22()) > 0 ? std::abs(t.m22()) : 1.0;
    QFont font = state_.font;
    font.setPixelSize(static_cast<int>(std::clamp(font.pixelSize() * scale, 1.0, 4096.0)));
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    double x = 0;
    if ((state_.textAlign & AlignCenter) == AlignCenter)
        x = -width / 2;
    else if (state_.textAlign & AlignRight)
        x = -width;
    double baseline = metrics.ascent();
    if ((state_.textAlign & AlignBaseline) == AlignBaseline)
        baseline = 0;
    else if (state_.textAlign & AlignBottom)
        baseline = -metrics.descent();

    // Drawn in device pixels along the baseline, turned by the escapement.
    QTransform along;
    along.translate(device.x(), device.y());
    along.rotate(-state_.escapement / 10.0);
    painter_->save();
    painter_->setTransform(along);
    painter_->setFont(font);
    if (state_.opaqueText)
        painter_->fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.height()),
                           state_.backgroundColour);
    painter_->setPen(state_.textColour);
    painter_->drawText(QPointF(x, baseline), text);
    painter_->restore();

    if (fromPosition && (state_.textAlign & AlignCenter) != AlignCenter) {
        // Left-aligned text leaves the position at its end, right-aligned at its start.
        const double advance = (state_.textAlign & AlignRight) ? -width : width;
        state_.position = t.inverted().map(along.map(QPointF(advance, 0)));
    }
}
