#pragma once

#include "trees/TreeCommands.h"

#include <QObject>
#include <QPointer>

class FileListPanel;
class PopupMenus;
class QToolButton;
struct Settings;

/// The sort button `SortList` and the tree button `SwapExtTree` beside the file list.
/// They open the "Sort" and "Treeformat" menus and carry out the choice on the panel's
/// FileListState; the "Allview" items "Expand all" and "Collapse all" act here too.
class TreeButtons : public QObject {
    Q_OBJECT
public:
    /// Creates the two buttons in the panel's button slot and connects the menu items.
    TreeButtons(FileListPanel& panel, PopupMenus& menus, Settings& settings);

    [[nodiscard]] QToolButton* sortButton() const { return sortList_; }
    [[nodiscard]] QToolButton* treeButton() const { return swapExtTree_; }
    [[nodiscard]] const TreeButtonState& buttonState() const { return buttons_; }

    /// The tree button released: the tree menu, then the tree it names.
    void treeButtonReleased();
    /// The sort button released: the sort menu, then the sort or rebuild it names.
    void sortButtonReleased();
    /// Carries out a tree choice as if its menu entry had been chosen (tests, shortcuts).
    void chooseTree(const QString& code, int dateBasis = -1);
    /// What the sort button does before its menu shows (flip, entries offered); false
    /// when the menu must not open.
    bool prepareSortMenu();
    /// Carries out a sort menu choice after the menu opened (tests, shortcuts).
    void chooseSort(SortChoice choice);
    void expandAll();
    void collapseAll();

    /// Brings tooltips, faces and menu entries in line with the list's state.
    void refreshFaces();

private:
    void connectMenus();
    void applyOffers();
    void finish(int count);

    FileListPanel& panel_;
    QPointer<PopupMenus> menus_;
    Settings& settings_;
    TreeButtonState buttons_;
    SortChoice sortChoice_ = SortChoice::None;
    QToolButton* sortList_ = nullptr;
    QToolButton* swapExtTree_ = nullptr;
};
