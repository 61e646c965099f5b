#include "formats/XlsWorkbook.h"

#include "formats/BiffBook.h"
#include "platform/FileAccess.h"
#include "platform/TableSourceDirect.h"

#include <QFile>
#include <algorithm>

namespace xls {
namespace {

using platform::TableSourceError;
using platform::direct::SheetRows;

std::optional<biff::Book> ReadOwnBook(const QString& path, const std::optional<QString>& sheet)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return std::nullopt;
    return biff::ReadBook(file.readAll(), sheet);
}

biff::Sheet* FindSheet(biff::Book& book, const QString& name)
{
    const auto found = std::find_if(book.sheets.begin(), book.sheets.end(),
                                    [&name](const biff::Sheet& s) { return s.name == name; });
    return found == book.sheets.end() ? nullptr : &*found;
}

/// The rows of a sheet that only our reader could open.
class BookRows : public SheetRows {
public:
    BookRows(biff::CellMap cells, bool dates1904) : cells_(std::move(cells)), dates1904_(dates1904)
    {
        for (const auto& [at, cell] : cells_) {
            rows_ = std::max(rows_, qint64(at.first) + 1);
            columns_ = std::max(columns_, int(at.second) + 1);
        }
        next_ = cells_.begin();
    }

    int columnCount() const override { return columns_; }

    bool next(QStringList& cells) override
    {
        if (row_ >= rows_)
            return false;
        cells = QList<QString>(columns_);
        for (; next_ != cells_.end() && next_->first.first == row_; ++next_)
            cells[next_->first.second] = biff::CellText(next_->second, dates1904_);
        ++row_;
        return true;
    }

private:
    biff::CellMap cells_;
    bool dates1904_;
    qint64 rows_ = 0;
    int columns_ = 0;
    qint64 row_ = 0;
    biff::CellMap::const_iterator next_;
};

/// freexl's rows with the cells it leaves empty, formula results above all, taken from
/// our reader. Error values too: freexl shows them as 1.
class FilledRows : public SheetRows {
public:
    FilledRows(std::unique_ptr<SheetRows> rows, biff::CellMap cells, bool dates1904)
        : rows_(std::move(rows)), cells_(std::move(cells)), dates1904_(dates1904)
    {}

    int columnCount() const override { return rows_->columnCount(); }

    bool next(QStringList& cells) override
    {
        if (!rows_->next(cells))
            return false;
        auto at = cells_.lower_bound({row_, 0});
        for (; at != cells_.end() && at->first.first == row_; ++at) {
            const qsizetype column = at->first.second;
            const biff::Cell& cell = at->second;
            if (column < cells.size() &&
                (cell.formula || cell.kind == biff::CellKind::Error || cells[column].isEmpty()))
                cells[column] = biff::CellText(cell, dates1904_);
        }
        ++row_;
        return true;
    }

private:
    std::unique_ptr<SheetRows> rows_;
    biff::CellMap cells_;
    bool dates1904_;
    quint32 row_ = 0;
};

/// The records of a sheet: its first row names the fields.
class SheetCursor : public platform::RecordCursor {
public:
    explicit SheetCursor(std::unique_ptr<SheetRows> rows) : rows_(std::move(rows))
    {
        QStringList heading;
        if (!rows_->next(heading))
            heading = QList<QString>(rows_->columnCount());
        for (qsizetype c = 0; c < heading.size(); ++c) {
            const QString name = heading[c].trimmed();
            fields_ << (name.isEmpty() ? QStringLiteral("F") + QString::number(c + 1) : name);
        }
    }

    const QStringList& fieldNames() const override { return fields_; }
    bool next(QStringList& values) override { return rows_->next(values); }

private:
    std::unique_ptr<SheetRows> rows_;
    QStringList fields_;
};

QString CheckedSheet(const QString& query)
{
    const std::optional<QString> sheet = platform::TableOfRecordSource(query);
    if (!sheet)
        throw TableSourceError("syntax error in query");
    return *sheet;
}

} // namespace

namespace direct {

QStringList SheetNames(const QString& path)
{
    try {
        return platform::direct::WorkbookSheetNames(path);
    } catch (const TableSourceError&) {
        const std::optional<biff::Book> book = ReadOwnBook(path, QString());
        if (!book)
            throw;
        QStringList names;
        for (const biff::Sheet& sheet : book->sheets)
            names << sheet.name;
        return names;
    }
}

std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path, const QString& query)
{
    const QString name = CheckedSheet(query);
    std::optional<biff::Book> book = ReadOwnBook(path, name);
    biff::Sheet* sheet = book ? FindSheet(*book, name) : nullptr;
    std::unique_ptr<SheetRows> rows;
    try {
        rows = platform::direct::OpenSheetRows(path, name);
    } catch (const TableSourceError&) {
        if (!sheet)
            throw;
        return std::make_unique<SheetCursor>(
            std::make_unique<BookRows>(std::move(sheet->cells), book->dates1904));
    }
    if (sheet)
        rows =
            std::make_unique<FilledRows>(std::move(rows), std::move(sheet->cells), book->dates1904);
    return std::make_unique<SheetCursor>(std::move(rows));
}

} // namespace direct

QStringList SheetNames(const QString& path)
{
    platform::IsolatedRead read(
        [&path](platform::ListSink& sink) { sink.send(direct::SheetNames(path)); },
        platform::IsolatedRead::DefaultSilence, platform::HelperLimits::forFile(path));
    return read.nextList();
}

std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path, const QString& query)
{
    (void)CheckedSheet(query);
    return platform::OpenIsolatedRecords(
        [&path, &query](platform::ListSink& sink) {
            platform::SendRecords(sink, *direct::OpenRecords(path, query));
        },
        platform::HelperLimits::forFile(path));
}

} // namespace xls
