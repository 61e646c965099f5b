#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The file list's pop-up menus: "File1view" for a file node, "Files" for the whole
/// list or a group, "Allview" for expanding and collapsing. Items carry their codes;
/// items of features that are not wired yet start disabled.
class FileListMenus : public MenuCommand {
    Q_OBJECT
public:
    struct File1viewMenu {
        QMenu* menu = nullptr;
        QAction* viewFile = nullptr;  ///< "V"
        QAction* viewIcons = nullptr; ///< "VI"
        QAction* execute = nullptr;   ///< "R"
        QMenu* copyTo = nullptr;
        QAction* copyDefault = nullptr;  ///< "C"; the copy feature appends the folder
        QAction* copySelected = nullptr; ///< "C"; the copy feature appends the folder
        QMenu* zipTo = nullptr;
        QAction* zipDefault = nullptr;  ///< "Z"
        QAction* zipSelected = nullptr; ///< "Z"
        QAction* properties = nullptr;  ///< "P"
        QAction* removeBasketEntry = nullptr;
        QAction* addToBasket = nullptr; ///< "AB"
        QAction* cancel = nullptr;      ///< ""
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
    struct AllviewMenu {
        QMenu* menu = nullptr;
        QAction* expandAll = nullptr;
        QAction* collapseAll = nullptr;
        QAction* showZipped = nullptr;     ///< "ZE"
        QAction* collapseZipped = nullptr; ///< "ZC"
        QAction* cancel = nullptr;
    };

    /// Builds the menus as children of `owner`.
    explicit FileListMenus(QWidget* owner);

    File1viewMenu file1view;
    FilesMenu files;
    AllviewMenu allview;
};
