#include "controls/NodeTree.h"

#include <algorithm>
#include <utility>

namespace {
const std::vector<NodeTree::Id> NoChildren;

// Key prefixes are numbered in 16 bits; index 0 is the empty prefix.
constexpr size_t MaxPrefix = 0xFFFF;

// FNV-1a over UTF-16 code units: streaming, so a key hashes the same whether it comes
// whole or as prefix and rest.
constexpr std::uint32_t HashBasis = 2166136261u;

std::uint32_t feedHash(std::uint32_t state, QStringView text)
{
    for (const QChar c : text)
        state = (state ^ c.unicode()) * 16777619u;
    return state;
}

// FNV's low bits depend only on the inputs' low bits; the table indexes by low bits.
std::uint32_t finishHash(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

// Whether a1 + a2 == b1 + b2, without joining either.
bool equalJoined(QStringView a1, QStringView a2, QStringView b1, QStringView b2)
{
    if (a1.size() + a2.size() != b1.size() + b2.size())
        return false;
    QStringView a[2] = {a1, a2};
    QStringView b[2] = {b1, b2};
    int i = 0;
    int j = 0;
    for (;;) {
        while (i < 2 && a[i].isEmpty())
            ++i;
        while (j < 2 && b[j].isEmpty())
            ++j;
        if (i == 2 || j == 2)
            return i == 2 && j == 2;
        const qsizetype n = std::min(a[i].size(), b[j].size());
        if (a[i].first(n) != b[j].first(n))
            return false;
        a[i] = a[i].sliced(n);
        b[j] = b[j].sliced(n);
    }
}
} // namespace

static_assert(sizeof(NodeTree::Node) <= 48, "a node per listed file must stay small");

NodeTree::NodeTree() : images_{QString()}, prefixes_{Prefix{QString(), HashBasis}} {}

NodeTree::Id NodeTree::add(Id parent, const QString& key, const QString& text, const QString& image,
                           const QString& selectedImage)
{
    const std::uint32_t hash = finishHash(feedHash(HashBasis, key));
    indexPending();
    if (!key.isEmpty() && findSlotted({}, key, hash) != None)
        return None;
    return insertNode(parent, 0, key, hash, text, image, selectedImage);
}

NodeTree::Id NodeTree::addPrefixed(Id parent, const QString& keyPrefix, const QString& text,
                                   const QString& image, KeyCheck check)
{
    const int prefix = internPrefix(keyPrefix);
    if (prefix < 0) // too many distinct prefixes to intern: keep the whole key
        return add(parent, keyPrefix + text, text, image);
    const Prefix& p = prefixes_[size_t(prefix)];
    const std::uint32_t hash = finishHash(feedHash(p.hashState, text));
    const bool keyed = prefix != 0 || !text.isEmpty();
    if (keyed && check == KeyCheck::Checked) {
        indexPending();
        if (findSlotted(p.text, text, hash) != None)
            return None;
    }
    return insertNode(parent, std::uint16_t(prefix), keyed ? text : QString(), hash, text, image,
                      {}, check);
}

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
    const bool restIsText = ownKey.isEmpty() || ownKey == text;
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
    // Images are a handful of keys shared by many nodes: keep each once.
    auto known = imageIndex_.constFind(image);
    if (known != imageIndex_.constEnd()) {
        n.imageIndex = *known;
    } else if (images_.size() < OverflowImage) {
        n.imageIndex = std::uint16_t(images_.size());
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

NodeTree::Id NodeTree::find(const QString& key) const
{
    if (key.isEmpty())
        return None;
    indexPending();
    return findSlotted({}, key, finishHash(feedHash(HashBasis, key)));
}

QString NodeTree::key(Id id) const
{
    if (!contains(id))
        return {};
    const Node& n = node(id);
    if (!hasKey(n))
        return {};
    if (n.keyPrefix == 0)
        return keyRestOf(id).toString();
    const QStringView rest = keyRestOf(id);
    QString joined;
    joined.reserve(prefixes_[n.keyPrefix].text.size() + rest.size());
    return joined.append(prefixes_[n.keyPrefix].text).append(rest);
}

QStringView NodeTree::keyRestOf(Id id) const
{
    const Node& n = node(id);
    switch (n.keyKind) {
    case Node::KeyKind::Text:
        return n.text;
    case Node::KeyKind::Own: {
        auto own = ownKeys_.constFind(id);
        return own == ownKeys_.constEnd() ? QStringView() : QStringView(*own);
    }
    case Node::KeyKind::None:
        break;
    }
    return {};
}

int NodeTree::internPrefix(const QString& prefix)
{
    if (prefix.isEmpty())
        return 0;
    // A rebuild passes the same folder string for every file: compare the data first.
    const QString& last = prefixes_[size_t(lastPrefix_)].text;
    if ((last.constData() == prefix.constData() && last.size() == prefix.size()) || last == prefix)
        return lastPrefix_;
    auto known = prefixIndex_.constFind(prefix);
    if (known != prefixIndex_.constEnd())
        return lastPrefix_ = *known;
    if (prefixes_.size() > MaxPrefix)
        return -1;
    const int index = int(prefixes_.size());
    prefixes_.push_back(Prefix{prefix, feedHash(HashBasis, prefix)});
    prefixIndex_.insert(prefix, index);
    return lastPrefix_ = index;
}

NodeTree::Id NodeTree::findSlotted(QStringView prefix, QStringView rest, std::uint32_t hash) const
{
    if (slots_.empty())
        return None;
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.id == None)
            return None;
        if (slot.hash != hash)
            continue;
        const Node& n = nodes_[size_t(slot.id)];
        if (equalJoined(prefixOf(n), keyRestOf(slot.id), prefix, rest))
            return slot.id;
    }
}

