#pragma once

#include "platform/TableSource.h"

#include <QString>
#include <QStringList>
#include <memory>

// The .xls workbooks the table view shows. Our own record reader (BiffBook.h) reads them,
// formula results included, which freexl leaves empty; freexl reads the workbooks ours
// cannot.
namespace xls {

/// The sheet names of a workbook in file order, read in a helper process. Throws
/// platform::TableSourceError when neither reader can open the file.
[[nodiscard]] QStringList SheetNames(const QString& path);

/// Opens a record source ("SELECT * from [sheet]") on a workbook, read in a helper
/// process. The first row of the sheet gives the field names ("F" + column number where
/// a heading cell is empty); the records are the rows below it. Throws
/// platform::TableSourceError.
[[nodiscard]] std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path,
                                                                  const QString& query);

// The same in this process, for the helper and the fuzz targets.
namespace direct {
[[nodiscard]] QStringList SheetNames(const QString& path);
[[nodiscard]] std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path,
                                                                  const QString& query);
} // namespace direct

} // namespace xls
