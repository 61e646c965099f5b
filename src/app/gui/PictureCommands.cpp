#include "app/gui/PictureCommands.h"

#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "shared/TextHelpers.h"
#include "view/picture/PictureFolder.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>

PictureCommands::PictureCommands(MainWindow& window) : QObject(&window), window_(window)
{
    QAction* folderItem = window.menus().tvwview.pictureThumbnails;
    folderItem->setEnabled(true);
    connect(folderItem, &QAction::triggered, this, [this] {
        // The item acts on the folder node the menu was opened on.
        const NodeTree::Id node = window_.folderTreeState().CurrentFolderNode;
        if (window_.folderTree().contains(node))
            FolderThumbnails(WithSlash(window_.folderTree().key(node)));
    });
    QAction* listItem = window.fileListPanel()->menus().files.pictureThumbnails;
    listItem->setEnabled(true);
    connect(listItem, &QAction::triggered, this, &PictureCommands::FileTreeThumbnails);
}

void PictureCommands::FolderThumbnails(const QString& folder)
{
    show(PictureFilesOfFolder(folder, window_.settings()));
}

void PictureCommands::FileTreeThumbnails()
{
    const FileList& state = window_.fileListPanel()->state();
    // The basket's pictures are the basket's own command.
    if (state.setup().currentFolder.isEmpty() || state.setup().showsPlaceholder) {
        window_.prompts().message(QStringLiteral("There are no picture files"));
        return;
    }
    QStringList paths;
    for (int i = 1; i < state.listedNames().ListCount(); ++i)
        paths << state.setup().currentFolder + state.listedNames().list(i);
    const QStringList pictures = PicturesAmong(paths, window_.settings());
    if (pictures.isEmpty()) {
        window_.prompts().message(QStringLiteral("There are no picture files"));
        if (ViewWindow* view = window_.viewWindow())
            view->CloseView();
        return;
    }
    show(pictures);
}

void PictureCommands::show(const QStringList& pictures)
{
    if (pictures.isEmpty()) {
        window_.prompts().message(QStringLiteral("There are no picture files"));
        return;
    }
    ViewWindow* view = window_.viewWindow();
    view->show();
    view->raise();
    if (PictureSoundViews* views = PictureSoundViews::of(view))
        views->ShowThumbnails(pictures);
}
