#include "TableFuzzInput.h"
#include "platform/TableSourceDirect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = WriteTableFuzzInput(data, size, "mdb");
    if (path.isEmpty())
        return 0;
    try {
        platform::direct::Database db(path);
        for (const QString& table : db.tableNames()) {
            (void)db.fields(table);
            auto records = db.openRecords(QStringLiteral("SELECT * FROM [") + table + "]");
            QStringList values;
            for (int rows = 0; rows < 10000 && records->next(values); ++rows) {
            }
        }
    } catch (const platform::TableSourceError&) {
    }
    return 0;
}
