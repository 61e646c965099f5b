#include "app/gui/PopupMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

PopupMenus::PopupMenus(Settings& settings, QWidget* owner)
    : QObject(owner), settings_(settings), owner_(owner)
{
    buildFrameMenus();
    buildListMenus();
    buildTreeAndTabMenus();
}

PopupMenus::~PopupMenus() = default;

QString PopupMenus::run(QMenu* menu, QPoint globalPos)
{
    settings_.menuCommand.clear();
    if (menu)
        menu->exec(globalPos);
    return settings_.menuCommand;
}

QList<QMenu*> PopupMenus::popups() const
{
    return {treeformat.menu, filter.menu,  file1view.menu, tvwview.menu,
            filterview.menu, allview.menu, files.menu,     sort.menu};
}

QAction* PopupMenus::item(QMenu* menu, const QString& caption, const QString& code, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setData(code);
    action->setEnabled(enabled);
    // Connected first, so the code is in place before any feature's own handler runs.
    connect(action, &QAction::triggered, this,
            [this, action] { settings_.menuCommand = action->data().toString(); });
    return action;
}

QMenu* PopupMenus::submenu(QMenu* menu, const QString& caption)
{
    return menu->addMenu(caption);
}

QMenu* PopupMenus::popup(const QString& title)
{
    auto* menu = new QMenu(title, owner_);
    menu->setObjectName(title);
    return menu;
}

void PopupMenus::buildFrameMenus()
{
    file.menu = new QMenu(QStringLiteral("File"), owner_);
    file.menu->setObjectName(QStringLiteral("File"));
    file.options = item(file.menu, QStringLiteral("Options"));
    file.help = item(file.menu, QStringLiteral("Help"));
    file.help->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    file.about = item(file.menu, QStringLiteral("About"));
    file.menu->addSeparator();
    file.exit = item(file.menu, QStringLiteral("Exit"));
    file.exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    window.menu = new QMenu(QStringLiteral("Window"), owner_);
    window.menu->setObjectName(QStringLiteral("Window"));
    window.defaultLayout = item(window.menu, QStringLiteral("Default"));
    window.tile = item(window.menu, QStringLiteral("Tile horizontally"));
    window.minimise = item(window.menu, QStringLiteral("Minimise"));
    window.maximise = item(window.menu, QStringLiteral("Maximise"));
}

