#pragma once

#include "platform/TableSource.h"

// The workbook and database readers run in this process. The libraries behind them can
// crash or loop on damaged files, so the program reaches them only through the helper
// program (TableSource.h, formats/XlsWorkbook.h); the helper and the fuzz targets call
// these directly.
namespace platform {
class ListSink;
}

namespace platform::direct {

/// Answers one database request of the table helper program (made by TableSource.cpp) on
/// `sink`; workbook requests are the helper's own. Throws TableSourceError.
void AnswerTableRequest(ListSink& sink, const QStringList& request);

/// The sheet names freexl reads from an .xls workbook. Throws TableSourceError.
[[nodiscard]] QStringList WorkbookSheetNames(const QString& path);

/// A sheet's rows as freexl reads them, from the first; a cell freexl gives no value
/// (a formula's, for one) is an empty text.
class SheetRows {
public:
    virtual ~SheetRows() = default;
    [[nodiscard]] virtual int columnCount() const = 0;
    /// The next row's cells, one per column; false after the last row.
    [[nodiscard]] virtual bool next(QStringList& cells) = 0;
};

/// Opens the rows of a sheet named `sheet`. Throws TableSourceError when freexl cannot
/// open the workbook or has no such sheet.
[[nodiscard]] std::unique_ptr<SheetRows> OpenSheetRows(const QString& path, const QString& sheet);

/// An .mdb database opened read-only in this process.
class Database {
public:
    explicit Database(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    [[nodiscard]] QStringList tableNames() const;
    [[nodiscard]] std::vector<TableField> fields(const QString& table) const;
    [[nodiscard]] std::unique_ptr<RecordCursor> openRecords(const QString& query);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

} // namespace platform::direct
