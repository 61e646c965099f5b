#pragma once

#include <QString>

class CancelKey;
class FileListPanel;
class FilterTabs;
class NodeTreeView;
class Prompts;
class QAction;
class QWidget;
class ViewWindow;
struct Settings;

/// What the basket's wiring uses of the main window: the file list and the folder tree
/// it joins to the basket, the view window that shows the basket's grid, and the
/// settings and prompts they share. The main window implements it.
class BasketWindow {
public:
    virtual ~BasketWindow() = default;
    /// The parent of the basket's panel and of the dialogs it opens.
    [[nodiscard]] virtual QWidget& hostWidget() = 0;
    [[nodiscard]] virtual Settings& settings() = 0;
    [[nodiscard]] virtual Prompts& prompts() = 0;
    [[nodiscard]] virtual CancelKey& cancelKey() = 0;
    /// The folder the file list shows, ending in "/" ("" for the basket).
    [[nodiscard]] virtual QString CurrentFolderPath() const = 0;
    [[nodiscard]] virtual FileListPanel& listPanel() = 0;
    /// The folder tree (`tvwDirTree`); its model holds the folder nodes.
    [[nodiscard]] virtual NodeTreeView& folderView() = 0;
    /// The key of the folder node the folder tree's menu was opened on; "" for none.
    [[nodiscard]] virtual QString menuFolderKey() const = 0;
    /// "Add to basket" of the folder tree's menu.
    [[nodiscard]] virtual QAction& folderBasketItem() = 0;
    /// The filter tabs over the file list; null while there are none.
    [[nodiscard]] virtual FilterTabs* filterTabs() = 0;
    /// The view window, made on first use.
    [[nodiscard]] virtual ViewWindow& view() = 0;
};
