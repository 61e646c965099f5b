#include "browse/gui/FilterMenus.h"

#include <QAction>
#include <QMenu>

FilterMenus::FilterMenus(QWidget* owner) : MenuCommand(owner)
{
    filter.menu = popup(QStringLiteral("Filter"), owner);
    filter.byContents = item(filter.menu, QStringLiteral("Filter by contents"), false);
    filter.byProperties =
        item(filter.menu, QStringLiteral("Filter by properties (disabled)"), false);
    filter.selectedOnly = item(filter.menu, QStringLiteral("Show selected files only"));
    filter.removeContentFilters =
        item(filter.menu, QStringLiteral("Remove content filters"), false);
    filter.menu->addSeparator();
    filter.cancel = item(filter.menu, QStringLiteral("Cancel"));

    filterview.menu = popup(QStringLiteral("Filterview"), owner);
    filterview.modify = item(filterview.menu, QStringLiteral("Modify"), FilterviewCode::Modify);
    filterview.setDefaults =
        item(filterview.menu, QStringLiteral("Set default types"), FilterviewCode::SetDefaults);
    filterview.swapTabColor = item(filterview.menu, QStringLiteral("Swap Tab color"));
    filterview.changeOrientation = item(filterview.menu, QStringLiteral("Change Tab orientation"));
    filterview.menu->addSeparator();
    filterview.cancel = item(filterview.menu, QStringLiteral("Cancel"));
}
