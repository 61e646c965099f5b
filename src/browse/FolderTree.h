#pragma once

#include "controls/NodeTree.h"
#include "platform/Volumes.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

/// The subfolders of one folder as read from the disk, each with its first subfolder
/// ("" when it has none): what a read off the window's thread hands back.
struct SubfolderRead {
    QString key; ///< the node the folders belong under
    QStringList names;
    QStringList firstSubfolders; ///< one per name
};

/// Reads the subfolders of the folder whose node has `key`; any thread.
[[nodiscard]] SubfolderRead ReadSubfolders(const QString& key);

/// What the folder tree is built from; system() reads the machine, tests fill their own.
/// Network shares are never read while the tree is built.
struct FolderTreeSources {
    QString hostName;                                       ///< "" gives "My Computer"
    bool computerIcon = false;                              ///< the image list holds "desktop"
    std::vector<platform::Volume> volumes;                  ///< in the order the tree shows them
    std::function<QString(const QString& mountPath)> label; ///< volume labels
    QString desktopFolder;                                  ///< its subfolders go under "Desktop"
    QStringList specialFolders; ///< in branch order, without trailing "/"
    /// Reads the folders on network shares, off the window's thread.
    std::function<SubfolderRead(const QString& key)> readSubfolders = ReadSubfolders;

    static FolderTreeSources system();
};

/// The folder tree's state kept by the main window.
struct FolderTreeState {
    QStringList ExpandedKeys; ///< keys loaded by an expand, in order; never shrinks
    NodeTree::Id CurrentFolderNode = NodeTree::None;
    QString lastOpenedKey; ///< the key of the folder last opened (the hidden path label lblpathx)

    [[nodiscard]] bool wasExpanded(const QString& key) const { return expanded_.contains(key); }
    void markExpanded(const QString& key);

private:
    QSet<QString> expanded_;
};

/// Key of the "Network" node, the parent of the network shares.
inline constexpr char NetworkKey[] = "network";

/// Builds the initial tree: "Desktop", the computer with one node per local volume (a
/// look-ahead child where it has subfolders; removable volumes are not read), "Network"
/// with one node per network share when there are any (labelled "server: share", not
/// read: a "Loading ..." child stands in for its folders), the desktop folder's
/// subfolders and the "SpecialFolders" branch two levels deep (NodeMark::Unloaded).
void BuildFolderTree(NodeTree& tree, const FolderTreeSources& sources);

/// Whether the node is a network share or a folder on one: its subfolders are read off
/// the window's thread (ReadSubfolders, then AddReadSubfolders), never by LoadSubfolders.
[[nodiscard]] bool OnNetworkShare(const NodeTree& tree, NodeTree::Id id);

/// Puts a finished read into the tree: the stand-in child goes, the folders are added as
/// LoadSubfolders adds them (with their look-ahead child) and sorted, and the key counts
/// as expanded. Nothing when the node is gone. Returns the number of nodes added.
int AddReadSubfolders(NodeTree& tree, FolderTreeState& state, const SubfolderRead& read);

/// Adds the subfolders of the folder whose node has `key` (key = parent key + "/" +
/// name, image "closed", selected image "open"), each with its first subfolder as a
/// look-ahead child. Existing keys are not added again (an existing node still gets its
/// look-ahead child), so loading twice adds nothing. An empty or unknown key does
/// nothing. Returns the number of nodes added.
int LoadSubfolders(NodeTree& tree, const QString& key);

/// The expand event: loads the node's subfolders once (locked, one model reset) and
/// sorts its children by text. Nothing for "root", "desk" and "Network", for keys
/// expanded before, for nodes without children and on network shares. True when it loaded.
bool ExpandFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id);

/// The node click: loads the subfolders (not of removable volumes nor on network
/// shares), sets the path label and CurrentFolderNode, and returns the folder to list,
/// ending in "/". Nothing for "root", "desk", "Network", "SpecialFolders" and the
/// "Loading ..." stand-in (the folder state is cleared).
std::optional<QString> OpenFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id);

/// True for a key that is no folder of the file system: the desktop ("desk..."), the
/// computer ("root..."), the special-folders branch and any key that is not an absolute
/// path. Such nodes take no drops and are not added to the basket.
[[nodiscard]] bool IsSystemFolderKey(const QString& key);

/// The folder the file list shows, ending in "/": the path label's folder while a
/// folder node is current, else the file list's root text ("" for "RadeZazeda" or none).
[[nodiscard]] QString CurrentFolderPath(const FolderTreeState& state,
                                        const QString& fileListRootText);
