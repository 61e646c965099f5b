#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <memory>
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

    [[nodiscard]] QImage finish();

    // Mapping.
    void setWindowOrigin(QPointF origin);
    void setWindowExtent(QSizeF extent);
    void setViewportOrigin(QPointF origin);
    void setViewportExtent(QSizeF extent);
    /// MM_TEXT (1) maps one unit to one pixel; MM_ANISOTROPIC (8) and MM_ISOTROPIC (7)
    /// use the extents; the metric modes map their units at 96 pixels per inch.
    void setMapMode(int mode);

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
    void setTextColour(QColor colour) { state_.textColour = colour; }
    void setBackgroundColour(QColor colour) { state_.backgroundColour = colour; }
    void setBackgroundMode(int mode) { state_.opaqueText = mode == 2; }
    void setTextAlign(quint32 align) { state_.textAlign = align; }
    void setPolyFillMode(int mode) { state_.winding = mode == 2; }
    void save();
    void restore(int relative);

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
    void text(QPointF reference, const QString& text);

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
    };
    void applyMapping();

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    QPoint deviceOrigin_;
    std::vector<Object> objects_;
    State state_;
    std::vector<State> saved_;
};
