#pragma once

#include "browse/FileList.h"

#include <functional>
#include <optional>

struct Settings;
struct TreeContext;

/// What the tree and sort buttons and their menus remember between uses: the codes
/// the menus leave, which entries they offer, the direction item's caption and the
/// button faces. The menus read it before they open and write it when an item is chosen.
struct TreeButtonState {
    /// The tree the last "Treeformat" entry named; none after Cancel. Kept until the next
    /// choice.
    std::optional<TreeType> treeChoice;
    bool offerNameTree = false;
    bool offerExtensionTree = true;
    bool offerSizeTree = true;
    bool offerDateTree = true; ///< "Age tree" is always offered
    bool offerDirectionItem = false;
    bool offerSortBy = true;
    QString directionCaption = QStringLiteral("Sort Descending");
};

/// Choices of the sort menu.
enum class SortChoice { None, ByName, ByExtension, BySize, Direction };

/// Builds the grouped tree of the current tree type (1 extension, 2 date, 3 size,
/// 4 age). Returns its file count; -1 for the plain list (type 0) or an empty list.
int BuildGroupedTree(FileList& state, const TreeContext& context);

/// A "Treeformat" entry was chosen (none: Cancel): stores the tree it names; the date
/// and age entries also set the date basis, when given, and the tree button's tooltip.
void ChooseTreeEntry(FileList& state, TreeButtonState& buttons, std::optional<TreeType> choice,
                     std::optional<DateBasis> dateBasis = std::nullopt);

/// Whether the tree or sort button may open its menu (not the placeholder, 2+ nodes).
[[nodiscard]] bool ButtonsUsable(const FileList& state);

/// After the tree menu closed: builds the tree the stored choice names and records the
/// tree type, the entries offered next time and the tooltip. `buildNameList` rebuilds
/// the plain list. Returns the file count of the new tree, or -1 when nothing was built.
int RunTreeChoice(FileList& state, TreeButtonState& buttons, const TreeContext& context,
                  const std::function<int(FileList&)>& buildNameList);

/// Before the sort menu opens: in a grouped tree flips the tree direction (and the
/// direction item's caption names the order it produces) and offers only that item;
/// in the plain list offers the three "Sort by" items. False when the menu must not open.
bool OpenSortMenu(FileList& state, TreeButtonState& buttons);

/// After the sort menu closed with `choice`: a "Sort by" item flips its own direction
/// and sorts the plain list; the direction item rebuilds the grouped tree. Returns the
/// count to report, or -1 when nothing was done. With `shownFlatRoot`, the list is a copy
/// without a tree whose shown tree is a flat list under that root text: the sort leaves
/// the rows' order for the hand-over (PlainSortForShownTree).
int RunSortChoice(FileList& state, const TreeContext& context, SortChoice choice,
                  const std::optional<QString>& shownFlatRoot = std::nullopt);

/// "Expand all": opens every collapsed node below the root (archives stay closed in
/// the plain list).
void ExpandAll(FileList& state, const Settings& settings);

/// "Collapse all": closes every open node below the root.
void CollapseAll(FileList& state);

/// Whether the sort button shows its descending face (from its tooltip).
[[nodiscard]] bool SortFaceDescending(const FileList& state);
