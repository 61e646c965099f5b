#include "app/StartupTargets.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "shared/TextHelpers.h"
#include "tools/gui/InfoForm.h"

#include <QLabel>
#include <QStatusBar>

void MainWindow::showItems(const QStringList& paths, ItemAction action)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!platform::pathExists(paths[i])) {
            statusBar()->showMessage(platform::displayFileName(paths[i]) +
                                     QStringLiteral(" - no such file or folder"));
            continue;
        }
        const OpenTarget target = OpenTargetOf(paths[i]);
        if (i + 1 < paths.size()) {
            if (platform::isFolder(target.folder))
                RecordFolder(target.folder);
        } else {
            openFolderPath(target.folder,
                           [this, name = target.selectName] { selectListedFile(name); });
        }
        if (action != ItemAction::Properties)
            continue;
        if (target.selectName.isEmpty())
            Q_EMIT folderPropertiesWanted(target.folder);
        else
            ShowFileProperties(paths[i], prompts_, this);
    }
}

bool MainWindow::openFolderPath(const QString& path, std::function<void()> then)
{
    if (!platform::isFolder(path)) {
        statusBar()->showMessage(platform::displayFileName(WithSlash(path)) +
                                 QStringLiteral(" - no such folder"));
        return false;
    }
    // Folder keys and the history hold folders without the closing slash ("/" aside).
    const QString bare = path.size() > 1 && path.endsWith(u'/') ? path.chopped(1) : path;
    loadTreeFolders(bare);
    listFolderPath(bare, std::move(then));
    return true;
}

void MainWindow::selectListedFile(const QString& name)
{
    if (name.isEmpty())
        return;
    const NodeTree& list = fileList_->state().tree();
    const NodeTree::Id id = list.find(fileList_->state().setup().currentFolder + name);
    NodeTreeView* view = fileList_->fileList();
    if (id == NodeTree::None || !view)
        return;
    const QModelIndex index = view->nodeModel()->revealIndex(id);
    if (!index.isValid())
        return;
    view->setCurrentIndex(index);
    view->scrollTo(index);
}
