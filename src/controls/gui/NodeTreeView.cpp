#include "controls/gui/NodeTreeView.h"

#include <QHeaderView>

NodeTreeView::NodeTreeView(QWidget* parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& i) { onExpanded(i, true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& i) { onExpanded(i, false); });
}

void NodeTreeView::setNodeModel(NodeTreeModel* model)
{
    model_ = model;
    setModel(model);
    connect(model, &NodeTreeModel::treeReset, this, &NodeTreeView::applyExpandedFlags);
    connect(model, &NodeTreeModel::nodeMadeVisible, this, [this](const QModelIndex& i) {
        applyExpandedFlags();
        scrollTo(i);
    });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex&) {
                const NodeTree::Id id = model_->idOf(topLeft);
                if (id != NodeTree::None && !syncing_ &&
                    isExpanded(topLeft) != model_->tree().node(id).expanded) {
                    syncing_ = true;
                    setExpanded(topLeft, model_->tree().node(id).expanded);
                    syncing_ = false;
                }
            });
    applyExpandedFlags();
}

NodeTree::Id NodeTreeView::nodeAt(const QPoint& viewportPos) const
{
    return model_ ? model_->idOf(indexAt(viewportPos)) : NodeTree::None;
}

NodeTree::Id NodeTreeView::currentNode() const
{
    return model_ ? model_->idOf(currentIndex()) : NodeTree::None;
}

void NodeTreeView::applyExpandedFlags()
{
    if (!model_)
        return;
    syncing_ = true;
    const NodeTree& tree = model_->tree();
    // Only nodes with children can be expanded: a list of a million files is one such
    // node, so no walk over every node is built. Parents still come before children.
    std::vector<NodeTree::Id> pending(tree.roots().rbegin(), tree.roots().rend());
    while (!pending.empty()) {
        const NodeTree::Id id = pending.back();
        pending.pop_back();
        const std::vector<NodeTree::Id>& kids = tree.children(id);
        if (tree.node(id).expanded && !kids.empty())
            setExpanded(model_->indexOf(id), true);
        for (auto kid = kids.rbegin(); kid != kids.rend(); ++kid) {
            if (tree.hasChildren(*kid))
                pending.push_back(*kid);
        }
    }
    syncing_ = false;
}

void NodeTreeView::onExpanded(const QModelIndex& index, bool expanded)
{
    if (syncing_ || !model_)
        return;
    const NodeTree::Id id = model_->idOf(index);
    if (id != NodeTree::None) {
        syncing_ = true;
        model_->setExpanded(id, expanded);
        syncing_ = false;
    }
}
