#include "cli/CliCommands.h"
#include "platform/HeapPages.h"

#include <QCoreApplication>
#include <clocale>

int main(int argc, char** argv)
{
    platform::preferLargeHeapPages();
    std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumara-cli"));
    return cli::run(QCoreApplication::arguments().mid(1));
}
