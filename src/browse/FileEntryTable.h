#pragma once

#include "browse/SharedVector.h"
#include "platform/FileSystem.h"
#include "platform/ThreadChecks.h"

#include <QStringView>
#include <atomic>
#include <mutex>
#include <vector>

/// What the last directory read yielded, found by entry name. Entries live in one
/// vector in the order they were given, indexed by a flat hash table of positions: a
/// folder of 100,000 files costs two allocations rather than one node per file. The
/// index is built by the first lookup that needs it, so a listing nobody searches by
/// name costs none. Lookups may run on several threads at once; a change runs alone
/// (checked where assertions are on).
class FileEntryTable {
public:
    FileEntryTable() = default;
    FileEntryTable(const FileEntryTable& other);
    FileEntryTable& operator=(const FileEntryTable& other);
    ~FileEntryTable() = default;

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
    [[nodiscard]] qsizetype size() const;

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
    [[nodiscard]] const platform::FileEntry* findIndexed(QStringView name) const;

    // Shared between copies until one changes: a rebuild's copy of a huge table is free.
    SharedVector<platform::FileEntry> entries_;
    // The index a lookup builds: written once under indexing_, then only read until the
    // next change; indexed_ tells lookups that it is complete.
    mutable SharedVector<Slot> slots_;
    mutable std::atomic<bool> indexed_{true};
    mutable std::mutex indexing_;
    platform::ExclusiveWrites writes_;
};
