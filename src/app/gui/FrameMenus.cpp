#include "app/gui/FrameMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

FrameMenus::FrameMenus(QWidget* owner) : MenuCommand(owner)
{
    file.menu = popup(QStringLiteral("File"), owner);
    file.options = item(file.menu, QStringLiteral("Options"));
    file.help = item(file.menu, QStringLiteral("Help"));
    file.help->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    file.about = item(file.menu, QStringLiteral("About"));
    file.menu->addSeparator();
    file.exit = item(file.menu, QStringLiteral("Exit"));
    file.exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    window.menu = popup(QStringLiteral("Window"), owner);
    window.defaultLayout = item(window.menu, QStringLiteral("Default"));
    window.tile = item(window.menu, QStringLiteral("Tile horizontally"));
    window.minimise = item(window.menu, QStringLiteral("Minimise"));
    window.maximise = item(window.menu, QStringLiteral("Maximise"));

    list.menu = popup(QStringLiteral("List"), owner);
    list.expandAll = item(list.menu, QStringLiteral("Expand all"));
    list.collapseAll = item(list.menu, QStringLiteral("Collapse all"));
    list.showZipped =
        item(list.menu, QStringLiteral("Show all zipped files"), NodeActionKind::ExpandArchives);
    list.collapseZipped = item(list.menu, QStringLiteral("Collapse all zipped files"),
                               NodeActionKind::CollapseArchives);
    list.menu->addSeparator();

    folderTree.menu = popup(QStringLiteral("tvwview"), owner);
    folderTree.size = item(folderTree.menu, QStringLiteral("Size"), FolderMenuCode::SizeTable);
    folderTree.properties =
        item(folderTree.menu, QStringLiteral("Properties"), FolderMenuCode::Properties);
    folderTree.pictureThumbnails =
        item(folderTree.menu, QStringLiteral("Picture thumbnails"), false);
    folderTree.viewFonts = item(folderTree.menu, QStringLiteral("View TTFonts"), false);
    folderTree.addToBasket = item(folderTree.menu, QStringLiteral("Add to RadeZazeda"), false);
    folderTree.menu->addSeparator();
    folderTree.cancel = item(folderTree.menu, QStringLiteral("Cancel"));
}
