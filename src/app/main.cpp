#include "app/StartupTargets.h"
#include "app/gui/FileManagerService.h"
#include "app/gui/MainWindow.h"
#include "controls/gui/ThemeIcons.h"
#include "platform/FileNames.h"
#include "platform/HeapPages.h"
#include "platform/SystemInfo.h"
#include "view/picture/ThumbnailPages.h"

#include <QApplication>
#include <QDir>
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
    // The arguments' own bytes: a folder's name need not be UTF-8.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << platform::decodeFileName(argv[i]);
    const StartupRequest request = ParseStartupArguments(args, QDir::currentPath());
    for (const QString& arg : request.rejected)
        std::fprintf(stderr, "lumara: not a local file or folder: %s\n",
                     platform::encodeFileName(arg).constData());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumara"));
    ThemeIcons::UseFallbackTheme();
    if (!request.newWindow && !request.paths.isEmpty() && HandToRunningLumara(request.paths))
        return 0;
    MainWindow window;
    window.start();
    const FileManagerService::Window shows{
        [&window](const QStringList& paths) {
            window.showItems(paths, MainWindow::ItemAction::Show);
        },
        [&window](const QStringList& paths) {
            window.showItems(paths, MainWindow::ItemAction::Properties);
        }};
    (new FileManagerService(shows, &window))->registerOnSessionBus();
    if (!request.paths.isEmpty())
        window.showItems(request.paths, MainWindow::ItemAction::Show);
    const int code = QApplication::exec();
    // A thumbnail page closed midway leaves its pictures decoding: the program must not
    // end under them.
    WaitForThumbnailDecoders(std::chrono::seconds(2));
    return code;
}
