#include "controls/gui/NodeTreeModel.h"

#include "platform/FileNames.h"

#include <QMimeData>
#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// The rows of one node a view is told of at first; each fetch at least doubles them.
constexpr int FirstRows = 4096;

} // namespace

NodeTreeModel::NodeTreeModel(NodeTree& tree, QObject* parent)
    : NodeTreeModel(
          std::as_const(tree),
          [&tree](NodeTree::Id id, bool expanded) { tree.setExpanded(id, expanded); }, parent)
{}

NodeTreeModel::NodeTreeModel(const NodeTree& tree, ExpandedSink expanded, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), expanded_(std::move(expanded))
{
    static std::atomic<quint64> models{0};
    serial_ = ++models;
    tree_.setObserver(this);
}

NodeTreeModel::~NodeTreeModel()
{
    tree_.setObserver(nullptr);
}

QModelIndex NodeTreeModel::indexOf(NodeTree::Id id) const
{
    if (!tree_.contains(id))
        return {};
    return createIndex(tree_.node(id).row, 0, quintptr(id));
}

int NodeTreeModel::shownRows(NodeTree::Id parent) const
{
    const int all = int(tree_.children(parent).size());
    const auto kept = shownRows_.find(parent);
    return kept == shownRows_.end() ? std::min(all, FirstRows) : std::min(all, kept->second);
}

bool NodeTreeModel::shown(NodeTree::Id id) const
{
    for (NodeTree::Id at = id; at != NodeTree::None; at = tree_.node(at).parent) {
        if (!tree_.contains(at) || tree_.node(at).row >= shownRows(tree_.node(at).parent))
            return false;
    }
    return true;
}

void NodeTreeModel::showRows(NodeTree::Id parent, int rows)
{
    const int before = shownRows(parent);
    const int after = std::min(rows, int(tree_.children(parent).size()));
    if (after <= before)
        return;
    beginInsertRows(indexOf(parent), before, after - 1);
    shownRows_[parent] = after;
    endInsertRows();
}

QModelIndex NodeTreeModel::revealIndex(NodeTree::Id id)
{
    if (!tree_.contains(id))
        return {};
    // Ancestors first: a node's rows are told only once the node itself is shown.
    std::vector<NodeTree::Id> chain;
    for (NodeTree::Id at = id; at != NodeTree::None; at = tree_.node(at).parent)
        chain.push_back(at);
    for (auto at = chain.rbegin(); at != chain.rend(); ++at)
        showRows(tree_.node(*at).parent, tree_.node(*at).row + 1);
    return indexOf(id);
}

bool NodeTreeModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid() && idOf(parent) == NodeTree::None)
        return false;
    const NodeTree::Id id = idOf(parent);
    return shownRows(id) < int(tree_.children(id).size());
}

void NodeTreeModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const NodeTree::Id id = idOf(parent);
    const int now = shownRows(id);
    showRows(id, std::max(now * 2, now + FirstRows));
}

NodeTree::Id NodeTreeModel::idOf(const QModelIndex& index) const
{
    if (!index.isValid())
        return NodeTree::None;
    const auto id = NodeTree::Id(index.internalId());
    return tree_.contains(id) ? id : NodeTree::None;
}

QModelIndex NodeTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (parent.isValid() && idOf(parent) == NodeTree::None)
        return {};
    const NodeTree::Id id = idOf(parent);
    if (row >= shownRows(id))
        return {};
    return createIndex(row, 0, quintptr(tree_.children(id)[size_t(row)]));
}

QModelIndex NodeTreeModel::parent(const QModelIndex& child) const
{
    const NodeTree::Id id = idOf(child);
    if (id == NodeTree::None)
        return {};
    return indexOf(tree_.node(id).parent);
}

int NodeTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    if (parent.isValid() && idOf(parent) == NodeTree::None)
        return 0;
    return shownRows(idOf(parent));
}

int NodeTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool NodeTreeModel::hasChildren(const QModelIndex& parent) const
{
    // Asked for every row a view lays out: the tree answers from a bit per node.
    if (!parent.isValid())
        return !tree_.roots().empty();
    return parent.column() == 0 && tree_.hasChildren(NodeTree::Id(parent.internalId()));
}

