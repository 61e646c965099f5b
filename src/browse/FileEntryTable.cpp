#include "browse/FileEntryTable.h"

#include <QHashFunctions>
#include <bit>

namespace {

quint32 hashOf(QStringView name)
{
    return quint32(qHash(name, 0));
}

} // namespace

void FileEntryTable::assign(std::vector<platform::FileEntry>&& entries)
{
    entries_ = std::move(entries);
    std::vector<Slot>().swap(slots_);
    indexed_ = entries_.empty();
}

void FileEntryTable::insert(const platform::FileEntry& entry)
{
    indexIfNeeded();
    const quint32 hash = hashOf(entry.name);
    if (!slots_.empty()) {
        const Slot& slot = slots_[slotOf(entry.name, hash)];
        if (slot.position != 0) {
            entries_[slot.position - 1] = entry;
            return;
        }
    }
    entries_.push_back(entry);
    // Keep the table at most half full so probe runs stay short.
    if (2 * entries_.size() > slots_.size())
        rebuildIndex(entries_.size());
    else
        place(hash, quint32(entries_.size()));
}

void FileEntryTable::clear()
{
    entries_.clear();
    entries_.shrink_to_fit();
    slots_.clear();
    slots_.shrink_to_fit();
    indexed_ = true;
}

const platform::FileEntry* FileEntryTable::find(QStringView name) const
{
    indexIfNeeded();
    if (slots_.empty())
        return nullptr;
    const Slot& slot = slots_[slotOf(name, hashOf(name))];
    return slot.position == 0 ? nullptr : &entries_[slot.position - 1];
}

const platform::FileEntry* FileEntryTable::find(QStringView name, qsizetype likelyAt) const
{
    if (likelyAt >= 0 && likelyAt < size()) {
        const platform::FileEntry& there = entries_[size_t(likelyAt)];
        if (QStringView(there.name) == name)
            return &there;
    }
    return find(name);
}

platform::FileEntry FileEntryTable::value(QStringView name) const
{
    const platform::FileEntry* entry = find(name);
    return entry ? *entry : platform::FileEntry{};
}

size_t FileEntryTable::slotOf(QStringView name, quint32 hash) const
{
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.position == 0 ||
            (slot.hash == hash && QStringView(entries_[slot.position - 1].name) == name))
            return at;
    }
}

void FileEntryTable::indexIfNeeded() const
{
    if (!indexed_) {
        rebuildIndex(entries_.size());
        indexed_ = true;
    }
}

void FileEntryTable::rebuildIndex(size_t capacity) const
{
    slots_.assign(std::bit_ceil(std::max<size_t>(16, 2 * capacity)), Slot{});
    for (size_t i = 0; i < entries_.size(); ++i)
        place(hashOf(entries_[i].name), quint32(i + 1));
}

void FileEntryTable::place(quint32 hash, quint32 position) const
{
    const size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    while (slots_[at].position != 0)
        at = (at + 1) & mask;
    slots_[at] = {hash, position};
}
