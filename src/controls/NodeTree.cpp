#include "controls/NodeTree.h"

#include <algorithm>

namespace {
const std::vector<NodeTree::Id> NoChildren;
}

NodeTree::Id NodeTree::add(Id parent, const QString& key, const QString& text, const QString& image,
                           const QString& selectedImage)
{
    if (!key.isEmpty() && byKey_.contains(key))
        return None;
    if (parent != None && !contains(parent))
        return None;
    const Id id = Id(nodes_.size());
    const int row = int(children(parent).size());
    if (observer_ && !locked())
        observer_->beginInsert(parent, row);
    Node n;
    n.key = key;
    n.text = text;
    n.image = image;
    n.parent = parent;
    n.row = row;
    nodes_.push_back(std::move(n));
    alive_.push_back(true);
    // Only now: push_back above may move the parent's children vector.
    (parent == None ? roots_ : nodes_[size_t(parent)].children).push_back(id);
    if (!key.isEmpty())
        byKey_.insert(key, id);
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

NodeTree::Id NodeTree::find(const QString& key) const
{
    return byKey_.value(key, None);
}

bool NodeTree::contains(Id id) const
{
    return id >= 0 && size_t(id) < nodes_.size() && alive_[size_t(id)];
}

const std::vector<NodeTree::Id>& NodeTree::children(Id parent) const
{
    if (parent == None)
        return roots_;
    return contains(parent) ? nodes_[size_t(parent)].children : NoChildren;
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
        const auto& kids = node(id).children;
        stack.insert(stack.end(), kids.rbegin(), kids.rend());
    }
    return order;
}

void NodeTree::setText(Id id, const QString& text)
{
    if (contains(id)) {
        nodes_[size_t(id)].text = text;
        notifyChanged(id);
    }
}

void NodeTree::setImage(Id id, const QString& image)
{
    if (contains(id)) {
        nodes_[size_t(id)].image = image;
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
    if (observer_ && !locked())
        observer_->madeVisible(id);
}

void NodeTree::sortChildren(Id parent)
{
    std::vector<Id>& kids = parent == None ? roots_ : nodes_[size_t(parent)].children;
    if (parent != None && !contains(parent))
        return;
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

void NodeTree::removeChildren(Id parent)
{
    if (!contains(parent) || node(parent).children.empty())
        return;
    std::vector<Id>& kids = nodes_[size_t(parent)].children;
    if (observer_ && !locked())
        observer_->beginRemove(parent, 0, int(kids.size()) - 1);
    for (Id child : kids)
        eraseSubtree(child);
    kids.clear();
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
    roots_.clear();
    byKey_.clear();
    extras_.clear();
    liveCount_ = 0;
    selected_ = None;
    if (observer_) {
        if (locked())
            changedWhileLocked_ = true;
        else
            observer_->endReset();
    }
}

void NodeTree::reserve(int count)
{
    nodes_.reserve(size_t(count));
    alive_.reserve(size_t(count));
    byKey_.reserve(count);
}

void NodeTree::lock()
{
    if (lockDepth_++ == 0) {
        changedWhileLocked_ = false;
        if (observer_)
            observer_->beginReset();
    }
}

void NodeTree::unlock()
{
    if (lockDepth_ == 0)
        return;
    if (--lockDepth_ == 0 && observer_)
        observer_->endReset();
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
    std::vector<Id> stack{id};
    while (!stack.empty()) {
        const Id current = stack.back();
        stack.pop_back();
        Node& n = nodes_[size_t(current)];
        stack.insert(stack.end(), n.children.begin(), n.children.end());
        if (!n.key.isEmpty())
            byKey_.remove(n.key);
        if (selected_ == current)
            selected_ = None;
        extras_.remove(current);
        alive_[size_t(current)] = false;
        n.children.clear();
        --liveCount_;
    }
}

void NodeTree::renumber(std::vector<Id>& ids)
{
    for (size_t i = 0; i < ids.size(); ++i)
        nodes_[size_t(ids[i])].row = int(i);
}
