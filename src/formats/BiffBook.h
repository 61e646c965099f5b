#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <vector>

// A workbook's cells as its BIFF records store them (Excel 2.x to 97-2003 files), read
// without any library: the values a view shows, formula results included.
namespace biff {

enum class CellKind : quint8 {
    Number,
    Date,     ///< a number shown with a date format
    DateTime, ///< a number shown with a format of date and time
    Time,     ///< a number shown with a time format
    Text,
    Boolean,
    Error, ///< `number` holds the error code (#DIV/0! is 7)
};

struct Cell {
    CellKind kind = CellKind::Number;
    double number = 0;    ///< the value; a date's day count; 1 or 0 for a boolean
    QString text;         ///< for CellKind::Text
    bool formula = false; ///< a formula's stored result
};

/// A cell and where it stands; rows and columns count from 0.
struct PlacedCell {
    quint32 row = 0;
    quint16 column = 0;
    Cell cell;
};

struct Sheet {
    QString name;
    /// In row and then column order, one for each place that holds a value (the last
    /// record for a place wins). A vector: a large sheet takes less than half of what a
    /// map of it would.
    std::vector<PlacedCell> cells;
    /// The rows and columns the sheet spans, as Excel's used range: up to the last cell
    /// that holds a value or formatting.
    quint32 rows = 0;
    quint32 columns = 0;

    /// The cell at a place; nullptr for an empty one.
    [[nodiscard]] const Cell* at(quint32 row, quint16 column) const;
};

struct Book {
    int version = 0;        ///< 2, 3, 4, 5 or 8
    bool dates1904 = false; ///< day 0 is 1 January 1904 instead of 31 December 1899
    std::vector<Sheet> sheets;
};

/// Reads a workbook: an OLE2 compound file with a "Workbook" or "Book" stream (BIFF5 and
/// BIFF8), or a plain BIFF2, BIFF3 or BIFF4 worksheet file (one sheet named
/// "Worksheet"). Worksheets and macro sheets count as sheets; charts and modules do not.
/// Only the cells of sheets named `onlySheet`, when given, are read. A sheet spans at
/// most 65536 rows and 256 columns, as Excel's did. Damaged records are
/// skipped; nothing when the bytes hold no workbook or the workbook is encrypted.
[[nodiscard]] std::optional<Book> ReadBook(const QByteArray& file,
                                           const std::optional<QString>& onlySheet = {});

/// A cell's value as the table view shows it: numbers in up to 15 significant digits,
/// dates as 2024-03-05, times as 13:45:10, both joined by a blank, booleans 1 and 0,
/// errors as Excel writes them (#DIV/0!, #N/A, ...).
[[nodiscard]] QString CellText(const Cell& cell, bool dates1904);

} // namespace biff
