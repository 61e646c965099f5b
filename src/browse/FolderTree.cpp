#include "browse/FolderTree.h"

#include "browse/FileList.h"
#include "browse/NodeImages.h"
#include "platform/FileSystem.h"
#include "platform/NetworkShares.h"
#include "platform/SpecialFolders.h"
#include "platform/SystemInfo.h"
#include "shared/TextHelpers.h"

namespace {

const QString& Closed = FolderImageKey(FolderImage::Closed);
const QString& Open = FolderImageKey(FolderImage::Open);
const QString SpecialKey = QStringLiteral("SpecialFolders");
const QString Network = QString::fromLatin1(NetworkKey);
const QString& Net = FolderImageKey(FolderImage::Net);

// "/a/b/" and "/a/b" both give "/a/b"; the root gives "".
QString withoutSlash(const QString& path)
{
    QString p = path;
    while (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString childKey(const QString& parentPath, const QString& name)
{
    return withoutSlash(parentPath) + QLatin1Char('/') + name;
}

// The desktop folders and the special folders sit in the tree a second time, beside the
// volumes. Their keys end in "/" so that they never take the key of the same folder
// under its volume (keys are unique, and the first node to take one would hide the
// other). Children keep their parent's form.
bool inBranch(const QString& key)
{
    return key.size() > 1 && key.endsWith(QLatin1Char('/'));
}

QString childKeyLike(const QString& parentKey, const QString& name)
{
    const QString key = childKey(parentKey, name);
    return inBranch(parentKey) ? key + QLatin1Char('/') : key;
}

// Adds the first subfolder of the node's folder under it so that it shows an expand mark.
void addLookAhead(NodeTree& tree, NodeTree::Id node, const QString& key)
{
    const QString first = platform::firstSubfolder(key);
    if (!first.isEmpty())
        tree.add(node, childKeyLike(key, first), first, Closed, Open);
}

void addSpecialFolder(NodeTree& tree, NodeTree::Id branch, const QString& path)
{
    const NodeTree::Id node =
        tree.add(branch, WithSlash(path), NameAfterLastBackslash(withoutSlash(path)));
    if (node == NodeTree::None)
        return;
    tree.setMark(node, NodeMark::Unloaded);
    for (const QString& name : platform::listSubfolders(path)) {
        const QString subPath = childKey(path, name);
        const NodeTree::Id sub = tree.add(node, WithSlash(subPath), name, Closed);
        if (sub == NodeTree::None)
            continue;
        tree.setMark(sub, NodeMark::Unloaded);
        for (const QString& inner : platform::listSubfolders(subPath)) {
            const NodeTree::Id leaf =
                tree.add(sub, WithSlash(childKey(subPath, inner)), inner, Closed);
            if (leaf != NodeTree::None)
                tree.setMark(leaf, NodeMark::Unloaded);
        }
    }
}

// A share's folders are read only when it is opened or expanded; until then a child
// without a key stands in, so that the share shows its expand mark.
void addNetworkShares(NodeTree& tree, NodeTree::Id desk, const FolderTreeSources& sources)
{
    NodeTree::Id branch = NodeTree::None;
    for (const platform::Volume& v : sources.volumes) {
        if (v.kind != platform::VolumeKind::Remote)
            continue;
        if (branch == NodeTree::None)
            branch = tree.add(desk, Network, QStringLiteral("Network"), Net);
        const NodeTree::Id share = tree.add(branch, v.mountPath, platform::ShareLabel(v), Net);
        if (share == NodeTree::None)
            continue;
        tree.setToolTip(share, v.mountPath);
        tree.add(share, QString(), QStringLiteral("Loading ..."));
        // Opens "Network" so that the shares are visible, as the computer's volumes are.
        if (tree.children(branch).size() == 1)
            tree.makeVisible(share);
    }
}

bool isFolderKey(const QString& key)
{
    return !key.isEmpty() && key != QLatin1String("root") && key != QLatin1String("desk") &&
           key != SpecialKey && key != Network;
}

} // namespace

SubfolderRead ReadSubfolders(const QString& key)
{
    SubfolderRead read{key, {}, {}};
    const QString folder = withoutSlash(key).isEmpty() ? QStringLiteral("/") : key;
    read.names = platform::listSubfolders(folder);
    for (const QString& name : read.names)
        read.firstSubfolders << platform::firstSubfolder(childKey(key, name));
    return read;
}

bool OnNetworkShare(const NodeTree& tree, NodeTree::Id id)
{
    for (NodeTree::Id at = id; tree.contains(at); at = tree.node(at).parent) {
        const NodeTree::Id parent = tree.node(at).parent;
        if (parent != NodeTree::None && tree.key(parent) == Network)
            return true;
    }
    return false;
}

int AddReadSubfolders(NodeTree& tree, FolderTreeState& state, const SubfolderRead& read)
{
    const NodeTree::Id parent = tree.find(read.key);
    if (read.key.isEmpty() || parent == NodeTree::None)
        return 0;
    NodeTreeLock lock(tree);
    const std::vector<NodeTree::Id>& children = tree.children(parent);
    if (children.size() == 1 && tree.key(children.front()).isEmpty())
        tree.removeChildren(parent);
    int added = 0;
    for (qsizetype i = 0; i < read.names.size(); ++i) {
        const QString path = childKeyLike(read.key, read.names[i]);
        NodeTree::Id node = tree.add(parent, path, read.names[i], Closed, Open);
        if (node != NodeTree::None)
            ++added;
        else
            node = tree.find(path);
        const QString first = read.firstSubfolders.value(i);
        if (node != NodeTree::None && tree.children(node).empty() && !first.isEmpty())
            tree.add(node, childKeyLike(path, first), first, Closed, Open);
    }
    tree.sortChildren(parent);
    state.markExpanded(read.key);
    return added;
}

FolderTreeSources FolderTreeSources::system()
{
    FolderTreeSources s;
    s.hostName = platform::hostName();
    s.volumes = platform::MountedVolumes();
    s.label = platform::VolumeLabel;
    s.desktopFolder = platform::DesktopFolder();
    s.specialFolders = platform::SpecialFolders();
    return s;
}

void FolderTreeState::markExpanded(const QString& key)
{
    if (!expanded_.contains(key)) {
        expanded_.insert(key);
        ExpandedKeys << key;
    }
}

void BuildFolderTree(NodeTree& tree, const FolderTreeSources& sources)
{
    NodeTreeLock lock(tree);
    const NodeTree::Id desk =
        tree.add(NodeTree::None, QStringLiteral("desk"), QStringLiteral("Desktop"),
                 FolderImageKey(FolderImage::Desk));
    const QString computerName =
        sources.hostName.isEmpty() ? QStringLiteral("My Computer") : sources.hostName;
    const NodeTree::Id computer =
        tree.add(desk, QStringLiteral("root"), computerName,
                 sources.computerIcon ? FolderImageKey(FolderImage::Desktop) : Open);

    NodeTree::Id firstVolume = NodeTree::None;
    for (const platform::Volume& v : sources.volumes) {
        if (v.kind == platform::VolumeKind::Remote)
            continue;
        const bool removable = v.kind == platform::VolumeKind::Removable;
        const QString label =
            (!removable && sources.label) ? sources.label(v.mountPath) : QString();
        const NodeTree::Id node = tree.add(computer, v.mountPath, platform::VolumeText(v, label),
                                           platform::VolumeImage(v.kind));
        if (node == NodeTree::None)
            continue;
        if (firstVolume == NodeTree::None)
            firstVolume = node;
        if (!removable)
            addLookAhead(tree, node, v.mountPath);
    }

    addNetworkShares(tree, desk, sources);

    if (!sources.desktopFolder.isEmpty()) {
        for (const QString& name : platform::listSubfolders(sources.desktopFolder))
            tree.add(desk, WithSlash(childKey(sources.desktopFolder, name)), name, Closed);
    }
    // Opens the computer node so that the volumes are visible.
    if (firstVolume != NodeTree::None)
        tree.makeVisible(firstVolume);

    const NodeTree::Id branch = tree.add(desk, SpecialKey, SpecialKey);
    for (const QString& path : sources.specialFolders)
        addSpecialFolder(tree, branch, path);
}

int LoadSubfolders(NodeTree& tree, const QString& key)
{
    if (key.isEmpty())
        return 0;
    const NodeTree::Id parent = tree.find(key);
    if (parent == NodeTree::None)
        return 0;
    int added = 0;
    const QString folder = withoutSlash(key).isEmpty() ? QStringLiteral("/") : key;
    for (const QString& name : platform::listSubfolders(folder)) {
        const QString path = childKeyLike(key, name);
        NodeTree::Id node = tree.add(parent, path, name, Closed, Open);
        if (node != NodeTree::None)
            ++added;
        else
            node = tree.find(path);
        // A node that existed already (a former look-ahead child) still gets its own
        // look-ahead child, so that it shows its expand mark.
        if (node != NodeTree::None && tree.children(node).empty())
            addLookAhead(tree, node, path);
    }
    return added;
}

bool ExpandFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id)
{
    if (!tree.contains(id))
        return false;
    const QString key = tree.key(id);
    if (key == QLatin1String("root") || key == QLatin1String("desk") || key == Network ||
        state.wasExpanded(key) || tree.children(id).empty() || OnNetworkShare(tree, id))
        return false;
    {
        NodeTreeLock lock(tree);
        LoadSubfolders(tree, key);
        tree.sortChildren(id);
    }
    state.markExpanded(key);
    return true;
}

std::optional<QString> OpenFolderNode(NodeTree& tree, FolderTreeState& state, NodeTree::Id id)
{
    if (!tree.contains(id))
        return std::nullopt;
    const QString key = tree.key(id);
    if (!isFolderKey(key)) {
        state.CurrentFolderNode = NodeTree::None;
        state.lastOpenedKey.clear();
        return std::nullopt;
    }
    // Removable volumes are never read on a click (their files are still listed), nor
    // network shares here: a slow server would hold up the window.
    if (FolderImageOf(tree.image(id)) != FolderImage::Floppy && !OnNetworkShare(tree, id)) {
        NodeTreeLock lock(tree);
        LoadSubfolders(tree, key);
    }
    state.lastOpenedKey = key;
    state.CurrentFolderNode = id;
    return WithSlash(key);
}

bool IsSystemFolderKey(const QString& key)
{
    return key.startsWith(QLatin1String("root")) || key.startsWith(QLatin1String("desk")) ||
           key.startsWith(QLatin1String("SpecialFolders")) || !key.startsWith(u'/');
}

QString CurrentFolderPath(const FolderTreeState& state, const QString& fileListRootText)
{
    if (state.CurrentFolderNode == NodeTree::None) {
        if (fileListRootText.isEmpty() || fileListRootText == BasketHeader)
            return {};
        return WithSlash(fileListRootText);
    }
    QString path = state.lastOpenedKey;
    if (path.startsWith(QStringLiteral("\r\n")))
        path = path.mid(2);
    return WithSlash(path);
}
