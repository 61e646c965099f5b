#include "trees/gui/TreeMenus.h"

#include <QAction>
#include <QMenu>

TreeMenus::TreeMenus(QWidget* owner) : MenuCommand(owner)
{
    treeformat.menu = popup(QStringLiteral("Treeformat"), owner);
    treeformat.nameTree = item(treeformat.menu, QStringLiteral("Name tree"));
    treeformat.extensionTree = item(treeformat.menu, QStringLiteral("Extension tree"));
    treeformat.sizeTree = item(treeformat.menu, QStringLiteral("Size tree"));
    treeformat.dateTree = treeformat.menu->addMenu(QStringLiteral("Date tree"));
    treeformat.dateByCreation = item(treeformat.dateTree, QStringLiteral("by Creation Date"));
    treeformat.dateByLastUpdated = item(treeformat.dateTree, QStringLiteral("by Lastupdated Date"));
    treeformat.ageTree = treeformat.menu->addMenu(QStringLiteral("Age tree"));
    treeformat.ageByCreation = item(treeformat.ageTree, QStringLiteral("by Creation Date"));
    treeformat.ageByLastUpdated = item(treeformat.ageTree, QStringLiteral("by Lastupdated Date"));
    treeformat.menu->addSeparator();
    treeformat.cancel = item(treeformat.menu, QStringLiteral("Cancel"));

    sort.menu = popup(QStringLiteral("Sort"), owner);
    sort.byName = item(sort.menu, QStringLiteral("Sort by name"));
    sort.byExtension = item(sort.menu, QStringLiteral("Sort by extension"));
    sort.bySize = item(sort.menu, QStringLiteral("Sort by size"));
    sort.descending = item(sort.menu, QStringLiteral("Sort Descending"));
    sort.cancel = item(sort.menu, QStringLiteral("Cancel"));
}
