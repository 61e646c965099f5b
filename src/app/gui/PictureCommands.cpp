#include "app/gui/PictureCommands.h"

#include "app/gui/PictureHost.h"
#include "browse/FileList.h"
#include "platform/Prompts.h"
#include "shared/TextHelpers.h"
#include "view/picture/PictureFolder.h"

#include <QAction>

namespace {

const QString NoPictures = QStringLiteral("There are no picture files");

} // namespace

PictureCommands::PictureCommands(PictureHost& host, QAction& folderItem, QAction& listItem,
                                 QObject* parent)
    : QObject(parent), host_(host)
{
    folderItem.setEnabled(true);
    connect(&folderItem, &QAction::triggered, this, [this] {
        // The item acts on the folder node the menu was opened on.
        if (const QString key = host_.menuFolderKey(); !key.isEmpty())
            FolderThumbnails(WithSlash(key));
    });
    listItem.setEnabled(true);
    connect(&listItem, &QAction::triggered, this, &PictureCommands::FileTreeThumbnails);
}

void PictureCommands::FolderThumbnails(const QString& folder)
{
    show(PictureFilesOfFolder(folder, host_.settings()));
}

void PictureCommands::FileTreeThumbnails()
{
    const FileList& state = host_.listedFiles();
    // The basket's pictures are the basket's own command.
    if (state.setup().currentFolder.isEmpty() || state.setup().showsPlaceholder) {
        host_.prompts().message(NoPictures);
        return;
    }
    QStringList paths;
    for (int i = 1; i < state.listedNames().ListCount(); ++i)
        paths << state.setup().currentFolder + state.listedNames().list(i);
    const QStringList pictures = PicturesAmong(paths, host_.settings());
    if (pictures.isEmpty()) {
        host_.prompts().message(NoPictures);
        host_.closeView();
        return;
    }
    show(pictures);
}

void PictureCommands::show(const QStringList& pictures)
{
    if (pictures.isEmpty()) {
        host_.prompts().message(NoPictures);
        return;
    }
    host_.showThumbnails(pictures);
}
