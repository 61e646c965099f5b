#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

QString MainWindow::menuFolderKey() const
{
    const NodeTree::Id node = treeState_.CurrentFolderNode;
    return folderTree_.contains(node) ? folderTree_.key(node) : QString();
}

QAction& MainWindow::folderBasketItem()
{
    return *menus_->folderTree.addToBasket;
}

FilterTabs* MainWindow::filterTabs()
{
    return filterStrip_ ? &filterStrip_->filters() : nullptr;
}

const FileList& MainWindow::listedFiles() const
{
    return fileList_->state();
}

void MainWindow::showThumbnails(const QStringList& pictures)
{
    ViewWindow* view = viewWindow();
    view->show();
    view->raise();
    if (PictureSoundViews* views = PictureSoundViews::of(view))
        views->ShowThumbnails(pictures);
}

void MainWindow::closeView()
{
    if (viewWindow_)
        viewWindow_->CloseView();
}
