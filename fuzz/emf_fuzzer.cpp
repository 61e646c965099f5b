// The EMF record interpreter on arbitrary bytes.
#include "MetafileFuzzSetup.h"
#include "formats/Metafile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)RenderEmf(bytes);
    return 0;
}
