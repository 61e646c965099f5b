#pragma once
// Pieces of the WMF reader shared by its files: record parameters, bitmaps and the
// object table.

#include "formats/MetafileBytes.h"
#include "formats/MetafileCanvas.h"

#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

/// WMF parameters are 16-bit words after the 6-byte record head; p(i) reads word i.
struct WmfParams {
    const MetafileBytes& r;
    [[nodiscard]] qint16 p(int i) const { return r.i16(6 + qsizetype(i) * 2); }
    [[nodiscard]] quint16 u(int i) const { return r.u16(6 + qsizetype(i) * 2); }
    [[nodiscard]] quint32 u32(int i) const { return r.u32(6 + qsizetype(i) * 2); }
    [[nodiscard]] QColor colour(int i) const { return r.colour(6 + qsizetype(i) * 2); }
    [[nodiscard]] QPointF point(int first) const { return QPointF(p(first + 1), p(first)); }
    /// Four words: bottom, right, top, left.
    [[nodiscard]] QRectF rect(int first) const
    {
        return QRectF(QPointF(p(first + 3), p(first + 2)), QPointF(p(first + 1), p(first)));
    }
    /// Offset in the record of word i.
    [[nodiscard]] static qsizetype at(int i) { return 6 + qsizetype(i) * 2; }
    /// Words in the record after its head.
    [[nodiscard]] int words() const { return int((r.size() - 6) / 2); }
    [[nodiscard]] QPolygonF points(int first, int count) const;
    [[nodiscard]] QString latin1(qsizetype at, int count) const;
};

/// A device-independent bitmap (info header, colours, pixels) starting at `at`; null
/// when it is damaged or unreasonably large.
[[nodiscard]] QImage WmfDibImage(const MetafileBytes& r, qsizetype at);
/// A device-dependent bitmap of the old records: its head at `head`, its pixels at `bits`.
[[nodiscard]] QImage WmfBitmap16Image(const MetafileBytes& r, qsizetype head, qsizetype bits);

/// The object table: every record that creates an object takes the lowest free slot,
/// whatever its kind, and the records that select, use or delete objects name slots.
class WmfObjectTable {
public:
    enum class Kind { Free, Pen, Brush, Font, Palette, Region };
    struct Slot {
        Kind kind = Kind::Free;
        QBrush brush;
        int escapement = 0;
        std::vector<QRectF> region;
    };

    /// Creates the object a CREATE... record describes (the caller has checked that it is
    /// one) and stores it in the lowest free slot.
    void create(MetafileCanvas& canvas, quint16 function, const WmfParams& a);
    void select(MetafileCanvas& canvas, int index) const;
    void remove(MetafileCanvas& canvas, int index);
    /// The slot, or nullptr when the index names no slot.
    [[nodiscard]] const Slot* at(int index) const;

private:
    int store(Slot slot);

    std::vector<Slot> slots_;
};

namespace WmfFunction {
enum : quint16 {
    CreatePalette = 0x00F7,
    DibCreatePatternBrush = 0x0142,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF,
};
} // namespace WmfFunction
