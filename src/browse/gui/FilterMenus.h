#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The filter strip's pop-up menus: "Filter" and "Filterview" (a tab's menu).
/// What a tab's "Filterview" menu leaves.
enum class FilterviewCode { None, Modify, SetDefaults };

class FilterMenus : public MenuCommand {
    Q_OBJECT
public:
    struct FilterMenu {
        QMenu* menu = nullptr;
        QAction* byContents = nullptr;
        QAction* byProperties = nullptr; ///< always disabled
        QAction* selectedOnly = nullptr;
        QAction* removeContentFilters = nullptr;
        QAction* cancel = nullptr;
    };
    struct FilterviewMenu {
        QMenu* menu = nullptr;
        QAction* modify = nullptr;
        QAction* setDefaults = nullptr;
        QAction* swapTabColor = nullptr;
        QAction* changeOrientation = nullptr;
        QAction* cancel = nullptr;
    };

    /// Builds the menus as children of `owner`.
    explicit FilterMenus(QWidget* owner);

    FilterMenu filter;
    FilterviewMenu filterview;
};
