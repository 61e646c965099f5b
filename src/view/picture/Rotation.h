#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QTransform>
#include <array>

/// "Rotate right": 90 more; 271 or more turns back to 0.
[[nodiscard]] int RotatedRight(int angle);
/// "Rotate left": 90 less; below -270 turns back to 0.
[[nodiscard]] int RotatedLeft(int angle);

/// Where the top-left, top-right and bottom-left corners of a width x height picture
/// land when it turns by `angle` degrees about the centre of a destination of the same
/// size (y grows downwards, so positive angles turn clockwise). Whole pixels.
[[nodiscard]] std::array<QPoint, 3> RotatedCorners(int width, int height, int angle);

/// The affine map of the parallelogram transfer: (0,0), (w,0) and (0,h) of the source
/// go to the three turned corners.
[[nodiscard]] QTransform RotationTransform(int width, int height, int angle);

/// The source drawn turned by `angle` degrees onto a destination of its own size,
/// as the parallelogram of its three turned corners; what falls outside is cut off,
/// the rest is `background`.
[[nodiscard]] QImage RotatePicture(const QImage& source, int angle,
                                   const QColor& background = Qt::white);

/// The picture alone turned by `angle`: it is turned inside the square of its longer
/// side (so nothing is cut off) and what it covers is cut out; 90 and 270 give a
/// picture with its width and height exchanged.
[[nodiscard]] QImage TurnedPicture(const QImage& picture, int angle);