QVariant NodeTreeModel::data(const QModelIndex& index, int role) const
{
    const NodeTree::Id id = idOf(index);
    if (id == NodeTree::None)
        return {};
    const NodeTree::Node& n = tree_.node(id);
    switch (role) {
    case Qt::DisplayRole:
        return platform::displayFileName(n.text); // raw bytes as U+FFFD, format characters shown
    case Qt::ToolTipRole:
        if (const QString tip = tree_.toolTip(id); !tip.isEmpty())
            return tip;
        return {};
    case Qt::DecorationRole: {
        if (!icons_ && !nodeIcons_)
            return {};
        const QString selectedImage = tree_.selectedImage(id);
        const QString image = (n.selected || n.expanded) && !selectedImage.isEmpty()
                                  ? selectedImage
                                  : tree_.image(id);
        if (image.isEmpty())
            return {};
        return QVariant(nodeIcons_ ? nodeIcons_(id, image) : icons_(image));
    }
    default:
        return {};
    }
}

Qt::ItemFlags NodeTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    // A view lays out every row of an opened node and asks each one whether it is expanded
    // and has children; a leaf that says so at once spares it those questions. A node that
    // gains children later (an archive opened) answers anew with them.
    if (!tree_.hasChildren(NodeTree::Id(index.internalId())))
        return flags | Qt::ItemNeverHasChildren;
    return flags;
}

QStringList NodeTreeModel::mimeTypes() const
{
    // Only what the payload hook builds is ever dropped on these models' views.
    return {QStringLiteral("text/uri-list")};
}

QMimeData* NodeTreeModel::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.isEmpty() || !dragPayload_)
        return nullptr;
    return dragPayload_(idOf(indexes.first()));
}

void NodeTreeModel::beginInsert(int parent, int row)
{
    // The tree has not added the node yet. Rows past the shown ones, or below a node the
    // view does not know yet, are told when the view fetches them.
    const int shownNow = shownRows(parent);
    const int all = int(tree_.children(parent).size());
    pending_ = {};
    pending_.parent = parent;
    if ((parent != NodeTree::None && !shown(parent)) || (shownNow < all && row >= shownNow)) {
        pending_.silent = true;
        pending_.shownAfter = shownNow;
        return;
    }
    pending_.shownAfter = shownNow + 1;
    beginInsertRows(indexOf(parent), row, row);
}

void NodeTreeModel::endInsert()
{
    shownRows_[pending_.parent] = pending_.shownAfter;
    if (!pending_.silent)
        endInsertRows();
    pending_ = {};
}

void NodeTreeModel::beginRemove(int parent, int first, int last)
{
    ++generation_;
    const int shownNow = shownRows(parent);
    pending_ = {};
    pending_.parent = parent;
    if ((parent != NodeTree::None && !shown(parent)) || first >= shownNow) {
        pending_.silent = true;
        pending_.shownAfter = shownNow;
        return;
    }
    const int lastShown = std::min(last, shownNow - 1);
    pending_.shownAfter = shownNow - (lastShown - first + 1);
    beginRemoveRows(indexOf(parent), first, lastShown);
}

void NodeTreeModel::endRemove()
{
    shownRows_[pending_.parent] = pending_.shownAfter;
    if (!pending_.silent)
        endRemoveRows();
    pending_ = {};
}

void NodeTreeModel::beginReset()
{
    ++generation_;
    beginResetModel();
    shownRows_.clear();
}

void NodeTreeModel::endReset()
{
    endResetModel();
    Q_EMIT treeReset();
}

void NodeTreeModel::nodeChanged(int id)
{
    if (!shown(id))
        return; // the view asks for it when it fetches the row
    const QModelIndex i = indexOf(id);
    Q_EMIT dataChanged(i, i);
}

void NodeTreeModel::madeVisible(int id)
{
    Q_EMIT nodeMadeVisible(revealIndex(id));
}
