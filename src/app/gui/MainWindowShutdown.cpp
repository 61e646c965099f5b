#include "app/FolderHistory.h"
#include "app/TempFolder.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FilterStrip.h"
#include "controls/gui/HistoryListBox.h"
#include "view/window/gui/ViewWindow.h"

#include <QCloseEvent>

void MainWindow::profileNotSaved()
{
    prompts_.message(QStringLiteral("could not save options to ") + settings_.profilePath);
    if (filterStrip_)
        filterStrip_->keepDesignUnsaved();
}

void MainWindow::exitCommand()
{
    settings_.folderHistory = HistoryFolders(folderHistoryBox_->model());
    if (!SaveSettingsOnExitCommand(settings_, windowState()))
        profileNotSaved();
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
    settings_.folderHistory = HistoryFolders(folderHistoryBox_->model());
    if (!SaveSettingsAtExit(settings_, windowState(), prompts_))
        profileNotSaved();
    if (viewWindow_)
        viewWindow_->CancelView();
    DeleteTempFolder(settings_.workFolder);
    if (viewWindow_)
        viewWindow_->close();
}
