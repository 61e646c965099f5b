#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;
class QWidget;

/// The main window's own menus: "File" and "Window" on the menu bar, and "tvwview",
/// the folder tree's pop-up menu.
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
    struct TvwviewMenu {
        QMenu* menu = nullptr;
        QAction* size = nullptr;       ///< "S"
        QAction* properties = nullptr; ///< "P"
        QAction* pictureThumbnails = nullptr;
        QAction* viewFonts = nullptr;
        QAction* addToBasket = nullptr;
        QAction* cancel = nullptr; ///< ""
    };

    /// Builds the menus as children of `owner`.
    explicit FrameMenus(QWidget* owner);

    FileMenu file;
    WindowMenu window;
    TvwviewMenu tvwview;
};
