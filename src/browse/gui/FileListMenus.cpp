#include "browse/gui/FileListMenus.h"

#include <QAction>
#include <QMenu>

FileListMenus::FileListMenus(QWidget* owner) : MenuCommand(owner)
{
    fileNode.menu = popup(QStringLiteral("File1view"), owner);
    fileNode.viewFile = item(fileNode.menu, QStringLiteral("View file"), NodeActionKind::View);
    fileNode.viewIcons =
        item(fileNode.menu, QStringLiteral("View icons"), NodeActionKind::ViewIcons);
    fileNode.execute = item(fileNode.menu, QStringLiteral("Execute"), NodeActionKind::Run);
    fileNode.copyTo = fileNode.menu->addMenu(QStringLiteral("Copy one file to:"));
    fileNode.copyTo->setEnabled(false);
    fileNode.copyDefault = item(fileNode.copyTo, QStringLiteral("Default"), NodeActionKind::Copy);
    fileNode.copySelected =
        item(fileNode.copyTo, QStringLiteral("Selected Directory"), NodeActionKind::Copy);
    fileNode.zipTo = fileNode.menu->addMenu(QStringLiteral("Zip one file to:"));
    fileNode.zipTo->setEnabled(false);
    fileNode.zipDefault = item(fileNode.zipTo, QStringLiteral("Default"), NodeActionKind::Zip);
    fileNode.zipSelected =
        item(fileNode.zipTo, QStringLiteral("Selected File"), NodeActionKind::Zip);
    fileNode.properties =
        item(fileNode.menu, QStringLiteral("Properties"), NodeActionKind::Properties);
    fileNode.removeBasketEntry =
        item(fileNode.menu, QStringLiteral("Remove RadeZazeda entry"), false);
    fileNode.addToBasket = item(fileNode.menu, QStringLiteral("Add to RadeZazeda"),
                                NodeActionKind::AddToBasket, false);
    fileNode.menu->addSeparator();
    fileNode.cancel = item(fileNode.menu, QStringLiteral("Cancel"));

    expansion.menu = popup(QStringLiteral("Allview"), owner);
    expansion.expandAll = item(expansion.menu, QStringLiteral("Expand all"));
    expansion.collapseAll = item(expansion.menu, QStringLiteral("Collapse all"));
    expansion.showZipped = item(expansion.menu, QStringLiteral("Show all zipped files"),
                                NodeActionKind::ExpandArchives);
    expansion.collapseZipped = item(expansion.menu, QStringLiteral("Collapse all zipped files"),
                                    NodeActionKind::CollapseArchives);
    expansion.menu->addSeparator();
    expansion.cancel = item(expansion.menu, QStringLiteral("Cancel"));

    files.menu = popup(QStringLiteral("Files"), owner);
    files.sizeTable = item(files.menu, QStringLiteral("Show Size Table"));
    files.copyList = item(files.menu, QStringLiteral("Copy List"));
    files.addToBasket = item(files.menu, QStringLiteral("Add to RadeZazeda"), false);
    files.addSelectedToBasket =
        item(files.menu, QStringLiteral("Add Selected Files to RadeZazeda"), false);
    files.pictureThumbnails = item(files.menu, QStringLiteral("Picture Thumbnails"), false);
    files.viewFonts = item(files.menu, QStringLiteral("View TTFonts"), false);
    files.menu->addSeparator();
    files.cancel = item(files.menu, QStringLiteral("Cancel"));
}
