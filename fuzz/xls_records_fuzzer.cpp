// Workbook records read by our own reader: compound-file chains, record lengths,
// shared strings over CONTINUE records and sheet offsets must never take the reader past
// the bytes it was given, nor into a loop.
#include "FuzzInput.h"
#include "formats/BiffBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<biff::Book> book = biff::ReadBook(fuzz::bytes(data, size));
    if (!book)
        return 0;
    for (const biff::Sheet& sheet : book->sheets) {
        if (sheet.rows > 65536 || sheet.columns > 256)
            __builtin_trap(); // larger than any sheet Excel could save
        for (const biff::PlacedCell& placed : sheet.cells)
            (void)biff::CellText(placed.cell, book->dates1904);
    }
    return 0;
}
