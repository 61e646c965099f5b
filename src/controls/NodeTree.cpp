#include "controls/NodeTree.h"

#include <algorithm>
#include <utility>

namespace {
const std::vector<NodeTree::Id> NoChildren;
} // namespace

static_assert(sizeof(NodeTree::Node) <= 48, "a node per listed file must stay small");

NodeTree::Id NodeTree::insertNode(Id parent, std::uint16_t prefix, const QString& ownKey,
                                  std::uint32_t hash, const QString& text, const QString& image,
                                  const QString& selectedImage, KeyCheck check)
{
    if (parent != None && !contains(parent))
        return None;
    const Id id = Id(nodes_.size());
    const int row = int(children(parent).size());
    if (observer_ && !locked())
        observer_->beginInsert(parent, row);
    const bool keyed = prefix != 0 || !ownKey.isEmpty();
    const bool indexNow = keyed && check == KeyCheck::Checked;
    if (indexNow)
        growSlotsFor(keyedCount_ + 1);
    Node n;
    n.text = text;
    n.parent = parent;
    n.row = row;
    n.keyHash = hash;
    n.keyPrefix = prefix;
    // A key whose rest is the text shares it rather than keeping a second string.
    const bool restIsText =
        ownKey.isEmpty() ||
        (ownKey.constData() == text.constData() && ownKey.size() == text.size()) || ownKey == text;
    n.keyKind = !keyed       ? Node::KeyKind::None
                : restIsText ? Node::KeyKind::Text
                             : Node::KeyKind::Own;
    nodes_.push_back(std::move(n));
    alive_.push_back(true);
    hasChildren_.push_back(false);
    if (parent != None)
        hasChildren_[size_t(parent)] = true;
    if (nodes_.back().keyKind == Node::KeyKind::Own)
        ownKeys_.insert(id, ownKey);
    setImageOf(id, image);
    (parent == None ? roots_ : childListOf(parent)).push_back(id);
    if (indexNow)
        indexKey(id);
    if (indexedUpTo_ == id && (indexNow || !keyed))
        indexedUpTo_ = id + 1;
    if (!selectedImage.isEmpty())
        extras_[id].selectedImage = selectedImage;
    ++liveCount_;
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endInsert();
    }
    return id;
}

void NodeTree::setImageOf(Id id, const QString& image)
{
    Node& n = nodes_[size_t(id)];
    if (n.imageIndex == OverflowImage && extras_.contains(id))
        extras_[id].image.clear();
    if (image.isEmpty()) {
        n.imageIndex = 0;
        return;
    }
    // Images are a handful of keys shared by many nodes: keep each once. A rebuild passes
    // the same string for node after node: compare the data before hashing.
    const QString& last = images_[lastImage_];
    if (last.constData() == image.constData() && last.size() == image.size()) {
        n.imageIndex = lastImage_;
        return;
    }
    auto known = imageIndex_.constFind(image);
    if (known != imageIndex_.constEnd()) {
        n.imageIndex = lastImage_ = *known;
    } else if (images_.size() < OverflowImage) {
        n.imageIndex = lastImage_ = std::uint16_t(images_.size());
        images_.push_back(image);
        imageIndex_.insert(image, n.imageIndex);
    } else {
        n.imageIndex = OverflowImage;
        extras_[id].image = image;
    }
}

QString NodeTree::image(Id id) const
{
    if (!contains(id))
        return {};
    const std::uint16_t index = node(id).imageIndex;
    return index == OverflowImage ? extras_.value(id).image : images_[index];
}

std::vector<NodeTree::Id>& NodeTree::childListOf(Id id)
{
    Node& n = nodes_[size_t(id)];
    if (n.childList == None) {
        if (!freeChildLists_.empty()) {
            n.childList = freeChildLists_.back();
            freeChildLists_.pop_back();
        } else {
            n.childList = Id(childLists_.size());
            childLists_.emplace_back();
        }
    }
    return childLists_[size_t(n.childList)];
}

void NodeTree::releaseChildList(Node& n)
{
    if (n.childList == None)
        return;
    std::vector<Id>().swap(childLists_[size_t(n.childList)]);
    freeChildLists_.push_back(n.childList);
    n.childList = None;
}

bool NodeTree::contains(Id id) const
{
    return id >= 0 && size_t(id) < nodes_.size() && alive_[size_t(id)];
}

const std::vector<NodeTree::Id>& NodeTree::children(Id parent) const
{
    if (parent == None)
        return roots_;
    if (!contains(parent))
        return NoChildren;
    const Id list = nodes_[size_t(parent)].childList;
    return list == None ? NoChildren : childLists_[size_t(list)];
}

