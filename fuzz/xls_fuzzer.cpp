#include "TableFuzzInput.h"
#include "formats/XlsWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = WriteTableFuzzInput(data, size, "xls");
    if (path.isEmpty())
        return 0;
    try {
        for (const QString& sheet : xls::direct::SheetNames(path)) {
            auto records =
                xls::direct::OpenRecords(path, QStringLiteral("SELECT * from [") + sheet + "]");
            QStringList values;
            while (records->next(values)) {
            }
        }
    } catch (const platform::TableSourceError&) {
    }
    return 0;
}
