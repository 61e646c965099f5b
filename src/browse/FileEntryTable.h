#pragma once

#include "browse/SharedVector.h"
#include "platform/FileSystem.h"
#include "platform/ThreadChecks.h"

#include <QStringView>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

/// What the last directory read yielded, found by entry name. Names live in one vector
/// in the order they were given, their details (sizes, times, attributes) in a parallel
/// one, indexed by a flat hash table of positions: a folder of 100,000 files costs a few
/// allocations rather than one node per file. The index is built by the first lookup
/// that needs it, so a listing nobody searches by name costs none. A listing given by
/// names alone has its details read by the first lookup that asks for them, once, on
/// every core, for all the copies that share it; a plain list of names never pays for
/// them. Lookups may run on several threads at once; a change runs alone (checked where
/// assertions are on).
class FileEntryTable {
public:
    FileEntryTable() = default;
    FileEntryTable(const FileEntryTable& other);
    FileEntryTable& operator=(const FileEntryTable& other);
    ~FileEntryTable() = default;

    /// Replaces the contents with `entries` (names unique), details and all.
    void assign(std::vector<platform::FileEntry>&& entries);
    /// Replaces the contents with the names of files in `folder` (names unique), taking
    /// them without copying; their details are read when first asked for.
    void assignNames(std::vector<QString>&& names, const QString& folder);
    /// Keeps only the entries `keep` takes, in their order, their details read first.
    void keepOnly(
        const std::function<bool(const QString& name, const platform::FileDetails& details)>& keep);
    /// Adds an entry, or replaces the one with the same name.
    void insert(const platform::FileEntry& entry);
    void clear();

    /// The details of the entry named `name`, or nullptr; valid until the table changes.
    [[nodiscard]] const platform::FileDetails* find(QStringView name) const;
    /// The same, looking first at `likelyAt`: a pass over a list in the read's own order
    /// then finds each entry where it expects it, without hashing.
    [[nodiscard]] const platform::FileDetails* find(QStringView name, qsizetype likelyAt) const;
    /// Whether an entry is named `name`; needs no details.
    [[nodiscard]] bool contains(QStringView name) const;
    /// A copy of the entry named `name`, or an empty entry.
    [[nodiscard]] platform::FileEntry value(QStringView name) const;
    /// The entry named `name`, or nothing: while the listing's details are unread, that
    /// one file is looked at alone, so a tip on one file never waits for a million.
    [[nodiscard]] std::optional<platform::FileEntry> lookAtOne(QStringView name) const;
    [[nodiscard]] qsizetype size() const;
    /// Every name, in the order given; valid until the table changes.
    [[nodiscard]] const std::vector<QString>& names() const;
    /// Whether the details are at hand (given, or read by a lookup).
    [[nodiscard]] bool detailsRead() const;

private:
    /// One slot of the index: the name's hash and the entry's position + 1 (0: free).
    struct Slot {
        quint32 hash = 0;
        quint32 position = 0;
    };
    /// The details of a listing, read at most once by whichever copy asks first.
    struct Details {
        QString folder;
        std::mutex reading;
        std::atomic<bool> read{false};
        // Set by the first copy and never cleared: a change then takes details of its own.
        std::atomic<bool> shared{false};
        std::vector<platform::FileDetails> items;
    };

    [[nodiscard]] size_t slotOf(QStringView name, quint32 hash) const;
    void indexIfNeeded() const;
    void rebuildIndex(size_t capacity) const;
    void place(quint32 hash, quint32 position) const;
    /// The position of the entry named `name`, or -1.
    [[nodiscard]] qsizetype positionOf(QStringView name) const;
    [[nodiscard]] const std::vector<platform::FileDetails>& details() const;

    // Shared between copies until one changes: a rebuild's copy of a huge table is free.
    SharedVector<QString> names_;
    std::shared_ptr<Details> details_;
    // The index a lookup builds: written once under indexing_, then only read until the
    // next change; indexed_ tells lookups that it is complete.
    mutable SharedVector<Slot> slots_;
    mutable std::atomic<bool> indexed_{true};
    mutable std::mutex indexing_;
    platform::ExclusiveWrites writes_;
};
