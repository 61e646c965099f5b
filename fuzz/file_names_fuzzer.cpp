// File name bytes as the system gives them: any bytes must come back exactly from the
// QString they decode to, and that string must survive a second trip unchanged.
#include "FuzzInput.h"
#include "platform/FileNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const QString name = platform::decodeFileName(input);
    if (platform::encodeFileName(name) != input)
        __builtin_trap();
    if (platform::holdsRawBytes(name) == input.isValidUtf8())
        __builtin_trap(); // raw bytes exactly when the input is not UTF-8
    (void)platform::readableFileName(name);
    return 0;
}
