#include "platform/TableSourceDirect.h"

// mdbtools uses glib types without including glib itself.
#include <QFile>
#include <algorithm>
#include <glib.h>
#include <mdbtools.h>

namespace platform::direct {

struct Database::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

struct TableDefDeleter {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefDeleter>;

/// The catalogue entries of the user and system tables.
std::vector<MdbCatalogEntry*> TableEntries(MdbHandle* mdb)
{
    std::vector<MdbCatalogEntry*> entries;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE)
            entries.push_back(entry);
    }
    return entries;
}

TableDefPtr ReadTable(MdbHandle* mdb, const QString& name)
{
    for (MdbCatalogEntry* entry : TableEntries(mdb)) {
        if (QString::fromUtf8(entry->object_name) != name)
            continue;
        TableDefPtr table(mdb_read_table(entry));
        // libmdb walks the usage map without checking it; a damaged file may have none.
        if (!table || !table->usage_map || table->map_sz == 0 || !mdb_read_columns(table.get()))
            throw TableSourceError("unreadable table");
        return table;
    }
    return nullptr;
}

MdbColumn* ColumnAt(MdbTableDef* table, unsigned int i)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

int FieldSize(MdbHandle* mdb, const MdbColumn* column)
{
    switch (column->col_type) {
    case MDB_MEMO:
    case MDB_OLE:
        return 0;
    case MDB_TEXT: // Jet 4 stores two bytes per character
        return mdb->f->jet_version == MDB_VER_JET3 ? column->col_size : column->col_size / 2;
    default:
        return column->col_size;
    }
}

bool HasText(int type)
{
    return (type >= MDB_BOOL && type <= MDB_MEMO) || type == MDB_REPID || type == MDB_NUMERIC;
}

/// The rows of one table, every value bound as text.
class TableCursor : public RecordCursor {
public:
    TableCursor(MdbHandle* mdb, TableDefPtr table) : table_(std::move(table))
    {
        const unsigned int count = table_->num_cols;
        buffers_.assign(count, std::vector<char>(mdb->bind_size + 1, 0));
        lengths_.assign(count, 0);
        for (unsigned int i = 0; i < count; ++i) {
            MdbColumn* column = ColumnAt(table_.get(), i);
            fields_ << QString::fromUtf8(column->name);
            types_.push_back(column->col_type);
            // libmdb cannot convert other types and complains on every row.
            if (HasText(column->col_type))
                mdb_bind_column(table_.get(), int(i) + 1, buffers_[i].data(), &lengths_[i]);
        }
        mdb_rewind_table(table_.get());
    }

    const QStringList& fieldNames() const override { return fields_; }

    bool next(QStringList& values) override
    {
        for (int& length : lengths_)
            length = 0;
        if (!mdb_fetch_row(table_.get()))
            return false;
        values.clear();
        for (size_t i = 0; i < buffers_.size(); ++i) {
            if (types_[i] == MDB_OLE || !HasText(types_[i])) { // pictures, documents, unknowns
                values << QString();
                continue;
            }
            const int length = std::clamp(lengths_[i], 0, int(buffers_[i].size()) - 1);
            values << QString::fromUtf8(buffers_[i].data(), length);
        }
        return true;
    }

private:
    TableDefPtr table_;
    std::vector<std::vector<char>> buffers_;
    std::vector<int> lengths_;
    std::vector<int> types_;
    QStringList fields_;
};

} // namespace

Database::Database(const QString& path) : handle_(std::make_unique<Handle>())
{
    handle_->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle_->mdb || !mdb_read_catalog(handle_->mdb, MDB_TABLE))
        throw TableSourceError("unable to open database");
    mdb_set_date_fmt(handle_->mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_words(handle_->mdb);
}

Database::~Database() = default;

QStringList Database::tableNames() const
{
    QStringList names;
    for (MdbCatalogEntry* entry : TableEntries(handle_->mdb))
        names << QString::fromUtf8(entry->object_name);
    return names;
}

std::vector<TableField> Database::fields(const QString& table) const
{
    std::vector<TableField> fields;
    TableDefPtr def = ReadTable(handle_->mdb, table);
    if (!def)
        return fields;
    for (unsigned int i = 0; i < def->num_cols; ++i) {
        const MdbColumn* column = ColumnAt(def.get(), i);
        fields.push_back(
            {QString::fromUtf8(column->name), column->col_type, FieldSize(handle_->mdb, column)});
    }
    return fields;
}

std::unique_ptr<RecordCursor> Database::openRecords(const QString& query)
{
    const std::optional<QString> table = TableOfRecordSource(query);
    if (!table)
        throw TableSourceError("syntax error in query");
    TableDefPtr def = ReadTable(handle_->mdb, *table);
    if (!def)
        throw TableSourceError("no such table");
    return std::make_unique<TableCursor>(handle_->mdb, std::move(def));
}

} // namespace platform::direct
