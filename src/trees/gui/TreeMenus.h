#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The menus of the tree and sort buttons: "Treeformat" and "Sort".
class TreeMenus : public MenuCommand {
    Q_OBJECT
public:
    struct TreeformatMenu {
        QMenu* menu = nullptr;
        QAction* nameTree = nullptr;
        QAction* extensionTree = nullptr;
        QAction* sizeTree = nullptr;
        QMenu* dateTree = nullptr;
        QAction* dateByCreation = nullptr;
        QAction* dateByLastUpdated = nullptr;
        QMenu* ageTree = nullptr;
        QAction* ageByCreation = nullptr;
        QAction* ageByLastUpdated = nullptr;
        QAction* cancel = nullptr;
    };
    struct SortMenu {
        QMenu* menu = nullptr;
        QAction* byName = nullptr;
        QAction* byExtension = nullptr;
        QAction* bySize = nullptr;
        QAction* descending = nullptr;
        QAction* cancel = nullptr; ///< chooses nothing
    };

    /// Builds the menus as children of `owner`.
    explicit TreeMenus(QWidget* owner);

    TreeformatMenu treeformat;
    SortMenu sort;
};
