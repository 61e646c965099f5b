#pragma once

#include "browse/NodeClick.h"
#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The file list's pop-up menus: "File1view" for a file node, "Files" for the whole
/// list or a group, "Allview" for expanding and collapsing. Coded items leave their
/// NodeActionKind; items of features that are not wired yet start disabled.
class FileListMenus : public MenuCommand {
    Q_OBJECT
public:
    struct FileNodeMenu {
        QMenu* menu = nullptr;
        QAction* viewFile = nullptr;
        QAction* viewIcons = nullptr;
        QAction* execute = nullptr;
        QMenu* copyTo = nullptr;
        QAction* copyDefault = nullptr;  ///< the copy feature keeps the target folder
        QAction* copySelected = nullptr; ///< the copy feature asks for the target folder
        QMenu* zipTo = nullptr;
        QAction* zipDefault = nullptr;
        QAction* zipSelected = nullptr;
        QAction* properties = nullptr;
        QAction* removeBasketEntry = nullptr;
        QAction* addToBasket = nullptr;
        QAction* cancel = nullptr;
    };
    struct FilesMenu {
        QMenu* menu = nullptr;
        QAction* sizeTable = nullptr;
        QAction* copyList = nullptr;
        QAction* addToBasket = nullptr;
        QAction* addSelectedToBasket = nullptr; ///< disabled at start
        QAction* pictureThumbnails = nullptr;
        QAction* viewFonts = nullptr;
        QAction* cancel = nullptr;
    };
    struct ExpansionMenu {
        QMenu* menu = nullptr;
        QAction* expandAll = nullptr;
        QAction* collapseAll = nullptr;
        QAction* showZipped = nullptr;
        QAction* collapseZipped = nullptr;
        QAction* cancel = nullptr;
    };

    /// Builds the menus as children of `owner`.
    explicit FileListMenus(QWidget* owner);

    FileNodeMenu fileNode;
    FilesMenu files;
    ExpansionMenu expansion;
};
