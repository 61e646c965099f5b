#pragma once

#include "shared/Settings.h"

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;

/// The main window's menus: "File" and "Window" for the menu bar and the nine pop-up
/// menus. Every item carries its command code in QAction::data (empty for items that
/// act through their own triggered() connection) and stores it into
/// Settings::menuCommand when triggered, before any other connection runs.
/// Items of features that are not wired yet start disabled; their owners enable them.
class PopupMenus : public QObject {
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
    struct FilterMenu {
        QMenu* menu = nullptr;
        QAction* byContents = nullptr;
        QAction* byProperties = nullptr; ///< always disabled
        QAction* selectedOnly = nullptr;
        QAction* removeContentFilters = nullptr;
        QAction* cancel = nullptr;
    };
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
    struct TvwviewMenu {
        QMenu* menu = nullptr;
        QAction* size = nullptr;       ///< "S"
        QAction* properties = nullptr; ///< "P"
        QAction* pictureThumbnails = nullptr;
        QAction* viewFonts = nullptr;
        QAction* addToBasket = nullptr;
        QAction* cancel = nullptr; ///< ""
    };
    struct FilterviewMenu {
        QMenu* menu = nullptr;
        QAction* modify = nullptr;      ///< "M"
        QAction* setDefaults = nullptr; ///< "D"
        QAction* swapTabColor = nullptr;
        QAction* changeOrientation = nullptr;
        QAction* cancel = nullptr; ///< ""
    };
    struct AllviewMenu {
        QMenu* menu = nullptr;
        QAction* expandAll = nullptr;
        QAction* collapseAll = nullptr;
        QAction* showZipped = nullptr;     ///< "ZE"
        QAction* collapseZipped = nullptr; ///< "ZC"
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
    struct SortMenu {
        QMenu* menu = nullptr;
        QAction* byName = nullptr;
        QAction* byExtension = nullptr;
        QAction* bySize = nullptr;
        QAction* descending = nullptr;
    };

    /// Builds every menu; the menus are children of `owner` and write to `settings`.
    PopupMenus(Settings& settings, QWidget* owner);
    ~PopupMenus() override;

    /// Clears MenuCommand, shows `menu` modally at `globalPos` and returns the code the
    /// chosen item left ("" when the menu was dismissed or the item has no code).
    QString run(QMenu* menu, QPoint globalPos);

    FileMenu file;
    WindowMenu window;
    TreeformatMenu treeformat;
    FilterMenu filter;
    File1viewMenu file1view;
    TvwviewMenu tvwview;
    FilterviewMenu filterview;
    AllviewMenu allview;
    FilesMenu files;
    SortMenu sort;

    /// Every pop-up menu (not File and Window), for lookup by title.
    [[nodiscard]] QList<QMenu*> popups() const;

private:
    QAction* item(QMenu* menu, const QString& caption, const QString& code = {},
                  bool enabled = true);
    QMenu* submenu(QMenu* menu, const QString& caption);
    QMenu* popup(const QString& title);
    void buildFrameMenus();
    void buildListMenus();
    void buildTreeAndTabMenus();

    Settings& settings_;
    QWidget* owner_;
};
