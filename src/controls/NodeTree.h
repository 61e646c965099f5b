#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

/// Receives the changes of a NodeTree; the Qt model adapter implements it.
/// While the tree is locked (see NodeTree::lock) only reset() is sent, at unlock.
class NodeTreeObserver {
public:
    virtual ~NodeTreeObserver() = default;
    virtual void beginInsert(int parent, int row) = 0;
    virtual void endInsert() = 0;
    virtual void beginRemove(int parent, int first, int last) = 0;
    virtual void endRemove() = 0;
    virtual void beginReset() = 0;
    virtual void endReset() = 0;
    virtual void nodeChanged(int id) = 0;
    /// The node should be scrolled into view (its ancestors are expanded already).
    virtual void madeVisible(int id) = 0;
};

/// What a node is beyond its text and tag: a file the user marked for the basket, or a
/// folder whose deeper subfolders were not read (the special folders' branch).
enum class NodeMark : std::uint8_t { None, Marked, Unloaded };

/// The tree-view model behind the folder tree and the file list: nodes with unique
/// keys, texts, image keys, tags and expanded/selected flags, children kept in order.
/// Node ids are stable until clear() or removal of the node.
class NodeTree {
public:
    using Id = int;
    static constexpr Id None = -1;

    /// One node. A listing holds a node per file, so a node is kept to 48 bytes: its
    /// image is interned, its children live aside, and its key is its text unless set
    /// otherwise.
    class Node {
    public:
        QString text;
        Id parent = None;
        int row = 0; ///< position among its parent's children (or among the roots)

    private:
        friend class NodeTree;
        enum class KeyKind : std::uint8_t { None, Text, Own };
        std::uint32_t keyHash = 0;
        Id childList = None;         ///< index into childLists_, None while childless
        std::uint16_t keyPrefix = 0; ///< the key is prefixes_[keyPrefix] + its rest
        std::uint16_t imageIndex = 0;

    public:
        bool expanded = false;
        bool selected = false;

    private:
        KeyKind keyKind = KeyKind::None; ///< the key's rest: none, the text, or ownKeys_
    };

    /// Whether adding a node checks that its key is new. A caller that knows its keys
    /// are unique (the names of one folder) skips the check, and the node's key is only
    /// indexed when a lookup first needs it: a listing that is never searched costs no index.
    enum class KeyCheck { Checked, KnownUnique };

    NodeTree();
    NodeTree(const NodeTree&) = delete;
    NodeTree& operator=(const NodeTree&) = delete;

    /// Adds a node as the last child of `parent` (None: a new root). Returns its id,
    /// or None when `key` is not empty and already used (the add fails silently),
    /// or when `parent` is not a node.
    Id add(Id parent, const QString& key, const QString& text, const QString& image = {},
           const QString& selectedImage = {});
    /// Like add with the key `keyPrefix + text`, without building that string: nodes that
    /// share a prefix (a folder path) share one copy of it, and the rest of the key is the
    /// text itself.
    Id addPrefixed(Id parent, const QString& keyPrefix, const QString& text,
                   const QString& image = {}, KeyCheck check = KeyCheck::Checked);

    /// The node with that key, or None.
    [[nodiscard]] Id find(const QString& key) const;
    /// The key of a node (empty for none); built on each call.
    [[nodiscard]] QString key(Id id) const;
    [[nodiscard]] bool contains(Id id) const;
    [[nodiscard]] const Node& node(Id id) const { return nodes_[size_t(id)]; }
    /// Image key, or an image index written as text; empty for none.
    [[nodiscard]] QString image(Id id) const;
    /// Image while selected or expanded; empty means the node's own image.
    [[nodiscard]] QString selectedImage(Id id) const { return extras_.value(id).selectedImage; }
    [[nodiscard]] QString tag(Id id) const { return extras_.value(id).tag; }
    [[nodiscard]] QString toolTip(Id id) const { return extras_.value(id).toolTip; }
    /// NodeMark::None for a node never marked, and for no node at all.
    [[nodiscard]] NodeMark mark(Id id) const { return extras_.value(id).mark; }

    /// Number of nodes in the tree.
    [[nodiscard]] int count() const { return liveCount_; }
    [[nodiscard]] const std::vector<Id>& roots() const { return roots_; }
    [[nodiscard]] const std::vector<Id>& children(Id parent) const;
    /// Whether the node has children, without touching the node: a view asks this of
    /// every row it lays out, and a million nodes do not fit in the cache.
    [[nodiscard]] bool hasChildren(Id id) const
    {
        return id >= 0 && size_t(id) < hasChildren_.size() && hasChildren_[size_t(id)];
    }
    /// The first root, or None when the tree is empty.
    [[nodiscard]] Id root() const { return roots_.empty() ? None : roots_.front(); }
    /// The next sibling in order, or None.
    [[nodiscard]] Id nextSibling(Id id) const;
    /// 0 for a root, 1 for its children, and so on.
    [[nodiscard]] int depth(Id id) const;
    /// Every node in tree order: a node, then its children, then its next sibling.
    [[nodiscard]] std::vector<Id> preorder() const;

    void setText(Id id, const QString& text);
    void setImage(Id id, const QString& image);
    void setSelectedImage(Id id, const QString& image);
    void setTag(Id id, const QString& tag);
    void setToolTip(Id id, const QString& tip);
    void setMark(Id id, NodeMark mark);
    void setExpanded(Id id, bool expanded);
    /// Selects `id` (None clears the selection); only one node is selected.
    void select(Id id);
    [[nodiscard]] Id selected() const { return selected_; }
    /// Expands every ancestor and asks the view to scroll the node into view.
    void makeVisible(Id id);

