// Version strings of Windows programs, shown in the properties dialog.
#include "FuzzInput.h"
#include "tools/PeVersionReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)ReadPeVersionStrings(fuzz::bytes(data, size));
    return 0;
}
