#pragma once

#include "platform/IsolatedRead.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace platform {

/// A failure of a workbook or database reader: the file cannot be opened, the query
/// names no table, or the records cannot be read.
class TableSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The table a record source selects from: "SELECT * FROM name" or "SELECT * FROM [a
/// name]" (keywords in any case). An unbracketed name ends at the first blank and may be
/// followed by an alias only; anything else, or an empty name, gives nothing.
[[nodiscard]] std::optional<QString> TableOfRecordSource(const QString& query);

/// A forward-only cursor over the records a query returns; every value already text.
class RecordCursor {
public:
    virtual ~RecordCursor() = default;
    [[nodiscard]] virtual const QStringList& fieldNames() const = 0;
    /// The next record's values (one per field); false after the last record.
    /// Throws TableSourceError when the data cannot be read.
    [[nodiscard]] virtual bool next(QStringList& values) = 0;
};

/// Sends a cursor's field names, then each of its records, from a helper process.
void SendRecords(ListSink& sink, RecordCursor& cursor);

/// The workbook requests of the table helper: the operation, the file, then the query.
/// The helper program answers them with the workbook reader.
extern const QString SheetsRequest;
extern const QString SheetRecordsRequest;

/// A cursor over the records the table helper sends for `request` (field names first, as
/// SendRecords does).
[[nodiscard]] std::unique_ptr<RecordCursor> OpenIsolatedRecords(const QStringList& request,
                                                                const HelperLimits& limits);

/// One field of a database table: its name, engine type code and size.
struct TableField {
    QString name;
    int type = 0;
    int size = 0;
};

/// An .mdb database opened read-only.
class Database {
public:
    /// Throws TableSourceError when the file is no readable database.
    explicit Database(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// The user tables in catalogue order (system tables included; callers skip them).
    [[nodiscard]] QStringList tableNames() const;
    /// The fields of a table in column order; empty when there is no such table.
    [[nodiscard]] std::vector<TableField> fields(const QString& table) const;
    /// Opens a record source ("SELECT * FROM ..."); throws TableSourceError when the
    /// query names no table of the database.
    [[nodiscard]] std::unique_ptr<RecordCursor> openRecords(const QString& query);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

} // namespace platform
