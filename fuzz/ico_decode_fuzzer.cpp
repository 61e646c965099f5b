// An .ico file as the picture view decodes it: the directory rebuilt from the images'
// own headers, the icon decoder, and the bitmap fallback.
#include "formats/IcoDecode.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (IcoWithImageSizes(bytes).size() != bytes.size())
        __builtin_trap();
    for (int index = 0; index < 4; ++index)
        (void)DecodeIcoImage(bytes, index);
    return 0;
}