NodeTree::Id NodeTree::nextSibling(Id id) const
{
    if (!contains(id))
        return None;
    const Node& n = node(id);
    const std::vector<Id>& siblings = children(n.parent);
    return size_t(n.row + 1) < siblings.size() ? siblings[size_t(n.row + 1)] : None;
}

int NodeTree::depth(Id id) const
{
    int d = 0;
    while (contains(id) && node(id).parent != None) {
        id = node(id).parent;
        ++d;
    }
    return d;
}

std::vector<NodeTree::Id> NodeTree::preorder() const
{
    std::vector<Id> order;
    order.reserve(size_t(liveCount_));
    std::vector<Id> stack(roots_.rbegin(), roots_.rend());
    while (!stack.empty()) {
        const Id id = stack.back();
        stack.pop_back();
        order.push_back(id);
        const auto& kids = children(id);
        stack.insert(stack.end(), kids.rbegin(), kids.rend());
    }
    return order;
}

void NodeTree::setText(Id id, const QString& text)
{
    if (!contains(id))
        return;
    Node& n = nodes_[size_t(id)];
    // The key stays what it was: keep its rest apart before the text changes.
    if (n.keyKind == Node::KeyKind::Text && n.text != text) {
        ownKeys_.insert(id, n.text);
        n.keyKind = Node::KeyKind::Own;
    }
    n.text = text;
    notifyChanged(id);
}

void NodeTree::setImage(Id id, const QString& image)
{
    if (contains(id)) {
        setImageOf(id, image);
        notifyChanged(id);
    }
}

void NodeTree::setSelectedImage(Id id, const QString& image)
{
    if (contains(id)) {
        extras_[id].selectedImage = image;
        notifyChanged(id);
    }
}

void NodeTree::setTag(Id id, const QString& tag)
{
    if (contains(id) && (!tag.isEmpty() || extras_.contains(id)))
        extras_[id].tag = tag;
}

void NodeTree::setToolTip(Id id, const QString& tip)
{
    if (contains(id) && (!tip.isEmpty() || extras_.contains(id)))
        extras_[id].toolTip = tip;
}

void NodeTree::setMark(Id id, NodeMark mark)
{
    if (contains(id) && (mark != NodeMark::None || extras_.contains(id)))
        extras_[id].mark = mark;
}

void NodeTree::setExpanded(Id id, bool expanded)
{
    if (contains(id) && nodes_[size_t(id)].expanded != expanded) {
        nodes_[size_t(id)].expanded = expanded;
        notifyChanged(id);
    }
}

void NodeTree::select(Id id)
{
    if (contains(selected_))
        nodes_[size_t(selected_)].selected = false;
    selected_ = contains(id) ? id : None;
    if (selected_ != None)
        nodes_[size_t(selected_)].selected = true;
}

void NodeTree::makeVisible(Id id)
{
    if (!contains(id))
        return;
    for (Id p = node(id).parent; p != None; p = node(p).parent)
        setExpanded(p, true);
    if (locked())
        visibleWhileLocked_ = id;
    else if (observer_)
        observer_->madeVisible(id);
}

void NodeTree::sortChildren(Id parent)
{
    if (parent != None && (!contains(parent) || node(parent).childList == None))
        return;
    std::vector<Id>& kids = parent == None ? roots_ : childListOf(parent);
    if (observer_ && !locked())
        observer_->beginReset();
    std::stable_sort(kids.begin(), kids.end(), [this](Id a, Id b) {
        return node(a).text.compare(node(b).text, Qt::CaseInsensitive) < 0;
    });
    renumber(kids);
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endReset();
    }
}

bool NodeTree::reorderChildren(Id parent, const std::vector<int>& order)
{
    if (parent != None && (!contains(parent) || node(parent).childList == None))
        return false;
    std::vector<Id>& kids = parent == None ? roots_ : childListOf(parent);
    if (order.size() != kids.size())
        return false;
    // The new row of each present row, so the nodes are then visited in id order: a
    // million-node list is walked through memory once, not at random.
    std::vector<int> newRow(kids.size(), -1);
    for (size_t k = 0; k < order.size(); ++k) {
        const int from = order[k];
        if (from < 0 || size_t(from) >= kids.size() || newRow[size_t(from)] != -1)
            return false;
        newRow[size_t(from)] = int(k);
    }
    if (observer_ && !locked())
        observer_->beginReset();
    std::vector<Id> arranged(kids.size());
    for (size_t row = 0; row < kids.size(); ++row) {
        Node& n = nodes_[size_t(kids[row])];
        n.row = newRow[row];
        n.expanded = false;
        if (n.selected) {
            n.selected = false;
            selected_ = None;
        }
        arranged[size_t(newRow[row])] = kids[row];
    }
    kids.swap(arranged);
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endReset();
    }
    return true;
}

