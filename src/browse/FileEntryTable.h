#pragma once

#include "browse/SharedVector.h"
#include "platform/FileSystem.h"

#include <QStringView>
#include <vector>

/// What the last directory read yielded, found by entry name. Entries live in one
/// vector in the order they were given, indexed by a flat hash table of positions: a
/// folder of 100,000 files costs two allocations rather than one node per file. The
/// index is built by the first lookup that needs it, so a listing nobody searches by
/// name costs none; a table is used by one thread at a time.
class FileEntryTable {
public:
    /// Replaces the contents with `entries` (names unique), taking them without copying.
    void assign(std::vector<platform::FileEntry>&& entries);
    /// Adds an entry, or replaces the one with the same name.
    void insert(const platform::FileEntry& entry);
    void clear();

    /// The entry named `name`, or nullptr.
    [[nodiscard]] const platform::FileEntry* find(QStringView name) const;
    /// The same, looking first at `likelyAt`: a pass over a list in the read's own order
    /// then finds each entry where it expects it, without hashing.
    [[nodiscard]] const platform::FileEntry* find(QStringView name, qsizetype likelyAt) const;
    [[nodiscard]] bool contains(QStringView name) const { return find(name) != nullptr; }
    /// A copy of the entry named `name`, or an empty entry.
    [[nodiscard]] platform::FileEntry value(QStringView name) const;
    [[nodiscard]] qsizetype size() const { return qsizetype(entries_.read().size()); }

private:
    /// One slot of the index: the name's hash and the entry's position + 1 (0: free).
    struct Slot {
        quint32 hash = 0;
        quint32 position = 0;
    };

    [[nodiscard]] size_t slotOf(QStringView name, quint32 hash) const;
    void indexIfNeeded() const;
    void rebuildIndex(size_t capacity) const;
    void place(quint32 hash, quint32 position) const;

    // Shared between copies until one changes: a rebuild's copy of a huge table is free.
    SharedVector<platform::FileEntry> entries_;
    mutable SharedVector<Slot> slots_;
    mutable bool indexed_ = true;
};
