#include "browse/gui/FileListMenus.h"

#include <QAction>
#include <QMenu>

FileListMenus::FileListMenus(QWidget* owner) : MenuCommand(owner)
{
    file1view.menu = popup(QStringLiteral("File1view"), owner);
    file1view.viewFile = item(file1view.menu, QStringLiteral("View file"), NodeActionKind::View);
    file1view.viewIcons =
        item(file1view.menu, QStringLiteral("View icons"), NodeActionKind::ViewIcons);
    file1view.execute = item(file1view.menu, QStringLiteral("Execute"), NodeActionKind::Run);
    file1view.copyTo = file1view.menu->addMenu(QStringLiteral("Copy one file to:"));
    file1view.copyTo->setEnabled(false);
    file1view.copyDefault = item(file1view.copyTo, QStringLiteral("Default"), NodeActionKind::Copy);
    file1view.copySelected =
        item(file1view.copyTo, QStringLiteral("Selected Directory"), NodeActionKind::Copy);
    file1view.zipTo = file1view.menu->addMenu(QStringLiteral("Zip one file to:"));
    file1view.zipTo->setEnabled(false);
    file1view.zipDefault = item(file1view.zipTo, QStringLiteral("Default"), NodeActionKind::Zip);
    file1view.zipSelected =
        item(file1view.zipTo, QStringLiteral("Selected File"), NodeActionKind::Zip);
    file1view.properties =
        item(file1view.menu, QStringLiteral("Properties"), NodeActionKind::Properties);
    file1view.removeBasketEntry =
        item(file1view.menu, QStringLiteral("Remove RadeZazeda entry"), false);
    file1view.addToBasket = item(file1view.menu, QStringLiteral("Add to RadeZazeda"),
                                 NodeActionKind::AddToBasket, false);
    file1view.menu->addSeparator();
    file1view.cancel = item(file1view.menu, QStringLiteral("Cancel"));

    allview.menu = popup(QStringLiteral("Allview"), owner);
    allview.expandAll = item(allview.menu, QStringLiteral("Expand all"));
    allview.collapseAll = item(allview.menu, QStringLiteral("Collapse all"));
    allview.showZipped =
        item(allview.menu, QStringLiteral("Show all zipped files"), NodeActionKind::ExpandArchives);
    allview.collapseZipped = item(allview.menu, QStringLiteral("Collapse all zipped files"),
                                  NodeActionKind::CollapseArchives);
    allview.menu->addSeparator();
    allview.cancel = item(allview.menu, QStringLiteral("Cancel"));

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
