#pragma once

#include "controls/NodeTree.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <optional>
#include <unordered_map>

class QMimeData;

/// A Qt item model over a NodeTree. The tree stays the owner of the data; the model
/// follows its changes (one reset per locked rebuild). A node with thousands of children
/// shows the first ones and the rest as the view scrolls down to them (fetchMore), so a
/// view never lays out a million rows at once.
class NodeTreeModel : public QAbstractItemModel, private NodeTreeObserver {
    Q_OBJECT
public:
    /// Turns a node's image key (or image index text) into an icon.
    using IconProvider = std::function<QIcon(const QString& image)>;

    /// Where the marks of nodes the user opens or closes go.
    using ExpandedSink = std::function<void(NodeTree::Id id, bool expanded)>;

    /// A model that keeps the user's open and closed nodes in `tree` itself.
    explicit NodeTreeModel(NodeTree& tree, QObject* parent = nullptr);
    /// A model over a tree it only reads; the user's open and closed nodes go to `expanded`.
    NodeTreeModel(const NodeTree& tree, ExpandedSink expanded, QObject* parent = nullptr);
    ~NodeTreeModel() override;

    /// Turns a node and its image key into an icon, for views whose icons depend on
    /// more than the key (a group node, say). Takes the place of the IconProvider.
    using NodeIconProvider = std::function<QIcon(NodeTree::Id id, const QString& image)>;

    void setIconProvider(IconProvider provider) { icons_ = std::move(provider); }
    void setNodeIconProvider(NodeIconProvider provider) { nodeIcons_ = std::move(provider); }
    [[nodiscard]] const NodeTree& tree() const { return tree_; }
    /// Records that the user opened or closed `id`.
    void setExpanded(NodeTree::Id id, bool expanded) { expanded_(id, expanded); }

    [[nodiscard]] QModelIndex indexOf(NodeTree::Id id) const;
    /// The index of `id` after its rows and its ancestors' are shown to the view, for a
    /// node that is to be selected or scrolled to.
    QModelIndex revealIndex(NodeTree::Id id);
    /// Whether the view has been told of `id` (every ancestor's rows up to it shown).
    [[nodiscard]] bool shown(NodeTree::Id id) const;
    [[nodiscard]] NodeTree::Id idOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// Builds what a drag of a node carries (the caller of the hook owns the result);
    /// without a hook the model's nodes cannot be dragged.
    using DragPayload = std::function<QMimeData*(NodeTree::Id id)>;
    void setDragPayload(DragPayload payload) { dragPayload_ = std::move(payload); }
    /// A number no other model of this process has.
    [[nodiscard]] quint64 serial() const { return serial_; }
    /// Changes whenever nodes are removed or the tree is rebuilt, so node ids taken
    /// before may name other nodes now.
    [[nodiscard]] quint64 generation() const { return generation_; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

Q_SIGNALS:
    /// A node asked to be scrolled into view.
    void nodeMadeVisible(const QModelIndex& index);
    /// The tree was rebuilt; views re-apply the expanded flags.
    void treeReset();

private:
    void beginInsert(int parent, int row) override;
    void endInsert() override;
    void beginRemove(int parent, int first, int last) override;
    void endRemove() override;
    void beginReset() override;
    void endReset() override;
    void nodeChanged(int id) override;
    void madeVisible(int id) override;

    /// How many of `parent`'s children the view has been told of.
    [[nodiscard]] int shownRows(NodeTree::Id parent) const;
    /// Tells the view of `parent`'s children up to `rows` of them.
    void showRows(NodeTree::Id parent, int rows);

    const NodeTree& tree_;
    ExpandedSink expanded_;
    /// Shown row counts that differ from the first page (min(children, FirstRows)).
    std::unordered_map<NodeTree::Id, int> shownRows_;
    /// An insert or removal the view is not told of (past the shown rows), or the count
    /// the parent shows once it ends.
    struct PendingChange {
        bool silent = false;
        NodeTree::Id parent = NodeTree::None;
        int shownAfter = 0;
    };
    PendingChange pending_;
    NodeIconProvider nodeIcons_;
    IconProvider icons_;
    DragPayload dragPayload_;
    quint64 serial_ = 0;
    quint64 generation_ = 0;
};
