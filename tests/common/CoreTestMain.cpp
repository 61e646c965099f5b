#include "common/QtWarnings.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Pictures, fonts and MIME lookups need a Gui application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LUMARA_TABLE_HELPER"))
        qputenv("LUMARA_TABLE_HELPER", LUMARA_TABLE_HELPER);
    // Qt warns without a runtime folder, and warnings fail tests.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    std::setlocale(LC_ALL, "C.UTF-8");
    InstallQtWarningCheck();
    const MachineQtWarnings machine;
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    if (QtWarningsOutsideTests()) {
        std::fputs("Qt warned outside the tests (above)\n", stderr);
        return 1;
    }
    return failed;
}
