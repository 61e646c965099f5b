#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <functional>

/// A JPEG decoded at one of the decoder's own reduced scales.
struct ScaledJpeg {
    QImage image;  ///< Format_RGB32; null when the data is not a JPEG this reader decodes
    QSize natural; ///< the picture's full size (valid as soon as the header was read)
};

/// Decodes the JPEG in `bytes` at the smallest of the decoder's scales (1/8 to 8/8) whose
/// picture still covers `cover(natural size)` in both directions (8/8 when none does),
/// which skips most of the work for a small thumbnail of a large photograph. Pictures of
/// more than `maxPixels` pixels, damaged data and colour models other than grey, RGB
/// and YCbCr give a null image. Thread-safe.
[[nodiscard]] ScaledJpeg DecodeJpegCovering(QByteArrayView bytes,
                                            const std::function<QSize(QSize natural)>& cover,
                                            qint64 maxPixels);

/// True when the bytes start like a JPEG file (SOI and the next marker).
[[nodiscard]] bool LooksLikeJpeg(QByteArrayView bytes);

/// False in builds without libjpeg, where DecodeJpegCovering always gives a null image.
[[nodiscard]] bool JpegDecoderBuiltIn();
