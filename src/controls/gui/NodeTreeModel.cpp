#include "controls/gui/NodeTreeModel.h"

#include "platform/FileNames.h"

#include <QMimeData>
#include <atomic>

NodeTreeModel::NodeTreeModel(NodeTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree)
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
    const auto& kids = tree_.children(idOf(parent));
    if (size_t(row) >= kids.size())
        return {};
    return createIndex(row, 0, quintptr(kids[size_t(row)]));
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
    return int(tree_.children(idOf(parent)).size());
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
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
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
    beginInsertRows(indexOf(parent), row, row);
}

void NodeTreeModel::endInsert()
{
    endInsertRows();
}

void NodeTreeModel::beginRemove(int parent, int first, int last)
{
    ++generation_;
    beginRemoveRows(indexOf(parent), first, last);
}

void NodeTreeModel::endRemove()
{
    endRemoveRows();
}

void NodeTreeModel::beginReset()
{
    ++generation_;
    beginResetModel();
}

void NodeTreeModel::endReset()
{
    endResetModel();
    Q_EMIT treeReset();
}

void NodeTreeModel::nodeChanged(int id)
{
    const QModelIndex i = indexOf(id);
    Q_EMIT dataChanged(i, i);
}

void NodeTreeModel::madeVisible(int id)
{
    Q_EMIT nodeMadeVisible(indexOf(id));
}