void NodeTree::removeChildren(Id parent)
{
    if (!contains(parent) || children(parent).empty())
        return;
    std::vector<Id>& kids = childListOf(parent);
    if (observer_ && !locked())
        observer_->beginRemove(parent, 0, int(kids.size()) - 1);
    for (Id child : kids)
        eraseSubtree(child);
    releaseChildList(nodes_[size_t(parent)]);
    hasChildren_[size_t(parent)] = false;
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endRemove();
    }
}

void NodeTree::clear()
{
    if (observer_ && !locked())
        observer_->beginReset();
    nodes_.clear();
    alive_.clear();
    hasChildren_.clear();
    roots_.clear();
    // The slots keep their size: a cleared list is usually rebuilt at once.
    std::fill(slots_.begin(), slots_.end(), Slot{});
    keyedCount_ = 0;
    indexedUpTo_ = 0;
    prefixes_.resize(1);
    prefixIndex_.clear();
    lastPrefix_ = 0;
    extras_.clear();
    ownKeys_.clear();
    childLists_.clear();
    freeChildLists_.clear();
    images_.resize(1);
    imageIndex_.clear();
    lastImage_ = 0;
    liveCount_ = 0;
    selected_ = None;
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endReset();
    }
}

void NodeTree::swapNodes(NodeTree& other)
{
    lock();
    other.lock();
    nodes_.swap(other.nodes_);
    extras_.swap(other.extras_);
    ownKeys_.swap(other.ownKeys_);
    childLists_.swap(other.childLists_);
    freeChildLists_.swap(other.freeChildLists_);
    images_.swap(other.images_);
    imageIndex_.swap(other.imageIndex_);
    std::swap(lastImage_, other.lastImage_);
    alive_.swap(other.alive_);
    hasChildren_.swap(other.hasChildren_);
    roots_.swap(other.roots_);
    slots_.swap(other.slots_);
    std::swap(keyedCount_, other.keyedCount_);
    std::swap(indexedUpTo_, other.indexedUpTo_);
    prefixes_.swap(other.prefixes_);
    prefixIndex_.swap(other.prefixIndex_);
    std::swap(lastPrefix_, other.lastPrefix_);
    std::swap(liveCount_, other.liveCount_);
    std::swap(selected_, other.selected_);
    visibleWhileLocked_ = root();
    other.visibleWhileLocked_ = None;
    other.unlock();
    unlock();
}

void NodeTree::reserve(int count)
{
    nodes_.reserve(size_t(count));
    alive_.reserve(size_t(count));
    hasChildren_.reserve(size_t(count));
}

void NodeTree::lock()
{
    if (lockDepth_++ == 0) {
        changedWhileLocked_ = false;
        visibleWhileLocked_ = None;
        if (observer_)
            observer_->beginReset();
    }
}

void NodeTree::unlock()
{
    if (lockDepth_ == 0)
        return;
    if (--lockDepth_ != 0 || !observer_)
        return;
    observer_->endReset();
    // A view shows the node made visible during the rebuild (say the first node),
    // not the scroll position of the list it had before.
    if (contains(visibleWhileLocked_))
        observer_->madeVisible(std::exchange(visibleWhileLocked_, None));
}

void NodeTree::notifyChanged(Id id)
{
    if (!observer_)
        return;
    if (locked())
        changedWhileLocked_ = true;
    else
        observer_->nodeChanged(id);
}

void NodeTree::eraseSubtree(Id id)
{
    indexPending(); // a removed key must be in the index to leave it
    std::vector<Id> stack{id};
    while (!stack.empty()) {
        const Id current = stack.back();
        stack.pop_back();
        const std::vector<Id>& kids = children(current);
        stack.insert(stack.end(), kids.begin(), kids.end());
        Node& n = nodes_[size_t(current)];
        if (hasKey(n))
            unindexKey(current);
        if (selected_ == current)
            selected_ = None;
        extras_.remove(current);
        ownKeys_.remove(current);
        alive_[size_t(current)] = false;
        releaseChildList(n);
        hasChildren_[size_t(current)] = false;
        --liveCount_;
    }
}

void NodeTree::renumber(std::vector<Id>& ids)
{
    for (size_t i = 0; i < ids.size(); ++i)
        nodes_[size_t(ids[i])].row = int(i);
}
