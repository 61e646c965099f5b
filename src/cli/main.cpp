// lumara-cli's front: the archive commands run here, on Qt Core alone, so listing an
// archive starts as fast as a small tool; every other command runs in lumara-cli-all,
// which carries the drawing, media and table libraries.
#include "cli/ArchiveCommand.h"
#include "platform/FileNames.h"
#include "platform/ReplaceProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

namespace {

using ArchiveCommand = int (*)(const QStringList&, QTextStream&, QTextStream&);

ArchiveCommand archiveCommandNamed(const char* name)
{
    const QByteArray n(name);
    if (n == "archive")
        return cli::archiveListing;
    if (n == "unzip")
        return cli::unzipEntry;
    if (n == "zip")
        return cli::zipFiles;
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

} // namespace

int main(int argc, char** argv)
{
    const ArchiveCommand command = argc > 1 ? archiveCommandNamed(argv[1]) : nullptr;
    if (!command) {
        const QString program = allCommandsProgram();
        const QString reason = platform::ReplaceProcess(program, argv);
        std::fprintf(stderr, "lumara-cli: cannot start %s: %s\n", qPrintable(program),
                     qPrintable(reason));
        return 127;
    }
    std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumara-cli"));
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << platform::decodeFileName(argv[i]); // a path argument keeps its exact bytes
    QTextStream out(stdout);
    QTextStream err(stderr);
    return command(args, out, err);
}
