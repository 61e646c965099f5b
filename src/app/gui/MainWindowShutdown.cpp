#include "app/TempFolder.h"
#include "app/gui/MainWindow.h"
#include "view/gui/ViewWindow.h"

#include <QCloseEvent>

void MainWindow::exitCommand()
{
    settings_.folderHistory = history_.folders();
    if (!SaveSettingsOnExitCommand(settings_, windowState()))
        prompts_.message(QStringLiteral("could not save options to ") + settings_.profilePath);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    unloadWindow();
    QMainWindow::closeEvent(event);
}

void MainWindow::unloadWindow()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    settings_.folderHistory = history_.folders();
    if (!SaveSettingsAtExit(settings_, windowState(), prompts_))
        prompts_.message(QStringLiteral("could not save options to ") + settings_.profilePath);
    if (viewWindow_)
        viewWindow_->CancelView();
    DeleteTempFolder(settings_.tempFolder);
    if (viewWindow_)
        viewWindow_->close();
}
