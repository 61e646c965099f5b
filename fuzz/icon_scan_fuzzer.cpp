// The byte scan for icon images and the .ico files made from what it finds.
#include "formats/IconScan.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<qint64> offsets = FindIconImageOffsets(bytes);
    for (int n = 1; n <= offsets.size(); ++n) {
        const QByteArray ico = IcoFileForImage(bytes, offsets, n);
        if (ico.size() < 22)
            __builtin_trap();
    }
    return 0;
}
