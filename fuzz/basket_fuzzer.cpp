// The basket file reader: the header check and the entry fields of any bytes.
#include "basket/BasketFile.h"
#include "basket/BasketHeader.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = text.indexOf(u'\n');
    const QString first = newline < 0 ? text : text.left(newline);
    (void)IsBasketHeaderLine(first);
    int checksum = 0;
    (void)DecodeBasketHeader(first.left(4096), BasketKey, &checksum);
    const QStringList entries = ParseBasketEntries(text);
    for (const QString& entry : entries)
        if (entry.isEmpty() || entry != entry.trimmed())
            __builtin_trap(); // fields are trimmed and never empty
    return 0;
}
