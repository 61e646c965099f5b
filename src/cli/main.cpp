// lumara-cli's front: the archive commands and `find` run here, on Qt Core alone, so that
// listing an archive or searching files starts as fast as a small tool; every other
// command, and a find that asks for filter tabs, runs in lumara-cli-all, which carries the
// drawing, media and table libraries.
#include "cli/ArchiveCommand.h"
#include "cli/FilterOptions.h"
#include "cli/FindCommand.h"
#include "platform/FileNames.h"
#include "platform/ReplaceProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

namespace cli {

// The filter tabs are left out of this program: a find that asks for them is handed to
// lumara-cli-all before it lists anything, so this is reached only if that check missed.
bool applyFilterOptions(const FilterOptions& options, FileList& /*state*/, Settings& /*settings*/,
                        QTextStream& err)
{
    if (options.category.isEmpty() && !options.other)
        return true;
    err << "lumara-cli: the filter options are run by lumara-cli-all\n";
    return false;
}

} // namespace cli

namespace {

using FrontCommand = int (*)(const QStringList&, QTextStream&, QTextStream&);

FrontCommand frontCommandNamed(const char* name)
{
    const QByteArray n(name);
    if (n == "archive")
        return cli::archiveListing;
    if (n == "unzip")
        return cli::unzipEntry;
    if (n == "zip")
        return cli::zipFiles;
    if (n == "find")
        return cli::findFiles;
    return nullptr;
}

/// Where lumara-cli-all lives: beside this program in a build, or in the library
/// folder of an installation.
QString allCommandsProgram()
{
    const QString here = platform::ExecutableFolder();
    const QString beside = here + QStringLiteral("/lumara-cli-all");
    if (QFileInfo(beside).isExecutable())
        return beside;
    return here + QStringLiteral("/" LUMARA_CLI_ALL_FROM_BINDIR "/lumara-cli-all");
}

int runAllCommands(char** argv)
{
    const QString program = allCommandsProgram();
    const QString reason = platform::ReplaceProcess(program, argv);
    std::fprintf(stderr, "lumara-cli: cannot start %s: %s\n", qPrintable(program),
                 qPrintable(reason));
    return 127;
}

} // namespace

int main(int argc, char** argv)
{
    const FrontCommand command = argc > 1 ? frontCommandNamed(argv[1]) : nullptr;
    if (!command)
        return runAllCommands(argv);
    std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumara-cli"));
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << platform::decodeFileName(argv[i]); // a path argument keeps its exact bytes
    if (command == cli::findFiles && cli::asksForFilters(args))
        return runAllCommands(argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return command(args, out, err);
}
