#include "platform/TableSource.h"

#include "platform/TableSourceDirect.h"

#include <QHash>

// freexl crashes and libmdb loops on some damaged files, so every read runs in a helper
// program; its death or silence is an unreadable file like any other.
namespace platform {

const QString SheetsRequest = QStringLiteral("sheets");
const QString SheetRecordsRequest = QStringLiteral("sheet-records");

namespace {

// The requests the helper answers: an operation and its file, then a query or table name.
const QString TablesRequest = QStringLiteral("tables");
const QString FieldsRequest = QStringLiteral("fields");
const QString RecordsRequest = QStringLiteral("records");

/// Records a helper sends: the field names first, then one list for each record.
class HelperCursor : public RecordCursor {
public:
    HelperCursor(const QStringList& request, const HelperLimits& limits)
        : read_(request, IsolatedRead::DefaultSilence, limits), fields_(read_.nextList())
    {}

    const QStringList& fieldNames() const override { return fields_; }

    bool next(QStringList& values) override
    {
        std::optional<QStringList> record = read_.next();
        if (!record)
            return false;
        values = std::move(*record);
        return true;
    }

private:
    IsolatedRead read_;
    QStringList fields_;
};

QString CheckedTable(const QString& query)
{
    const std::optional<QString> table = TableOfRecordSource(query);
    if (!table)
        throw TableSourceError("syntax error in query");
    return *table;
}

/// Fields travel as name, type and size, three strings each.
QStringList FieldTexts(const std::vector<TableField>& fields)
{
    QStringList texts;
    for (const TableField& field : fields)
        texts << field.name << QString::number(field.type) << QString::number(field.size);
    return texts;
}

std::vector<TableField> FieldsOfTexts(const QStringList& texts)
{
    std::vector<TableField> fields;
    for (qsizetype i = 0; i + 2 < texts.size(); i += 3)
        fields.push_back({texts[i], texts[i + 1].toInt(), texts[i + 2].toInt()});
    return fields;
}

} // namespace

void SendRecords(ListSink& sink, RecordCursor& cursor)
{
    sink.send(cursor.fieldNames());
    QStringList values;
    while (cursor.next(values))
        sink.send(values);
}

std::unique_ptr<RecordCursor> OpenIsolatedRecords(const QStringList& request,
                                                  const HelperLimits& limits)
{
    return std::make_unique<HelperCursor>(request, limits);
}

struct Database::Handle {
    QString path;
    QStringList tables;
    QHash<QString, std::vector<TableField>> fields; // tables read so far
};

Database::Database(const QString& path) : handle_(std::make_unique<Handle>())
{
    handle_->path = path;
    IsolatedRead read({TablesRequest, path}, IsolatedRead::DefaultSilence,
                      HelperLimits::forFile(path));
    handle_->tables = read.nextList();
}

Database::~Database() = default;

QStringList Database::tableNames() const
{
    return handle_->tables;
}

std::vector<TableField> Database::fields(const QString& table) const
{
    const auto known = handle_->fields.constFind(table);
    if (known != handle_->fields.cend())
        return *known;
    const QString& path = handle_->path;
    IsolatedRead read({FieldsRequest, path, table}, IsolatedRead::DefaultSilence,
                      HelperLimits::forFile(path));
    std::vector<TableField> fields = FieldsOfTexts(read.nextList());
    handle_->fields.insert(table, fields);
    return fields;
}

std::unique_ptr<RecordCursor> Database::openRecords(const QString& query)
{
    (void)CheckedTable(query);
    return std::make_unique<HelperCursor>(QStringList{RecordsRequest, handle_->path, query},
                                          HelperLimits::forFile(handle_->path));
}

void direct::AnswerTableRequest(ListSink& sink, const QStringList& request)
{
    const QString operation = request.value(0);
    const QString path = request.value(1);
    const QString name = request.value(2);
    if (operation == TablesRequest && request.size() == 2)
        sink.send(direct::Database(path).tableNames());
    else if (operation == FieldsRequest && request.size() == 3)
        sink.send(FieldTexts(direct::Database(path).fields(name)));
    else if (operation == RecordsRequest && request.size() == 3) {
        direct::Database db(path);
        SendRecords(sink, *db.openRecords(name));
    } else
        throw TableSourceError("unknown request to the table reader");
}

} // namespace platform
