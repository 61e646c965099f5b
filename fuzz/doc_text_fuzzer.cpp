// The printable text of document files.
#include "FuzzInput.h"
#include "formats/DocText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = DocText(fuzz::bytes(data, size));
    for (const QChar c : text) {
        if (c != u'\n' && c != u' ' && (c.unicode() < 32 || c.unicode() > 126))
            __builtin_trap(); // only printable characters may come out
    }
    return 0;
}
