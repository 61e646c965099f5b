#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <clocale>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumara-cli"));
    return cli::run(QCoreApplication::arguments().mid(1));
}
