// PCX pictures: the header's sizes must never make the reader allocate or loop beyond
// what the file holds.
#include "FuzzInput.h"
#include "formats/PcxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QImage image = ReadPcx(fuzz::bytes(data, size));
    if (!image.isNull() && qint64(image.width()) * image.height() > 8 * qint64(size) * 63)
        __builtin_trap(); // more pixels than the file could code
    return 0;
}
