#pragma once
// Colour checks on drawn pictures: anti-aliased edges and fonts differ by a few levels.

#include <QColor>
#include <QImage>
#include <QRect>

inline const QColor Red(255, 0, 0);
inline const QColor Green(0, 255, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Yellow(255, 255, 0);
inline const QColor White(255, 255, 255);

/// True when each channel of `a` is within 40 of `b`'s.
inline bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

/// The box around every pixel in `area` that is darker than light grey.
inline QRect inkBox(const QImage& image, QRect area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 200)
                box |= QRect(x, y, 1, 1);
    return box;
}
