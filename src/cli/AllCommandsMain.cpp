#include "cli/CliCommands.h"
#include "platform/FileNames.h"
#include "platform/HeapPages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    platform::preferLargeHeapPages();
    std::setlocale(LC_ALL, "C.UTF-8");
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << platform::decodeFileName(argv[i]); // a path argument keeps its exact bytes
    // Drawing and media need a Gui application; it never needs a display here.
    std::unique_ptr<QCoreApplication> app;
    if (cli::needsGuiApplication(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("lumara-cli"));
    return cli::run(args);
}
