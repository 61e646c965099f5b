#include "app/gui/MainWindow.h"
#include "platform/HeapPages.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    const bool hasDisplay = !qEnvironmentVariableIsEmpty("DISPLAY") ||
                            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                            !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!hasDisplay) {
        std::fprintf(stderr,
                     "lumara: no display found (DISPLAY is not set); to run without a screen "
                     "use: xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "lumara");
        return 1;
    }
    if (platform::runningAsRoot())
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    platform::preferLargeHeapPages(platform::HeapUse::LongRun);
    std::setlocale(LC_ALL, "C.UTF-8");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumara"));
    MainWindow window;
    window.start();
    return QApplication::exec();
}
