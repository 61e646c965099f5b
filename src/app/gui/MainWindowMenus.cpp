#include "app/gui/FontTableCommands.h"
#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "app/gui/PictureCommands.h"
#include "app/gui/SizeBarCommands.h"
#include "app/gui/SizeTableCommands.h"
#include "browse/FilterTabs.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterMenus.h"
#include "browse/gui/FilterStrip.h"
#include "shared/TextHelpers.h"
#include "tools/gui/FindForm.h"
#include "tools/gui/InfoForm.h"
#include "trees/gui/TreeButtons.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QMenu>

void MainWindow::connectMenus()
{
    connect(menus_->file.options, &QAction::triggered, this, &MainWindow::openOptions);
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
    connect(fileList_, &FileListPanel::archiveEntryProperties, this, &MainWindow::showArchiveEntry);
    filterStrip_ = std::make_unique<FilterStrip>(settings_, prompts_, *fileList_);
    connect(filterStrip_.get(), &FilterStrip::orientationChanged, this, [this] { applyTiling(); });
    connectFindForm(*filterStrip_);
    sizeTables_ = std::make_unique<SizeTableCommands>(settings_, prompts_, escape_, *fileList_,
                                                      [this] { return viewWindow(); });
    connect(this, &MainWindow::folderSizeTableWanted, sizeTables_.get(),
            &SizeTableCommands::FolderSizeTable);
    // "Show size bar" is joined to the view window when the window is made.
    sizeBars_ = new SizeBarCommands(
        settings_, prompts_, *fileList_, [this] { return viewWindow(); }, this);
    new PictureCommands(*this, *menus_->folderTree.pictureThumbnails,
                        *fileList_->menus().files.pictureThumbnails, this);
    new FontTableCommands(
        prompts_, *fileList_, menus_->folderTree.viewFonts,
        [this] {
            const NodeTree::Id id = treeState_.CurrentFolderNode;
            return folderTree_.contains(id) ? WithSlash(folderTree_.key(id)) : QString();
        },
        [this] { return viewWindow(); }, this);
    connect(this, &MainWindow::folderPropertiesWanted, this,
            [this](const QString& folder) { ShowFileProperties(folder, prompts_, this); });

    // The tree buttons and the list share the list's state: each tells the other when
    // it has rebuilt the list.
    connect(fileList_, &FileListPanel::listed, treeButtons_, &TreeButtons::refreshFaces);
    connect(treeButtons_, &TreeButtons::listChanged, fileList_, &FileListPanel::showStatus);
    connect(&filterStrip_->filters(), &FilterTabs::listChanged, treeButtons_,
            &TreeButtons::refreshFaces);
    const FileListMenus::ExpansionMenu& expansion = fileList_->menus().expansion;
    connect(expansion.expandAll, &QAction::triggered, treeButtons_, &TreeButtons::expandAll);
    connect(expansion.collapseAll, &QAction::triggered, treeButtons_, &TreeButtons::collapseAll);
    fillListMenu();
}

void MainWindow::fillListMenu()
{
    const FrameMenus::ListMenu& list = menus_->list;
    connect(list.expandAll, &QAction::triggered, treeButtons_, &TreeButtons::expandAll);
    connect(list.collapseAll, &QAction::triggered, treeButtons_, &TreeButtons::collapseAll);
    // From the menu bar no handler waits for the code: it goes where the pop-up's goes.
    for (QAction* coded : {list.showZipped, list.collapseZipped}) {
        connect(coded, &QAction::triggered, this, [this, coded] {
            fileList_->runAllviewCode(NodeActionKind(MenuCommand::codeOf(coded)));
        });
    }
    list.menu->addMenu(filterStrip_->menus().filter.menu);
}

void MainWindow::connectFindForm(FilterStrip& filterStrip)
{
    // "Filter by contents" opens the find dialog; what it keeps becomes the content
    // part of the filter description.
    auto* findForm = new FindForm(fileList_->state(), settings_, prompts_, escape_, this);
    connect(findForm, &FindForm::listChanged, this, [this, &filterStrip](const QString& content) {
        fileList_->showStatus();
        filterStrip.filters().setContentCriteria(content == QLatin1String("*") ? QString()
                                                                               : content.trimmed());
    });
    // The search works on the list in steps: a listing under way ends first, and input
    // that would change the list meanwhile waits for the search's end.
    findForm->setDeferWhileBusy([this](std::function<void()> apply) {
        return fileList_->deferWhileBusy(std::move(apply));
    });
    connect(findForm, &FindForm::searchStarted, fileList_, &FileListPanel::holdList);
    connect(findForm, &FindForm::searchEnded, fileList_, &FileListPanel::releaseList);
    QAction* byContents = filterStrip.menus().filter.byContents;
    byContents->setEnabled(true);
    connect(byContents, &QAction::triggered, this, [findForm] {
        findForm->setForm(FindForm::Form::ContentFilter);
        findForm->show();
        findForm->raise();
        findForm->activateWindow();
    });
}
