#pragma once

#include "browse/NodeClick.h"
#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The main window's own menus: "File", "Window" and "List" on the menu bar, and
/// "tvwview", the folder tree's pop-up menu. "List" offers on the menu bar what the file
/// list's "Allview" pop-up offers, with the same NodeActionKind codes; the window adds the
/// filter strip's "Filter" menu to it.
/// What the folder tree's "tvwview" menu leaves.
enum class FolderMenuCode { None, SizeTable, Properties };

class FrameMenus : public MenuCommand {
    Q_OBJECT
public:
    struct FileMenu {
        QMenu* menu = nullptr;
        QAction* options = nullptr;
        QAction* help = nullptr; ///< Ctrl+H
        QAction* about = nullptr;
        QAction* exit = nullptr; ///< Ctrl+X
    };
    struct WindowMenu {
        QMenu* menu = nullptr;
        QAction* defaultLayout = nullptr;
        QAction* tile = nullptr; ///< "Tile horizontally" / "Tile vertically"
        QAction* minimise = nullptr;
        QAction* maximise = nullptr;
    };
    struct ListMenu {
        QMenu* menu = nullptr;
        QAction* expandAll = nullptr;
        QAction* collapseAll = nullptr;
        QAction* showZipped = nullptr;
        QAction* collapseZipped = nullptr;
    };
    struct FolderTreeMenu {
        QMenu* menu = nullptr;
        QAction* size = nullptr;
        QAction* properties = nullptr;
        QAction* pictureThumbnails = nullptr;
        QAction* viewFonts = nullptr;
        QAction* addToBasket = nullptr;
        QAction* cancel = nullptr;
    };

    /// Builds the menus as children of `owner`.
    explicit FrameMenus(QWidget* owner);

    FileMenu file;
    WindowMenu window;
    ListMenu list;
    FolderTreeMenu folderTree;
};
