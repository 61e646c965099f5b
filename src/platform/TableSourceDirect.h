#pragma once

#include "platform/TableSource.h"

// The workbook and database readers run in this process. The libraries behind them can
// crash or loop on damaged files, so the program reaches them only through the helper
// process of TableSource.h; the helper and the fuzz targets call these directly.
namespace platform {
class ListSink;
}

namespace platform::direct {

/// Answers one request of the table helper program (made by TableSource.cpp) on `sink`.
/// Throws TableSourceError.
void AnswerTableRequest(ListSink& sink, const QStringList& request);

[[nodiscard]] QStringList WorkbookSheetNames(const QString& path);

[[nodiscard]] std::unique_ptr<RecordCursor> OpenWorkbookRecords(const QString& path,
                                                                const QString& query);

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
