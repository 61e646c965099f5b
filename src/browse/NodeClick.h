#pragma once

#include "browse/FileListState.h"

#include <QString>

struct Settings;

/// What a file-list node is for the click handlers.
enum class FileNodeKind { None, Root, Group, File };

/// Root (no parent), group (a child of the root in a grouped tree) or file node.
[[nodiscard]] FileNodeKind ClassifyFileNode(const FileListState& state, NodeTree::Id id);

/// The pop-up menu the node-click handler opens before acting on the code.
enum class NodeMenu {
    None,
    FilesForList,  ///< "Files", first item "Add Folder to RadeZazeda"
    FilesForGroup, ///< "Files", first item "Add Node to RadeZazeda", list items disabled
    File1view,
};

/// The menu to open for `menuCommand` on a node: only the code "B" opens one, and
/// nothing happens while the list shows its placeholder or the code is "X".
[[nodiscard]] NodeMenu NodeClickMenu(const FileListState& state, NodeTree::Id id,
                                     const QString& menuCommand);

/// What a code left by a menu (or a click) asks for.
enum class NodeActionKind {
    None,
    View,             ///< "V"
    ViewIcons,        ///< "VI"
    Run,              ///< "R"
    Properties,       ///< "P"
    AddToBasket,      ///< "AB"
    Zip,              ///< "Z"
    Copy,             ///< "C" + target folder
    ExpandArchives,   ///< "ZE"
    CollapseArchives, ///< "ZC"
};

struct NodeAction {
    NodeActionKind kind = NodeActionKind::None;
    QString code;   ///< the code as left ("C/home/a/" for a copy)
    QString folder; ///< the file's folder, ending in "/"
    QString name;   ///< the file's entry
    QString target; ///< the copy's target folder
};

/// The action for `code` on a node. File actions need a file node; "ZE" and "ZC" act
/// on the whole list from any node. Nothing while the list shows its placeholder or the
/// code is "X".
[[nodiscard]] NodeAction NodeClickAction(const FileListState& state, NodeTree::Id id,
                                         const QString& code);

/// Toggles the selection mark of a file node (image "Ticked", tag "X"); without
/// MultiSelect, marking a node unmarks the others. Returns whether it is now marked.
bool ToggleFileMark(FileListState& state, const Settings& settings, NodeTree::Id id);

/// The entries of the marked file nodes, in tree order.
[[nodiscard]] QStringList MarkedEntries(const FileListState& state);
