#pragma once

#include "browse/FileList.h"

#include <QString>

struct Settings;

/// What a file-list node is for the click handlers.
enum class FileNodeKind { None, Root, Group, File };

/// Root (no parent), group (a child of the root in a grouped tree) or file node.
[[nodiscard]] FileNodeKind ClassifyFileNode(const FileList& state, NodeTree::Id id);

/// The pop-up menu the node-click handler opens before acting on the code.
enum class NodeMenu {
    None,
    FilesForList,  ///< "Files", first item "Add Folder to RadeZazeda"
    FilesForGroup, ///< "Files", first item "Add Node to RadeZazeda", list items disabled
    FileNode,      ///< "File1view"
};

/// What the last press or key over the file list asks of the node-click handler.
enum class NodeClick {
    None,
    View,   ///< view the node (a click, a double click)
    Menu,   ///< open the node's menu (right button, Enter)
    Ignore, ///< a left press without single-click view, or a move by keys
};

/// The menu to open for `click` on a node: only NodeClick::Menu opens one, and
/// nothing opens while the list shows its placeholder.
[[nodiscard]] NodeMenu NodeClickMenu(const FileList& state, NodeTree::Id id, NodeClick click);

/// What a node's menu item (or a click) asks for.
enum class NodeActionKind {
    None,
    View,
    ViewIcons,
    Run,
    Properties,
    AddToBasket,
    Zip,
    Copy, ///< to the folder the copy items keep
    ExpandArchives,
    CollapseArchives,
};

struct NodeAction {
    NodeActionKind kind = NodeActionKind::None;
    QString folder; ///< the file's folder, ending in "/"
    QString name;   ///< the file's entry
};

/// The action `kind` asks for on a node. File actions need a file node; expanding and
/// collapsing the archives act on the whole list from any node. Nothing while the list
/// shows its placeholder.
[[nodiscard]] NodeAction NodeClickAction(const FileList& state, NodeTree::Id id,
                                         NodeActionKind kind);

/// Toggles the selection mark of a file node (image "Ticked", NodeMark::Marked); without
/// MultiSelect, marking a node unmarks the others. Returns whether it is now marked.
bool ToggleFileMark(FileList& state, const Settings& settings, NodeTree::Id id);

/// The entries of the marked file nodes, in tree order.
[[nodiscard]] QStringList MarkedEntries(const FileList& state);
