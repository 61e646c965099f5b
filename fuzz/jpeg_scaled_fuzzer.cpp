// JPEG pictures decoded at a reduced scale: damaged data must end in a null image, never a
// crash, a jump out of the decoder that leaks, or a picture larger than the limit.
#include "FuzzInput.h"
#include "formats/JpegScaled.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr qint64 Limit = 1024 * 1024; // larger pictures only slow the search down
    const QByteArray bytes = fuzz::bytes(data, size);
    // The first byte picks the cell, so that every scale is tried.
    const int side = size > 0 ? 1 + data[0] * 8 : 1;
    const ScaledJpeg jpeg = DecodeJpegCovering(
        bytes, [side](QSize) { return QSize(side, side); }, Limit);
    if (!jpeg.image.isNull() && qint64(jpeg.natural.width()) * jpeg.natural.height() > Limit)
        __builtin_trap();
    return 0;
}
