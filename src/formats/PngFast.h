#pragma once

#include <QByteArray>
#include <QImage>

/// The picture as a PNG file (8-bit RGB, every row Sub-filtered, deflated at zlib's fastest
/// level for runs), with its dots per metre as Qt's writer gives them. Meant for large
/// opaque pages that are written often, where Qt's writer spends most of its time trying
/// every row filter. Alpha is dropped. Empty for a null picture.
[[nodiscard]] QByteArray EncodePngFast(const QImage& picture);
