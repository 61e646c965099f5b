#include "platform/TableSourceDirect.h"

#include <QFile>
#include <freexl.h>

namespace platform::direct {
namespace {

class Workbook {
public:
    explicit Workbook(const QString& path)
    {
        if (freexl_open(QFile::encodeName(path).constData(), &handle_) != FREEXL_OK) {
            close();
            throw TableSourceError("unable to open workbook");
        }
    }
    ~Workbook() { close(); }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    [[nodiscard]] const void* handle() const { return handle_; }

    [[nodiscard]] QStringList sheetNames() const
    {
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            throw TableSourceError("unreadable workbook");
        QStringList names;
        for (unsigned short i = 0; i < count; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle_, i, &name) != FREEXL_OK || !name)
                throw TableSourceError("unreadable sheet name");
            names << QString::fromUtf8(name);
        }
        return names;
    }

private:
    void close()
    {
        if (handle_)
            freexl_close(handle_);
        handle_ = nullptr;
    }

    const void* handle_ = nullptr;
};

QString CellText(const void* handle, unsigned int row, unsigned short col)
{
    FreeXL_CellValue cell{};
    if (freexl_get_cell_value(handle, row, col, &cell) != FREEXL_OK)
        throw TableSourceError("unreadable cell");
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return QString::number(cell.value.double_value, 'g', 15);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
    default:
        return {};
    }
}

/// The rows of one sheet, from its first.
class FreexlRows : public SheetRows {
public:
    FreexlRows(const QString& path, const QString& sheet) : book_(path)
    {
        const qsizetype index = book_.sheetNames().indexOf(sheet);
        if (index < 0 || freexl_select_active_worksheet(
                             book_.handle(), static_cast<unsigned short>(index)) != FREEXL_OK)
            throw TableSourceError("no such sheet");
        if (freexl_worksheet_dimensions(book_.handle(), &rows_, &cols_) != FREEXL_OK)
            throw TableSourceError("unreadable sheet");
    }

    int columnCount() const override { return cols_; }

    bool next(QStringList& cells) override
    {
        if (row_ >= rows_)
            return false;
        cells.clear();
        for (unsigned short c = 0; c < cols_; ++c)
            cells << CellText(book_.handle(), row_, c);
        ++row_;
        return true;
    }

private:
    Workbook book_;
    unsigned int rows_ = 0;
    unsigned short cols_ = 0;
    unsigned int row_ = 0;
};

} // namespace

QStringList WorkbookSheetNames(const QString& path)
{
    return Workbook(path).sheetNames();
}

std::unique_ptr<SheetRows> OpenSheetRows(const QString& path, const QString& sheet)
{
    return std::make_unique<FreexlRows>(path, sheet);
}

} // namespace platform::direct
