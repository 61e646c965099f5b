#include "cli/FilterOptions.h"

#include <optional>

namespace cli {
namespace {

std::optional<QString> value(const QStringList& args, qsizetype& i, QTextStream& err)
{
    if (i + 1 >= args.size()) {
        err << "lumara-cli: " << args[i] << " needs a value\n";
        return std::nullopt;
    }
    return args[++i];
}

/// "OP N" with OP one of lt, eq, gt and N a whole number of at least 0.
bool comparison(const QStringList& args, qsizetype& i, QString& number, Comparison& option,
                QTextStream& err)
{
    const QString name = args[i];
    if (i + 2 >= args.size()) {
        err << "lumara-cli: " << name << " needs OP N (OP one of lt, eq, gt)\n";
        return false;
    }
    const QString op = args[++i];
    const QString n = args[++i];
    static const QStringList ops{"lt", "eq", "gt"};
    bool ok = false;
    const qint64 v = n.toLongLong(&ok);
    if (!ops.contains(op) || !ok || v < 0) {
        err << "lumara-cli: " << name << " takes OP N (OP one of lt, eq, gt), not " << op << " "
            << n << "\n";
        return false;
    }
    option = op == u"lt" ? Comparison::Less : op == u"eq" ? Comparison::Equal : Comparison::Greater;
    number = n;
    return true;
}

} // namespace

QString filterOptionsUsage()
{
    return QStringLiteral("[--category NAME] [--other] [--name-patterns P] "
                          "[--name-length lt|eq|gt N] [--size lt|eq|gt N] "
                          "[--attr Hidden,Normal,ReadOnly,System]");
}

int parseFilterOption(const QStringList& args, qsizetype& i, FilterOptions& options,
                      QTextStream& err)
{
    const QString& arg = args[i];
    if (arg == u"--category") {
        const auto v = value(args, i, err);
        if (!v)
            return -1;
        options.category = *v;
    } else if (arg == u"--other") {
        options.other = true;
    } else if (arg == u"--name-patterns") {
        const auto v = value(args, i, err);
        if (!v)
            return -1;
        options.fields.fileName = *v;
        options.other = true;
    } else if (arg == u"--name-length") {
        if (!comparison(args, i, options.fields.nameLength, options.fields.nameLengthOption, err))
            return -1;
        options.other = true;
    } else if (arg == u"--size") {
        if (!comparison(args, i, options.fields.fileSize, options.fields.fileSizeOption, err))
            return -1;
        options.other = true;
    } else if (arg == u"--attr") {
        const auto v = value(args, i, err);
        if (!v)
            return -1;
        for (const QString& a : v->split(u',', Qt::SkipEmptyParts)) {
            const QString t = a.trimmed();
            if (t.compare(u"Hidden", Qt::CaseInsensitive) == 0)
                options.fields.hidden = true;
            else if (t.compare(u"Normal", Qt::CaseInsensitive) == 0)
                options.fields.normal = true;
            else if (t.compare(u"ReadOnly", Qt::CaseInsensitive) == 0)
                options.fields.readOnly = true;
            else if (t.compare(u"System", Qt::CaseInsensitive) == 0)
                options.fields.system = true;
            else {
                err << "lumara-cli: --attr takes Hidden, Normal, ReadOnly, System, not " << t
                    << "\n";
                return -1;
            }
        }
        options.other = true;
    } else {
        return 0;
    }
    return 1;
}

bool asksForFilters(const QStringList& args)
{
    QString ignored;
    QTextStream quiet(&ignored);
    FilterOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        qsizetype at = i; // every word is looked at, a value of another option too
        if (parseFilterOption(args, at, options, quiet) != 0)
            return true;
    }
    return false;
}

} // namespace cli
