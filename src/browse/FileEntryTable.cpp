#include "browse/FileEntryTable.h"

#include <QHashFunctions>
#include <bit>

namespace {

quint32 hashOf(QStringView name)
{
    return quint32(qHash(name, 0));
}

} // namespace

FileEntryTable::FileEntryTable(const FileEntryTable& other)
{
    *this = other;
}

FileEntryTable& FileEntryTable::operator=(const FileEntryTable& other)
{
    if (this == &other)
        return *this;
    const platform::ExclusiveWrites::Writing writing(writes_);
    const platform::ExclusiveWrites::Reading reading(other.writes_);
    // A lookup on another thread may be indexing the other table right now.
    const std::lock_guard lock(other.indexing_);
    entries_ = other.entries_;
    slots_ = other.slots_;
    indexed_ = other.indexed_.load();
    return *this;
}

void FileEntryTable::assign(std::vector<platform::FileEntry>&& entries)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    entries_.assign(std::move(entries));
    slots_.reset();
    indexed_ = entries_.read().empty();
}

void FileEntryTable::insert(const platform::FileEntry& entry)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
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
    const platform::ExclusiveWrites::Writing writing(writes_);
    entries_.reset();
    slots_.reset();
    indexed_ = true;
}

qsizetype FileEntryTable::size() const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return qsizetype(entries_.read().size());
}

const platform::FileEntry* FileEntryTable::find(QStringView name) const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return findIndexed(name);
}

const platform::FileEntry* FileEntryTable::findIndexed(QStringView name) const
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
    const platform::ExclusiveWrites::Reading reading(writes_);
    const std::vector<platform::FileEntry>& entries = entries_.read();
    if (likelyAt >= 0 && size_t(likelyAt) < entries.size()) {
        const platform::FileEntry& there = entries[size_t(likelyAt)];
        if (QStringView(there.name) == name)
            return &there;
    }
    return findIndexed(name);
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
    if (indexed_.load(std::memory_order_acquire))
        return;
    // Lookups on several threads: the first builds the index, the others wait for it.
    const std::lock_guard lock(indexing_);
    if (!indexed_.load(std::memory_order_relaxed)) {
        rebuildIndex(entries_.read().size());
        indexed_.store(true, std::memory_order_release);
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
