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
    entries_.assign(std::move(entries));
    slots_.reset();
    indexed_ = entries_.read().empty();
}

void FileEntryTable::insert(const platform::FileEntry& entry)
{
    indexIfNeeded();
    const quint32 hash = hashOf(entry.name);
    if (!slots_.read().empty()) {
        const Slot& slot = slots_.read()[slotOf(entry.name, hash)];
        if (slot.position != 0) {
            entries_.write()[slot.position - 1] = entry;
            return;
        }
    }
    std::vector<platform::FileEntry>& entries = entries_.write();
    entries.push_back(entry);
    // Keep the table at most half full so probe runs stay short.
    if (2 * entries.size() > slots_.read().size())
        rebuildIndex(entries.size());
    else
        place(hash, quint32(entries.size()));
}

void FileEntryTable::clear()
{
    entries_.reset();
    slots_.reset();
    indexed_ = true;
}

const platform::FileEntry* FileEntryTable::find(QStringView name) const
{
    indexIfNeeded();
    const std::vector<Slot>& slots = slots_.read();
    if (slots.empty())
        return nullptr;
    const Slot& slot = slots[slotOf(name, hashOf(name))];
    return slot.position == 0 ? nullptr : &entries_.read()[slot.position - 1];
}

const platform::FileEntry* FileEntryTable::find(QStringView name, qsizetype likelyAt) const
{
    if (likelyAt >= 0 && likelyAt < size()) {
        const platform::FileEntry& there = entries_.read()[size_t(likelyAt)];
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
    const std::vector<Slot>& slots = slots_.read();
    const std::vector<platform::FileEntry>& entries = entries_.read();
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots[at];
        if (slot.position == 0 ||
            (slot.hash == hash && QStringView(entries[slot.position - 1].name) == name))
            return at;
    }
}

void FileEntryTable::indexIfNeeded() const
{
    if (!indexed_) {
        rebuildIndex(entries_.read().size());
        indexed_ = true;
    }
}

void FileEntryTable::rebuildIndex(size_t capacity) const
{
    slots_.assign(std::vector<Slot>(std::bit_ceil(std::max<size_t>(16, 2 * capacity))));
    const std::vector<platform::FileEntry>& entries = entries_.read();
    for (size_t i = 0; i < entries.size(); ++i)
        place(hashOf(entries[i].name), quint32(i + 1));
}

void FileEntryTable::place(quint32 hash, quint32 position) const
{
    std::vector<Slot>& slots = slots_.write();
    const size_t mask = slots.size() - 1;
    size_t at = hash & mask;
    while (slots[at].position != 0)
        at = (at + 1) & mask;
    slots[at] = {hash, position};
}
