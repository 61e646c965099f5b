#pragma once

#include "controls/NodeTree.h"
#include "platform/Volumes.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

/// What the folder tree is built from; system() reads the machine, tests fill their own.
struct FolderTreeSources {
    QString hostName;                                       ///< "" gives "My Computer"
    bool computerIcon = false;                              ///< the image list holds "desktop"
    std::vector<platform::Volume> volumes;                  ///< in the order the tree shows them
    std::function<QString(const QString& mountPath)> label; ///< volume labels
    QString desktopFolder;                                  ///< its subfolders go under "Desktop"
    QStringList specialFolders; ///< in branch order, without trailing "/"

    static FolderTreeSources system();
};

/// The folder tree's state kept by the main window.
struct FolderTreeState {
    QStringList ExpandedKeys; ///< keys loaded by an expand, in order; never shrinks
    NodeTree::Id CurrentFolderNode = NodeTree::None;
    QString lblpathx; ///< the key of the folder last opened (the hidden path label)

    [[nodiscard]] bool wasExpanded(const QString& key) const { return expanded_.contains(key); }
    void markExpanded(const QString& key);

private:
    QSet<QString> expanded_;
};

/// Builds the initial tree: "Desktop", the computer with one node per volume (a
/// look-ahead child where it has subfolders; removable volumes are not read), the
/// desktop folder's subfolders and the "SpecialFolders" branch two levels deep (tag "X").
void BuildFolderTree(NodeTree& tree, const FolderTreeSources& sources);

/// Adds the subfolders of the folder whose node has `key` (key = parent key + "/" +
/// name, image "closed", selected image "open"), each with its first subfolder as a
/// look-ahead child. Existing keys are not added again (an existing node still gets its
/// look-ahead child), so loading twice adds nothing. An empty or unknown key does
/// nothing. Returns the number of nodes added.
int LoadSubfolders(NodeTree& tree, const QString& key);

/// The expand event: loads the node's subfolders once (locked, one model reset) and
/// sorts its children by text. Nothing for "root" and "desk", for keys expanded
/// before and for nodes without children. True when it loaded.
bool ExpandFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id);

/// The node click: loads the subfolders (not of removable volumes), sets the path
/// label and CurrentFolderNode, and returns the folder to list, ending in "/".
/// Nothing for "root", "desk" and "SpecialFolders" (the folder state is cleared).
std::optional<QString> OpenFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id);

/// True for a key that is no folder of the file system: the desktop ("desk..."), the
/// computer ("root..."), the special-folders branch and any key that is not an absolute
/// path. Such nodes take no drops and are not added to the basket.
[[nodiscard]] bool IsSystemFolderKey(const QString& key);

/// The folder the file list shows, ending in "/": the path label's folder while a
/// folder node is current, else the file list's root text ("" for "RadeZazeda" or none).
[[nodiscard]] QString CurrentFolderPath(const FolderTreeState& state,
                                        const QString& fileListRootText);
