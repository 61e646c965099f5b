#include "view/table/TableViews.h"

#include "formats/XlsWorkbook.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {
constexpr int FieldNameWidth = 26;
constexpr int TypeNameWidth = 12;
constexpr int SheetNumberWidth = 600;
constexpr int SheetColumnWidth = 2000;
constexpr int TypeBoolean = 1;
constexpr int TypeMemo = 12;
// Rows per batch: small enough that the window paints often, large enough that the
// view's updates cost little beside the reading.
constexpr int BatchRecords = 2000;
} // namespace

QString SpreadsheetColumnName(int index)
{
    QString name;
    for (int n = index + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

QString SheetFormatString(int fieldCount)
{
    QStringList headings{QString()};
    for (int i = 0; i < fieldCount; ++i)
        headings << SpreadsheetColumnName(i);
    return headings.join(QLatin1Char('|'));
}

QString FieldTypeName(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("Boolean");
    case 2:
        return QStringLiteral("Byte");
    case 3:
        return QStringLiteral("Integer");
    case 4:
        return QStringLiteral("Long");
    case 5:
        return QStringLiteral("Currency");
    case 6:
        return QStringLiteral("Single");
    case 7:
        return QStringLiteral("Double");
    case 8:
        return QStringLiteral("Date");
    case 10:
        return QStringLiteral("Text");
    case 11:
        return QStringLiteral("LongBinary");
    case 12:
        return QStringLiteral("Memo");
    case 15:
        return QStringLiteral("GUID");
    default:
        return QStringLiteral("unknown");
    }
}

QString FieldLine(const platform::TableField& field)
{
    const QString line = field.name.leftJustified(FieldNameWidth, QLatin1Char(' '));
    const QString type = FieldTypeName(field.type);
    if (field.type == TypeBoolean || field.type == TypeMemo)
        return line + type;
    // The sizes line up in one column after the longest type name.
    return line + type.leftJustified(TypeNameWidth) + QString::number(field.size);
}

QString SheetRecordSource(const QString& sheet)
{
    return QStringLiteral("SELECT * from [") + sheet + QLatin1Char(']');
}

QString TableRecordSource(const QString& table)
{
    return QStringLiteral("SELECT * FROM ") + table;
}

QString TableStatusText(const QString& path, const QString& tempFolder, const QString& name)
{
    QString shown = path;
    if (!tempFolder.isEmpty())
        shown.remove(WithSlash(tempFolder));
    return shown + QLatin1Char('[') + name + QLatin1Char(']');
}

void BuildWorkbookTree(NodeTree& tree, const QString& rootText, const QStringList& sheets)
{
    NodeTreeLock lock(tree);
    tree.clear();
    const NodeTree::Id root = tree.add(NodeTree::None, {}, rootText);
    for (const QString& sheet : sheets)
        tree.add(root, {}, sheet, QStringLiteral("leaf"));
    tree.setExpanded(root, true);
}

void BuildDatabaseTree(NodeTree& tree, const QString& rootText, const platform::Database& db)
{
    NodeTreeLock lock(tree);
    tree.clear();
    const NodeTree::Id root = tree.add(NodeTree::None, {}, rootText);
    for (const QString& table : db.tableNames()) {
        if (table.startsWith(QLatin1String("MSys")))
            continue;
        const NodeTree::Id node = tree.add(root, {}, table, QStringLiteral("leaf"));
        for (const platform::TableField& field : db.fields(table)) {
            if (field.name != QLatin1String("ID"))
                tree.add(node, {}, FieldLine(field), QStringLiteral("leaf"));
        }
        tree.sortChildren(node);
    }
    tree.setExpanded(root, true);
}

GridLoader::GridLoader(Grid& grid, std::unique_ptr<platform::RecordCursor> cursor, Layout layout)
    : grid_(grid), cursor_(std::move(cursor))
{
    const QStringList& fields = cursor_->fieldNames();
    grid_.reset(int(fields.size()) + 1);
    grid_.setFixedCols(1);
    if (layout == Layout::Sheet) {
        grid_.setFormatString(SheetFormatString(int(fields.size())));
        grid_.setColWidth(0, SheetNumberWidth);
        for (int c = 1; c < grid_.cols(); ++c)
            grid_.setColWidth(c, SheetColumnWidth);
        grid_.addItem(QStringLiteral("1\t") + fields.join(QLatin1Char('\t')));
        nextNumber_ = 2;
    } else {
        // Set cell by cell: a field name may hold "|" or start with an alignment mark.
        for (int c = 0; c < int(fields.size()); ++c)
            grid_.setTextMatrix(0, c + 1, fields[c]);
        grid_.setColAlignment(0, Grid::Alignment::Right);
    }
}

bool GridLoader::addBatch(int maxRecords)
{
    for (int i = 0; i < maxRecords; ++i) {
        if (!cursor_->next(values_))
            return false;
        QString row = QString::number(nextNumber_++);
        for (const QString& value : std::as_const(values_))
            row += QLatin1Char('\t') + value.trimmed();
        grid_.addItem(row);
    }
    return true;
}

GridLoad::GridLoad(Grid& grid, QString errorText) : grid_(grid), errorText_(std::move(errorText)) {}

GridLoad::~GridLoad() = default;

std::unique_ptr<GridLoad> GridLoad::openSheet(Grid& grid, const QString& path, const QString& sheet,
                                              Prompts& prompts)
{
    std::unique_ptr<GridLoad> load(new GridLoad(grid, QStringLiteral("unable to open:") +
                                                          LineBreak + path + QLatin1Char('[') +
                                                          sheet + QLatin1Char(']')));
    try {
        load->loader_ = std::make_unique<GridLoader>(
            grid, xls::OpenRecords(path, SheetRecordSource(sheet)), GridLoader::Layout::Sheet);
    } catch (const platform::TableSourceError&) {
        prompts.message(load->errorText_);
        return nullptr;
    }
    return load;
}

std::unique_ptr<GridLoad> GridLoad::openTable(Grid& grid, const QString& database,
                                              const QString& table, const QString& viewFile,
                                              Prompts& prompts)
{
    std::unique_ptr<GridLoad> load(new GridLoad(grid, QStringLiteral("table is empty:") +
                                                          LineBreak + viewFile + QLatin1Char('[') +
                                                          table + QLatin1Char(']')));
    load->table_ = true;
    try {
        // The cursor reads through the database's handle: both live as long as the load.
        load->database_ = std::make_unique<platform::Database>(database);
        load->loader_ = std::make_unique<GridLoader>(
            grid, load->database_->openRecords(TableRecordSource(table)),
            GridLoader::Layout::Table);
    } catch (const platform::TableSourceError&) {
        prompts.message(load->errorText_);
        return nullptr;
    }
    return load;
}

GridLoad::Step GridLoad::step(CancelKey& cancel, Prompts& prompts)
{
    bool more = false;
    try {
        more = loader_->addBatch(BatchRecords);
    } catch (const platform::TableSourceError&) {
        prompts.message(errorText_);
        return Step::Failed;
    }
    if (more && !EscapeDelivered(cancel, prompts))
        return Step::More;
    if (table_)
        grid_.tag = QStringLiteral("MDB");
    return Step::Done;
}

namespace {

/// Runs a load to its end; false when it failed.
bool LoadAll(GridLoad& load, CancelKey& cancel, Prompts& prompts, const BatchShown& shown)
{
    for (;;) {
        const GridLoad::Step step = load.step(cancel, prompts);
        if (step == GridLoad::Step::Failed)
            return false;
        if (shown)
            shown();
        if (step == GridLoad::Step::Done)
            return true;
    }
}

} // namespace

bool ShowSheet(Grid& grid, const QString& path, const QString& sheet, CancelKey& cancel,
               Prompts& prompts, const BatchShown& shown)
{
    const std::unique_ptr<GridLoad> load = GridLoad::openSheet(grid, path, sheet, prompts);
    return load && LoadAll(*load, cancel, prompts, shown);
}

bool ShowTable(Grid& grid, const QString& database, const QString& table, const QString& viewFile,
               CancelKey& cancel, Prompts& prompts, const BatchShown& shown)
{
    const std::unique_ptr<GridLoad> load =
        GridLoad::openTable(grid, database, table, viewFile, prompts);
    return load && LoadAll(*load, cancel, prompts, shown);
}
