#pragma once

#include "controls/Grid.h"
#include "controls/NodeTree.h"
#include "platform/TableSource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CancelKey;
class Prompts;

/// The spreadsheet letters of a column counted from 0: A..Z, then AA..AZ, BA, ...
[[nodiscard]] QString SpreadsheetColumnName(int index);
/// The grid format of a sheet with `fieldCount` fields: an empty heading over the
/// row numbers, then A, B, ... joined by "|".
[[nodiscard]] QString SheetFormatString(int fieldCount);

/// The name of a database engine type code ("Boolean", "Text", ...; "unknown").
[[nodiscard]] QString FieldTypeName(int code);
/// A field's line in the database tree: the name padded to 26 characters, the type
/// name, and (except for Boolean and Memo) the size after a few blanks.
[[nodiscard]] QString FieldLine(const platform::TableField& field);

/// The queries the views send: a sheet bracketed, a table name unchanged.
[[nodiscard]] QString SheetRecordSource(const QString& sheet);
[[nodiscard]] QString TableRecordSource(const QString& table);

/// The status text of a shown sheet or table: the path without the temporary folder's
/// part, then "[" + name + "]".
[[nodiscard]] QString TableStatusText(const QString& path, const QString& tempFolder,
                                      const QString& name);

/// Fills `tree` with the root `rootText` and one child per sheet, root expanded.
void BuildWorkbookTree(NodeTree& tree, const QString& rootText, const QStringList& sheets);
/// Fills `tree` with the root and one child per table not starting with "MSys", each
/// with its fields (not "ID") as sorted children; root expanded.
void BuildDatabaseTree(NodeTree& tree, const QString& rootText, const platform::Database& db);

/// Loads the records of a cursor into a grid in batches, so a window can paint and
/// poll the cancel key between them.
class GridLoader {
public:
    enum class Layout {
        Sheet, ///< headings A, B, ...; row 1 = "1" + field names; records from row 2
        Table, ///< headings = field names; records from row 1, column 0 right-aligned
    };
    GridLoader(Grid& grid, std::unique_ptr<platform::RecordCursor> cursor, Layout layout);

    /// Adds up to `maxRecords` rows; false once the last record is in. Throws
    /// platform::TableSourceError when a record cannot be read.
    bool addBatch(int maxRecords);

private:
    Grid& grid_;
    std::unique_ptr<platform::RecordCursor> cursor_;
    int nextNumber_ = 1;
    QStringList values_;
};

/// A sheet or table arriving in a grid one batch per step, so that a window can run it
/// from its event loop and stay answering between batches.
class GridLoad {
public:
    enum class Step {
        More,  ///< rows are still to come
        Done,  ///< all rows are in, or a Yes to "cancel?" kept the rows so far
        Failed ///< a record could not be read; the user was told
    };

    ~GridLoad();
    /// Opens `sheet` of the workbook at `path` into `grid`; null after telling the user
    /// "unable to open:" with the path and sheet.
    [[nodiscard]] static std::unique_ptr<GridLoad>
    openSheet(Grid& grid, const QString& path, const QString& sheet, Prompts& prompts);
    /// Opens `table` of `database` through "SELECT * FROM " + table; null after telling
    /// the user "table is empty:" with `viewFile` and the table.
    [[nodiscard]] static std::unique_ptr<GridLoad> openTable(Grid& grid, const QString& database,
                                                             const QString& table,
                                                             const QString& viewFile,
                                                             Prompts& prompts);

    /// Adds one batch, then asks "cancel?" when Escape was delivered (a Yes ends the
    /// load). Never runs events. The table's grid is tagged "MDB" when it is done.
    Step step(CancelKey& cancel, Prompts& prompts);

private:
    GridLoad(Grid& grid, QString errorText);

    Grid& grid_;
    QString errorText_;
    std::unique_ptr<platform::Database> database_;
    std::unique_ptr<GridLoader> loader_;
    bool table_ = false;
};

/// Called after every batch so the window can show the rows so far.
using BatchShown = std::function<void()>;

/// Opens `sheet` of the workbook into `grid` and loads it to the end. Between batches
/// the cancel check runs on the presses delivered so far; a Yes keeps the rows loaded.
/// On an error the user is told "unable to open:" with the path and sheet; returns false
/// then.
bool ShowSheet(Grid& grid, const QString& path, const QString& sheet, CancelKey& cancel,
               Prompts& prompts, const BatchShown& shown = {});

/// Shows a database table in `grid` through the record source "SELECT * FROM " + table.
/// On an error the user is told "table is empty:" with `viewFile` and the table;
/// returns false then. The grid is tagged "MDB" on success.
bool ShowTable(Grid& grid, const QString& database, const QString& table, const QString& viewFile,
               CancelKey& cancel, Prompts& prompts, const BatchShown& shown = {});
