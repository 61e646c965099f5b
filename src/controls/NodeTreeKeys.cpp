#include "controls/NodeTree.h"

#include <algorithm>

// The key index: nodes found by key in constant time, keys sharing their folder prefix.

namespace {

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
