// The EMF record interpreter on arbitrary bytes.
#include "MetafileFuzzSetup.h"
#include "formats/EmfReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Small pictures keep each run quick; the placement and scaling code runs the same.
    (void)DrawEmf(bytes, qint64(1) << 18, 1024);
    return 0;
}
