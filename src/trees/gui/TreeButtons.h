#pragma once

#include "browse/ListingHandover.h"
#include "trees/TreeCommands.h"

#include <QObject>
#include <functional>

class NodeTreeView;
class QToolButton;
class QWidget;
class TreeMenus;
struct Settings;

/// The sort button `SortList` and the tree button `SwapExtTree` beside the file list.
/// They open their "Sort" and "Treeformat" menus and carry out the choice on the file
/// list's state; expanding and collapsing the whole list act here too.
class TreeButtons : public QObject {
    Q_OBJECT
public:
    /// Creates the two buttons (children of `owner`, for the owner to place) over the
    /// file list's state and its view.
    TreeButtons(FileList& state, NodeTreeView& list, Settings& settings, QWidget* owner);

    [[nodiscard]] QToolButton* sortButton() const { return sortList_; }
    [[nodiscard]] QToolButton* treeButton() const { return swapExtTree_; }
    [[nodiscard]] const TreeButtonState& buttonState() const { return buttons_; }
    [[nodiscard]] TreeMenus& menus() const { return *menus_; }

    /// The tree button released: the tree menu, then the tree it names.
    void treeButtonReleased();
    /// The sort button released: the sort menu, then the sort or rebuild it names.
    void sortButtonReleased();
    /// Carries out a tree choice as if its menu entry had been chosen (tests, shortcuts).
    void chooseTree(TreeType type, std::optional<DateBasis> dateBasis = std::nullopt);
    /// Builds the tree the last chosen "Treeformat" entry names, as when its menu closes.
    void applyTreeChoice();
    /// What the sort button does before its menu shows (flip, entries offered); false
    /// when the menu must not open.
    bool prepareSortMenu();
    /// Carries out a sort menu choice after the menu opened (tests, shortcuts).
    void chooseSort(SortChoice choice);
    void expandAll();
    void collapseAll();

    /// Who runs the list's rebuilds (the window: on another thread); none runs them here.
    void setRebuilder(ListRebuilder* rebuilder) { rebuilder_ = rebuilder; }

    /// Brings tooltips, faces and menu entries in line with the list's state.
    void refreshFaces();

Q_SIGNALS:
    /// The list was rebuilt or re-sorted; its status caption is in the state.
    void listChanged();

private:
    /// True when the list is being rebuilt and `input` was kept to run after it.
    bool deferred(std::function<void()> input);
    void connectMenus();
    void applyOffers();
    void finish(int count);
    /// A copy of the state comes without its tree. The grouped trees only ask whether
    /// the list has nodes (a root answers), and a flat plain list is listedNames's entries
    /// in order (`wholeList` rebuilds them): the copy then answers as the shown list would.
    static void standInTree(FileList& state, const Settings& settings, int shownCount,
                            bool wholeList);
    /// The rebuilder for a sort of the list as it is; none when the sort must read the
    /// shown list's nodes here.
    [[nodiscard]] ListRebuilder* sortRebuilder() const;

    FileList& state_;
    NodeTreeView& list_;
    TreeMenus* menus_ = nullptr;
    Settings& settings_;
    ListRebuilder* rebuilder_ = nullptr;
    TreeButtonState buttons_;
    SortChoice sortChoice_ = SortChoice::None;
    QToolButton* sortList_ = nullptr;
    QToolButton* swapExtTree_ = nullptr;
};
