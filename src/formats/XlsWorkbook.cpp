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

/// The rows of a sheet as our reader read them.
class BookRows : public SheetRows {
public:
    BookRows(biff::Sheet sheet, bool dates1904) : sheet_(std::move(sheet)), dates1904_(dates1904)
    {
        next_ = sheet_.cells.cbegin();
    }

    int columnCount() const override { return int(sheet_.columns); }

    bool next(QStringList& cells) override
    {
        if (row_ >= sheet_.rows)
            return false;
        cells = QList<QString>(sheet_.columns);
        for (; next_ != sheet_.cells.cend() && next_->row == row_; ++next_)
            cells[next_->column] = biff::CellText(next_->cell, dates1904_);
        ++row_;
        return true;
    }

private:
    biff::Sheet sheet_;
    bool dates1904_;
    quint32 row_ = 0;
    std::vector<biff::PlacedCell>::const_iterator next_;
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

// Our reader comes first: freexl works out every date cell by counting days one by one,
// so a sheet of many dates kept the helper busy past its silence limit. freexl stays for
// the workbooks our reader cannot read.

QStringList SheetNames(const QString& path)
{
    // The names only: no sheet is called "", so no cells are read.
    const std::optional<biff::Book> book = ReadOwnBook(path, QString());
    if (!book || book->sheets.empty())
        return platform::direct::WorkbookSheetNames(path);
    QStringList names;
    for (const biff::Sheet& sheet : book->sheets)
        names << sheet.name;
    return names;
}

std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path, const QString& query)
{
    const QString name = CheckedSheet(query);
    std::optional<biff::Book> book = ReadOwnBook(path, name);
    if (biff::Sheet* sheet = book ? FindSheet(*book, name) : nullptr)
        return std::make_unique<SheetCursor>(
            std::make_unique<BookRows>(std::move(*sheet), book->dates1904));
    return std::make_unique<SheetCursor>(platform::direct::OpenSheetRows(path, name));
}

} // namespace direct

QStringList SheetNames(const QString& path)
{
    platform::IsolatedRead read({platform::SheetsRequest, path},
                                platform::IsolatedRead::DefaultSilence,
                                platform::HelperLimits::forFile(path));
    return read.nextList();
}

std::unique_ptr<platform::RecordCursor> OpenRecords(const QString& path, const QString& query)
{
    (void)CheckedSheet(query);
    return platform::OpenIsolatedRecords({platform::SheetRecordsRequest, path, query},
                                         platform::HelperLimits::forFile(path));
}

} // namespace xls
