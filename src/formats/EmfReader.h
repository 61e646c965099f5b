#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

/// An Enhanced Metafile (EMF) drawn to an image.
struct EmfDrawing {
    QImage image;      ///< null when the bytes are not an EMF or give it no size
    QSize naturalSize; ///< the size its header's frame gives, at 96 pixels per inch
    /// The file draws only in EMF+ records and has no GDI records to fall back on, so
    /// the image holds nothing of it.
    bool emfPlusOnly = false;
};

/// The largest image a metafile is drawn to unless the caller says less.
inline constexpr int EmfMaxSide = 8192;

/// Plays an EMF: paths, world transforms, clipping, bitmaps, pens, brushes, fonts and
/// text, placed by the header's frame (0.01 mm) mapped through the reference device's
/// size. A picture larger than `maxSide` on a side or `maxPixels` in all is drawn scaled
/// down to fit, keeping its proportions. EMF+ records are skipped for the GDI records
/// that dual files carry beside them.
[[nodiscard]] EmfDrawing DrawEmf(const QByteArray& bytes, qint64 maxPixels,
                                 int maxSide = EmfMaxSide);
