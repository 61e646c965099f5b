#include "app/gui/MainWindow.h"
#include "app/gui/PopupMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "trees/gui/SizeTableCommands.h"
#include "view/gui/ViewWindow.h"

#include <QAction>
#include <QMenu>

void MainWindow::connectMenus()
{
    connect(menus_->file.help, &QAction::triggered, this, &MainWindow::showHelp);
    connect(menus_->file.about, &QAction::triggered, this, [this] {
        prompts_.message(QStringLiteral("Lumara\r\nA fast file browser for the Linux desktop."),
                         QStringLiteral("About Lumara"));
    });
    connect(menus_->file.exit, &QAction::triggered, this, &MainWindow::exitCommand);

    connect(menus_->window.defaultLayout, &QAction::triggered, this, &MainWindow::windowDefault);
    connect(menus_->window.tile, &QAction::triggered, this, &MainWindow::toggleTiling);
    connect(menus_->window.minimise, &QAction::triggered, this, [this] {
        showMinimized();
        if (viewWindow_)
            viewWindow_->showMinimized();
    });
    connect(menus_->window.maximise, &QAction::triggered, this, [this] {
        showMaximized();
        if (viewWindow_)
            viewWindow_->showMaximized();
    });
}

void MainWindow::connectFileList()
{
    connect(fileList_, &FileListPanel::command, this, &MainWindow::handleFileCommand);
    auto* filterStrip = new FilterStrip(settings_, prompts_, *fileList_, *menus_, this);
    connect(filterStrip, &FilterStrip::orientationChanged, this, [this] { applyTiling(); });
    auto* sizeTables = new SizeTableCommands(
        settings_, prompts_, escape_, *fileList_, *menus_, [this] { return viewWindow(); }, this);
    folderSizeTableHook = [sizeTables](const QString& folder) {
        sizeTables->FolderSizeTable(folder);
    };
}
