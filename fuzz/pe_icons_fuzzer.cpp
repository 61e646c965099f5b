// The icon resources of untrusted program files.
#include "formats/IconResources.h"
#include "formats/PeResources.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PeResources resources(bytes);
    for (const PeResources::Entry& entry : resources.entries(PeResources::Icon))
        (void)resources.data(PeResources::Icon, entry.id);
    (void)ReadIcons(bytes);
    return 0;
}
