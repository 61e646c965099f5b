#include "cli/CliCommands.h"

#include "cli/DrivesCommand.h"
#include "cli/FilterOptions.h"
#include "cli/InfoCommand.h"
#include "cli/KindCommand.h"
#include "cli/ListCommand.h"
#include "cli/StatsCommand.h"
#include "cli/TreeOptions.h"
#include "shared/TextHelpers.h"

#include <cmath>
#include <cstdio>

namespace cli {
namespace {

int sizeText(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << "lumara-cli sizetext: give at least one size in bytes\n";
        return 2;
    }
    for (const QString& arg : args) {
        bool ok = false;
        const double size = arg.toDouble(&ok);
        if (!ok || !std::isfinite(size) || size < 0) {
            err << "lumara-cli sizetext: not a size in bytes: " << arg << "\n";
            return 2;
        }
        out << SizeText(size) << "\n";
    }
    return 0;
}

void printHelp(QTextStream& out)
{
    out << "usage: lumara-cli COMMAND [ARGUMENTS]\n\n"
           "Runs Lumara's file-listing logic without a window.\n\ncommands:\n";
    for (const Command& c : commands())
        out << "  " << c.usage << "\n";
    out << "  --help                      this text\n";
}

} // namespace

const QList<Command>& commands()
{
    static const QList<Command> all{
        {QStringLiteral("sizetext"),
         QStringLiteral("sizetext N...                one size text per line"), sizeText},
        {QStringLiteral("list"),
         QStringLiteral("list [--pattern P] [--hidden] ") + treeOptionsUsage() +
             QStringLiteral(" ") + filterOptionsUsage() +
             QStringLiteral(" FOLDER  the folder's file list or file tree"),
         listFolder},
        {QStringLiteral("stats"),
         QStringLiteral("stats [list options] FOLDER  the size table of the tree's root, "
                        "TAB-separated"),
         sizeStatistics},
        {QStringLiteral("info"),
         QStringLiteral("info FILE                    the file's properties, one per line"),
         fileInfo},
        {QStringLiteral("drives"),
         QStringLiteral("drives                       mounted volumes: key, kind, text (TABs)"),
         listDrives},
        {QStringLiteral("kind"),
         QStringLiteral("kind NAME...                 each name's view kind (FileKind)"),
         fileKinds},
    };
    return all;
}

int run(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    for (const Command& c : commands()) {
        if (c.name == args.first())
            return c.run(args.mid(1), out, err);
    }
    err << "lumara-cli: unknown command: " << args.first() << " (see lumara-cli --help)\n";
    return 2;
}

} // namespace cli