void PopupMenus::buildListMenus()
{
    treeformat.menu = popup(QStringLiteral("Treeformat"));
    treeformat.nameTree = item(treeformat.menu, QStringLiteral("Name tree"));
    treeformat.extensionTree = item(treeformat.menu, QStringLiteral("Extension tree"));
    treeformat.sizeTree = item(treeformat.menu, QStringLiteral("Size tree"));
    treeformat.dateTree = submenu(treeformat.menu, QStringLiteral("Date tree"));
    treeformat.dateByCreation = item(treeformat.dateTree, QStringLiteral("by Creation Date"));
    treeformat.dateByLastUpdated = item(treeformat.dateTree, QStringLiteral("by Lastupdated Date"));
    treeformat.ageTree = submenu(treeformat.menu, QStringLiteral("Age tree"));
    treeformat.ageByCreation = item(treeformat.ageTree, QStringLiteral("by Creation Date"));
    treeformat.ageByLastUpdated = item(treeformat.ageTree, QStringLiteral("by Lastupdated Date"));
    treeformat.menu->addSeparator();
    treeformat.cancel = item(treeformat.menu, QStringLiteral("Cancel"));

    filter.menu = popup(QStringLiteral("Filter"));
    filter.byContents = item(filter.menu, QStringLiteral("Filter by contents"), {}, false);
    filter.byProperties =
        item(filter.menu, QStringLiteral("Filter by properties (disabled)"), {}, false);
    filter.selectedOnly = item(filter.menu, QStringLiteral("Show selected files only"));
    filter.removeContentFilters =
        item(filter.menu, QStringLiteral("Remove content filters"), {}, false);
    filter.menu->addSeparator();
    filter.cancel = item(filter.menu, QStringLiteral("Cancel"));

    file1view.menu = popup(QStringLiteral("File1view"));
    file1view.viewFile = item(file1view.menu, QStringLiteral("View file"), QStringLiteral("V"));
    file1view.viewIcons =
        item(file1view.menu, QStringLiteral("View icons"), QStringLiteral("VI"), false);
    file1view.execute = item(file1view.menu, QStringLiteral("Execute"), QStringLiteral("R"));
    file1view.copyTo = submenu(file1view.menu, QStringLiteral("Copy one file to:"));
    file1view.copyTo->setEnabled(false);
    file1view.copyDefault = item(file1view.copyTo, QStringLiteral("Default"), QStringLiteral("C"));
    file1view.copySelected =
        item(file1view.copyTo, QStringLiteral("Selected Directory"), QStringLiteral("C"));
    file1view.zipTo = submenu(file1view.menu, QStringLiteral("Zip one file to:"));
    file1view.zipTo->setEnabled(false);
    file1view.zipDefault = item(file1view.zipTo, QStringLiteral("Default"), QStringLiteral("Z"));
    file1view.zipSelected =
        item(file1view.zipTo, QStringLiteral("Selected File"), QStringLiteral("Z"));
    file1view.properties = item(file1view.menu, QStringLiteral("Properties"), QStringLiteral("P"));
    file1view.removeBasketEntry =
        item(file1view.menu, QStringLiteral("Remove RadeZazeda entry"), {}, false);
    file1view.addToBasket =
        item(file1view.menu, QStringLiteral("Add to RadeZazeda"), QStringLiteral("AB"), false);
    file1view.menu->addSeparator();
    file1view.cancel = item(file1view.menu, QStringLiteral("Cancel"));

    allview.menu = popup(QStringLiteral("Allview"));
    allview.expandAll = item(allview.menu, QStringLiteral("Expand all"));
    allview.collapseAll = item(allview.menu, QStringLiteral("Collapse all"));
    allview.showZipped =
        item(allview.menu, QStringLiteral("Show all zipped files"), QStringLiteral("ZE"), false);
    allview.collapseZipped = item(allview.menu, QStringLiteral("Collapse all zipped files"),
                                  QStringLiteral("ZC"), false);
    allview.menu->addSeparator();
    allview.cancel = item(allview.menu, QStringLiteral("Cancel"));

    files.menu = popup(QStringLiteral("Files"));
    files.sizeTable = item(files.menu, QStringLiteral("Show Size Table"));
    files.copyList = item(files.menu, QStringLiteral("Copy List"));
    files.addToBasket = item(files.menu, QStringLiteral("Add to RadeZazeda"), {}, false);
    files.addSelectedToBasket =
        item(files.menu, QStringLiteral("Add Selected Files to RadeZazeda"), {}, false);
    files.pictureThumbnails = item(files.menu, QStringLiteral("Picture Thumbnails"), {}, false);
    files.viewFonts = item(files.menu, QStringLiteral("View TTFonts"), {}, false);
    files.menu->addSeparator();
    files.cancel = item(files.menu, QStringLiteral("Cancel"));

    sort.menu = popup(QStringLiteral("Sort"));
    sort.byName = item(sort.menu, QStringLiteral("Sort by name"));
    sort.byExtension = item(sort.menu, QStringLiteral("Sort by extension"));
    sort.bySize = item(sort.menu, QStringLiteral("Sort by size"));
    sort.descending = item(sort.menu, QStringLiteral("Sort Descending"));
}

void PopupMenus::buildTreeAndTabMenus()
{
    tvwview.menu = popup(QStringLiteral("tvwview"));
    tvwview.size = item(tvwview.menu, QStringLiteral("Size"), QStringLiteral("S"));
    tvwview.properties = item(tvwview.menu, QStringLiteral("Properties"), QStringLiteral("P"));
    tvwview.pictureThumbnails = item(tvwview.menu, QStringLiteral("Picture thumbnails"), {}, false);
    tvwview.viewFonts = item(tvwview.menu, QStringLiteral("View TTFonts"), {}, false);
    tvwview.addToBasket = item(tvwview.menu, QStringLiteral("Add to RadeZazeda"), {}, false);
    tvwview.menu->addSeparator();
    tvwview.cancel = item(tvwview.menu, QStringLiteral("Cancel"));

    filterview.menu = popup(QStringLiteral("Filterview"));
    filterview.modify = item(filterview.menu, QStringLiteral("Modify"), QStringLiteral("M"));
    filterview.setDefaults =
        item(filterview.menu, QStringLiteral("Set default types"), QStringLiteral("D"));
    filterview.swapTabColor = item(filterview.menu, QStringLiteral("Swap Tab color"));
    filterview.changeOrientation = item(filterview.menu, QStringLiteral("Change Tab orientation"));
    filterview.menu->addSeparator();
    filterview.cancel = item(filterview.menu, QStringLiteral("Cancel"));
}
