// The 'name' table of untrusted font files.
#include "formats/FontNames.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto names = ReadFontNames(bytes))
        (void)FaceName(*names);
    return 0;
}
