#include "ArchiveFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzArchiveReader(data, size, "cab");
    return 0;
}