void NodeTree::indexPending() const
{
    const Id end = Id(nodes_.size());
    if (indexedUpTo_ == end)
        return;
    int pending = 0;
    for (Id id = indexedUpTo_; id < end; ++id)
        pending += alive_[size_t(id)] && hasKey(nodes_[size_t(id)]) ? 1 : 0;
    growSlotsFor(keyedCount_ + pending);
    for (Id id = indexedUpTo_; id < end; ++id) {
        if (alive_[size_t(id)] && hasKey(nodes_[size_t(id)]))
            indexKey(id);
    }
    indexedUpTo_ = end;
}

void NodeTree::growSlotsFor(int keyed) const
{
    size_t size = std::max<size_t>(16, slots_.size());
    while (size < size_t(keyed) * 2)
        size *= 2;
    if (size != slots_.size())
        rehash(size);
}

void NodeTree::indexKey(Id id) const
{
    const size_t mask = slots_.size() - 1;
    const std::uint32_t hash = nodes_[size_t(id)].keyHash;
    size_t i = hash & mask;
    while (slots_[i].id != None)
        i = (i + 1) & mask;
    slots_[i] = {hash, id};
    ++keyedCount_;
}

void NodeTree::unindexKey(Id id)
{
    const size_t mask = slots_.size() - 1;
    size_t hole = nodes_[size_t(id)].keyHash & mask;
    while (slots_[hole].id != id)
        hole = (hole + 1) & mask;
    // Backward shift: pull later entries of the run into the hole unless that would move
    // one before its home slot.
    for (size_t i = (hole + 1) & mask; slots_[i].id != None; i = (i + 1) & mask) {
        const size_t home = slots_[i].hash & mask;
        if (((i - home) & mask) >= ((i - hole) & mask)) {
            slots_[hole] = slots_[i];
            hole = i;
        }
    }
    slots_[hole] = Slot{};
    --keyedCount_;
}

void NodeTree::rehash(size_t slotCount) const
{
    slots_.assign(slotCount, Slot{});
    const size_t mask = slotCount - 1;
    for (size_t id = 0; id < size_t(indexedUpTo_); ++id) {
        if (!alive_[id] || !hasKey(nodes_[id]))
            continue;
        const std::uint32_t hash = nodes_[id].keyHash;
        size_t i = hash & mask;
        while (slots_[i].id != None)
            i = (i + 1) & mask;
        slots_[i] = {hash, Id(id)};
    }
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
