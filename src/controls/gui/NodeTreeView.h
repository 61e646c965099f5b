#pragma once

#include "controls/gui/NodeTreeModel.h"

#include <QTreeView>

/// A tree view over a NodeTreeModel that keeps the nodes' expanded flags and the
/// view's expansion in step, in both directions.
class NodeTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit NodeTreeView(QWidget* parent = nullptr);

    void setNodeModel(NodeTreeModel* model);
    [[nodiscard]] NodeTreeModel* nodeModel() const { return model_; }
    /// The node at a viewport position, or None.
    [[nodiscard]] NodeTree::Id nodeAt(const QPoint& viewportPos) const;
    /// The node of the current index, or None.
    [[nodiscard]] NodeTree::Id currentNode() const;

private:
    void applyExpandedFlags();
    void onExpanded(const QModelIndex& index, bool expanded);

    NodeTreeModel* model_ = nullptr;
    bool syncing_ = false;
};
