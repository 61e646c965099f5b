// The RAR 4 and RAR 5 block-header reader on arbitrary bytes.
#include "archive/RarHeaders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<RarFileFacts> files = ReadRarFileFacts(data, qint64(size));
    // Every file header takes at least seven bytes of the input.
    if (files.size() > size / 7 + 1)
        __builtin_trap();
    return 0;
}
