#pragma once

#include <QByteArray>
#include <QImage>

/// An .ico or .cur file with its directory's sizes taken from the images themselves:
/// width, height and bit count from each image's bitmap header (its height halved, as
/// it covers the mask too) or PNG header. Directories that hold another height (twice
/// the icon's, or none) then agree with what they describe.
[[nodiscard]] QByteArray IcoWithImageSizes(const QByteArray& ico);

/// Image `index` of an .ico or .cur file. An image that the icon decoder refuses
/// (an unusual but consistent bitmap header) is decoded as the bitmap it holds, without
/// its mask. A null image when nothing decodes.
[[nodiscard]] QImage DecodeIcoImage(const QByteArray& ico, int index = 0);
