#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRegion>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

/// The drawing state that EMF and WMF records share: an object table of pens, brushes
/// and fonts, the selected ones, text colour and alignment, the current position, the
/// window and viewport mapping and the saved states. Draws onto its own image.
class MetafileCanvas {
public:
    using Object = std::variant<std::monostate, QPen, QBrush, QFont>;

    /// An image of `size` filled white; drawing is in logical units mapped through the
    /// window and viewport (by default the identity shifted by `deviceOrigin`).
    MetafileCanvas(QSize size, QPoint deviceOrigin);
    /// The same with `device` mapping the drawing's device units onto the image: the
    /// placement of the picture and any scaling down.
    MetafileCanvas(QSize size, const QTransform& device);

    [[nodiscard]] QImage finish();

    // Mapping.
    void setWindowOrigin(QPointF origin);
    void setWindowExtent(QSizeF extent);
    void setViewportOrigin(QPointF origin);
    void setViewportExtent(QSizeF extent);
    /// MM_TEXT (1) maps one unit to one pixel; MM_ANISOTROPIC (8) and MM_ISOTROPIC (7)
    /// use the extents; the metric modes map their units at 96 pixels per inch.
    void setMapMode(int mode);
    [[nodiscard]] QPointF windowOrigin() const { return state_.windowOrigin; }
    [[nodiscard]] QSizeF windowExtent() const { return state_.windowExtent; }

    // Objects.
    /// Stores `object` at `index` (growing the table), or in the first free slot when
    /// index is negative. Returns the slot used.
    int store(int index, Object object);
    void select(int index);
    void selectStock(int stock);
    void remove(int index);
    [[nodiscard]] static QPen penFrom(quint32 style, double width, QColor colour);
    [[nodiscard]] static QBrush brushFrom(quint32 style, QColor colour, quint32 hatch);
    [[nodiscard]] static QFont fontFrom(int height, int weight, bool italic, bool underline,
                                        bool strikeOut, const QString& face);

    // State.
    [[nodiscard]] const QBrush& brush() const { return state_.brush; }
    void setTextColour(QColor colour) { state_.textColour = colour; }
    void setBackgroundColour(QColor colour) { state_.backgroundColour = colour; }
    void setBackgroundMode(int mode) { state_.opaqueText = mode == 2; }
    void setTextAlign(quint32 align) { state_.textAlign = align; }
    /// The angle of the text baseline in tenths of a degree, counter-clockwise; it goes
    /// with the font, so callers set it when they select one.
    void setTextEscapement(int tenths) { state_.escapement = tenths; }
    void setPolyFillMode(int mode) { state_.winding = mode == 2; }
    void save();
    void restore(int relative);

    // World transform, paths, clipping and bitmaps (EMF).
    /// How logical units turn before the window and viewport mapping; saved with the state.
    void setWorldTransform(const QTransform& world);
    [[nodiscard]] const QTransform& worldTransform() const { return state_.world; }
    /// Logical units to image pixels as drawing maps them now.
    [[nodiscard]] QTransform transform() const;
    /// The drawing's device units to image pixels.
    [[nodiscard]] const QTransform& deviceTransform() const { return device_; }
    [[nodiscard]] QPointF position() const { return state_.position; }
    [[nodiscard]] const QPen& pen() const { return state_.pen; }
    /// Fills (closing every figure) and/or strokes `path`, given in image pixels, with the
    /// selected brush, fill mode and pen.
    void drawImagePath(const QPainterPath& path, bool fill, bool stroke);
    /// How a new area combines with the clipping region.
    enum class ClipCombine { Intersect, Unite, Xor, Exclude, Replace };
    /// Combines the clipping region with `area`, given in image pixels (the pixels it
    /// covers, as regions are).
    void clip(const QPainterPath& area, ClipCombine how);
    void clip(const QRegion& pixels, ClipCombine how);
    /// No clipping: the whole image.
    void resetClip();

    // Drawing, in logical units.
    void moveTo(QPointF p) { state_.position = p; }
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void bezier(const QPolygonF& points, bool fromPosition);
    void rectangle(QRectF rect);
    void roundRectangle(QRectF rect, QSizeF corner);
    void ellipse(QRectF rect);
    /// Text at `reference`, or at the current position (which it then advances) when the
    /// alignment asks to update it.
    void text(QPointF reference, const QString& text);
    /// Opaque background for text: fills the logical rectangle with the background colour.
    void fillBackground(QRectF rect);

    enum class ArcShape { Arc, Pie, Chord };
    /// The part of the ellipse in `rect` from the ray through `start` to the ray through
    /// `end`, counter-clockwise as the picture shows it: an outline, a pie or a chord.
    void arc(QRectF rect, QPointF start, QPointF end, ArcShape shape);
    /// Draws the `source` part of `image` into the logical rectangle `target` (mirrored
    /// when its width or height is negative), combined with the picture by the ternary
    /// raster operation `rop` of the formats' bit-block transfers.
    void image(QRectF target, const QImage& image, QRectF source, quint32 rop);
    /// A bit-block transfer without a source: the brush, black, white or the inverse of
    /// the picture over the logical rectangle, as `rop` says.
    void patternFill(QRectF target, quint32 rop);
    /// Fills (or frames with a `frame` wide border) logical rectangles with `brush`.
    void fillRects(const std::vector<QRectF>& rects, const QBrush& brush);
    void frameRects(const std::vector<QRectF>& rects, const QBrush& brush, QSizeF frame);

    // Clipping, held in device pixels like the formats do, saved with the state.
    void intersectClip(QRectF rect);
    void excludeClip(QRectF rect);
    /// The logical rectangles become the clip; none removes it.
    void selectClip(const std::vector<QRectF>& rects);
    void offsetClip(QPointF offset);

private:
    struct State {
        QPen pen{Qt::black, 0};
        QBrush brush;
        QFont font;
        QColor textColour = Qt::black;
        QColor backgroundColour = Qt::white;
        bool opaqueText = true;
        quint32 textAlign = 0;
        bool winding = false;
        QPointF position;
        int mapMode = 1;
        QPointF windowOrigin, viewportOrigin;
        QSizeF windowExtent{1, 1}, viewportExtent{1, 1};
        int escapement = 0;
        QTransform world;
        std::optional<QRegion> clip; ///< device pixels; none draws everywhere
    };
    void applyMapping();
    void applyClip();
    /// Keeps a bitmap brush's pattern on whole device pixels whatever the mapping.
    void alignPattern();
    [[nodiscard]] QRegion deviceRegion(QRectF logical) const;

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QTransform device_;
    std::vector<Object> objects_;
    State state_;
    std::vector<State> saved_;
};