    /// Orders the children of `parent` by text, ignoring case.
    void sortChildren(Id parent);
    /// Puts the children of `parent` in a new order: `order[k]` is the present row of the
    /// child that goes to row k. Each child is left collapsed and unselected, as a freshly
    /// added one is. Returns false, changing nothing, when `order` is not a permutation of
    /// the rows.
    bool reorderChildren(Id parent, const std::vector<int>& order);
    /// Whether any node carries a tag, tip, mark or image of its own beyond the common ones.
    [[nodiscard]] bool carriesExtras() const { return !extras_.isEmpty(); }
    /// Removes every child (and descendant) of `parent`.
    void removeChildren(Id parent);
    /// Removes every node.
    void clear();
    /// Exchanges the nodes of two trees; each keeps its observer, which sees one reset.
    /// A tree built away from its view (on another thread) is handed over this way.
    void swapNodes(NodeTree& other);
    /// Makes room for `count` nodes in all, so a large rebuild does not regrow storage.
    void reserve(int count);

    /// Holds back per-node notifications until the matching unlock, which sends one reset.
    /// Locks nest.
    void lock();
    void unlock();
    [[nodiscard]] bool locked() const { return lockDepth_ > 0; }

    /// Watching a tree does not change it: a view over a tree it may only read attaches
    /// itself too.
    void setObserver(NodeTreeObserver* observer) const { observer_ = observer; }

private:
    /// An interned key prefix with the hash state after it, so a prefixed key hashes
    /// only its rest.
    struct Prefix {
        QString text;
        std::uint32_t hashState = 0;
    };

    Id insertNode(Id parent, std::uint16_t prefix, const QString& ownKey, std::uint32_t hash,
                  const QString& text, const QString& image, const QString& selectedImage,
                  KeyCheck check = KeyCheck::Checked);
    /// Index of `prefix` in prefixes_, adding it when new; None when the table is full.
    [[nodiscard]] int internPrefix(const QString& prefix);
    [[nodiscard]] Id findSlotted(QStringView prefix, QStringView rest, std::uint32_t hash) const;
    [[nodiscard]] QStringView prefixOf(const Node& n) const { return prefixes_[n.keyPrefix].text; }
    /// The part of a node's key after its prefix.
    [[nodiscard]] QStringView keyRestOf(Id id) const;
    [[nodiscard]] static bool hasKey(const Node& n) { return n.keyKind != Node::KeyKind::None; }
    void setImageOf(Id id, const QString& image);
    // The key index is filled lazily, so lookups (const) may fill it: a tree is used by
    // one thread at a time.
    /// Indexes the keys of nodes added unchecked since the last lookup.
    void indexPending() const;
    /// Grows the slot table, if needed, so `keyed` keys keep it at most half full.
    void growSlotsFor(int keyed) const;
    void indexKey(Id id) const;
    void unindexKey(Id id);
    void rehash(size_t slotCount) const;
    void notifyChanged(Id id);
    void eraseSubtree(Id id);
    void renumber(std::vector<Id>& ids);
    /// The children of a node, made on first use.
    std::vector<Id>& childListOf(Id id);
    void releaseChildList(Node& n);

    /// What few nodes carry, kept aside so that a 100,000-node list stays small.
    struct Extras {
        QString image; ///< only when imageIndex is OverflowImage
        QString selectedImage;
        QString tag;
        QString toolTip;
        NodeMark mark = NodeMark::None;
    };

    /// imageIndex of a node whose image did not fit the table and sits in its Extras.
    static constexpr std::uint16_t OverflowImage = 0xFFFF;

    std::vector<Node> nodes_;
    QHash<Id, Extras> extras_;
    /// Keys that are not prefix + text (rare: group and volume nodes), by node.
    QHash<Id, QString> ownKeys_;
    std::vector<std::vector<Id>> childLists_;
    std::vector<Id> freeChildLists_;
    std::vector<QString> images_; ///< [0] is the empty image
    QHash<QString, std::uint16_t> imageIndex_;
    std::uint16_t lastImage_ = 0; ///< the image given last, a slot of images_
    std::vector<bool> alive_;
    std::vector<bool> hasChildren_; ///< per node, kept beside alive_ for hasChildren()
    std::vector<Id> roots_;
    // Open addressing over node ids, linear probing, at most half full. Each slot keeps
    // its key's hash, so probing past other keys and rehashing never touch their nodes.
    struct Slot {
        std::uint32_t hash = 0;
        Id id = None;
    };
    mutable std::vector<Slot> slots_;
    mutable int keyedCount_ = 0;
    /// Nodes before this id are in the index (when keyed); later ones wait for a lookup.
    mutable Id indexedUpTo_ = 0;
    std::vector<Prefix> prefixes_; ///< [0] is the empty prefix
    QHash<QString, int> prefixIndex_;
    int lastPrefix_ = 0;
    int liveCount_ = 0;
    Id selected_ = None;
    int lockDepth_ = 0;
    bool changedWhileLocked_ = false;
    Id visibleWhileLocked_ = None; ///< the last node made visible while locked
    mutable NodeTreeObserver* observer_ = nullptr;
};

/// Holds a NodeTree locked for the lifetime of the guard.
class NodeTreeLock {
public:
    explicit NodeTreeLock(NodeTree& tree) : tree_(tree) { tree_.lock(); }
    ~NodeTreeLock() { tree_.unlock(); }
    NodeTreeLock(const NodeTreeLock&) = delete;
    NodeTreeLock& operator=(const NodeTreeLock&) = delete;

private:
    NodeTree& tree_;
};
