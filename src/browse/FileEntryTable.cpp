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
    names_ = other.names_;
    details_ = other.details_;
    if (details_)
        details_->shared.store(true, std::memory_order_release);
    slots_ = other.slots_;
    indexed_ = other.indexed_.load();
    return *this;
}

void FileEntryTable::assign(std::vector<platform::FileEntry>&& entries)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    std::vector<QString> names;
    names.reserve(entries.size());
    auto details = std::make_shared<Details>();
    details->items.reserve(entries.size());
    for (platform::FileEntry& entry : entries) {
        names.push_back(std::move(entry.name));
        details->items.push_back(entry);
    }
    details->read = true;
    entries = {};
    names_.assign(std::move(names));
    details_ = std::move(details);
    slots_.reset();
    indexed_ = names_.read().empty();
}

void FileEntryTable::assignNames(std::vector<QString>&& names, const QString& folder)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    names_.assign(std::move(names));
    details_ = std::make_shared<Details>();
    details_->folder = folder;
    slots_.reset();
    indexed_ = names_.read().empty();
}

void FileEntryTable::keepOnly(
    const std::function<bool(const QString& name, const platform::FileDetails& details)>& keep)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    const std::vector<QString>& names = names_.read();
    const std::vector<platform::FileDetails>& details = this->details();
    std::vector<QString> keptNames;
    auto kept = std::make_shared<Details>();
    for (size_t i = 0; i < names.size(); ++i) {
        if (keep(names[i], details[i])) {
            keptNames.push_back(names[i]);
            kept->items.push_back(details[i]);
        }
    }
    kept->read = true;
    names_.assign(std::move(keptNames));
    details_ = std::move(kept);
    slots_.reset();
    indexed_ = names_.read().empty();
}

void FileEntryTable::insert(const platform::FileEntry& entry)
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    indexIfNeeded();
    // The details change here: this copy takes its own once they were ever shared.
    if (!details_ || details_->shared.load(std::memory_order_acquire) || !details_->read.load()) {
        auto own = std::make_shared<Details>();
        own->items = details();
        own->read = true;
        details_ = std::move(own);
    }
    std::vector<platform::FileDetails>& details = details_->items;
    const quint32 hash = hashOf(entry.name);
    if (!slots_.read().empty()) {
        const Slot& slot = slots_.read()[slotOf(entry.name, hash)];
        if (slot.position != 0) {
            details[slot.position - 1] = entry;
            return;
        }
    }
    std::vector<QString>& names = names_.write();
    names.push_back(entry.name);
    details.push_back(entry);
    // Keep the table at most half full so probe runs stay short.
    if (2 * names.size() > slots_.read().size())
        rebuildIndex(names.size());
    else
        place(hash, quint32(names.size()));
}

void FileEntryTable::clear()
{
    const platform::ExclusiveWrites::Writing writing(writes_);
    names_.reset();
    details_.reset();
    slots_.reset();
    indexed_ = true;
}

qsizetype FileEntryTable::size() const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return qsizetype(names_.read().size());
}

const std::vector<QString>& FileEntryTable::names() const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return names_.read();
}

bool FileEntryTable::detailsRead() const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return !details_ || details_->read.load(std::memory_order_acquire);
}

const std::vector<platform::FileDetails>& FileEntryTable::details() const
{
    static const std::vector<platform::FileDetails> none;
    if (!details_)
        return none;
    Details& d = *details_;
    if (!d.read.load(std::memory_order_acquire)) {
        // Lookups on several threads: the first reads the details, the others wait.
        const std::lock_guard lock(d.reading);
        if (!d.read.load(std::memory_order_relaxed)) {
            d.items = platform::readFileDetails(d.folder, names_.read());
            d.read.store(true, std::memory_order_release);
        }
    }
    return d.items;
}

qsizetype FileEntryTable::positionOf(QStringView name) const
{
    indexIfNeeded();
    const std::vector<Slot>& slots = slots_.read();
    if (slots.empty())
        return -1;
    return qsizetype(slots[slotOf(name, hashOf(name))].position) - 1;
}

bool FileEntryTable::contains(QStringView name) const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    return positionOf(name) >= 0;
}

const platform::FileDetails* FileEntryTable::find(QStringView name) const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    const qsizetype at = positionOf(name);
    return at < 0 ? nullptr : &details()[size_t(at)];
}

const platform::FileDetails* FileEntryTable::find(QStringView name, qsizetype likelyAt) const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    const std::vector<QString>& names = names_.read();
    qsizetype at = -1;
    if (likelyAt >= 0 && size_t(likelyAt) < names.size() &&
        QStringView(names[size_t(likelyAt)]) == name)
        at = likelyAt;
    else
        at = positionOf(name);
    return at < 0 ? nullptr : &details()[size_t(at)];
}

platform::FileEntry FileEntryTable::value(QStringView name) const
{
    platform::FileEntry entry;
    if (const platform::FileDetails* details = find(name)) {
        static_cast<platform::FileDetails&>(entry) = *details;
        entry.name = name.toString();
    }
    return entry;
}

std::optional<platform::FileEntry> FileEntryTable::lookAtOne(QStringView name) const
{
    const platform::ExclusiveWrites::Reading reading(writes_);
    const qsizetype at = positionOf(name);
    if (at < 0)
        return std::nullopt;
    platform::FileEntry entry;
    entry.name = names_.read()[size_t(at)];
    if (details_->read.load(std::memory_order_acquire)) {
        static_cast<platform::FileDetails&>(entry) = details_->items[size_t(at)];
        return entry;
    }
    const std::vector<platform::FileDetails> one =
        platform::readFileDetails(details_->folder, {entry.name});
    static_cast<platform::FileDetails&>(entry) = one.front();
    return entry;
}

size_t FileEntryTable::slotOf(QStringView name, quint32 hash) const
{
    const std::vector<Slot>& slots = slots_.read();
    const std::vector<QString>& names = names_.read();
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots[at];
        if (slot.position == 0 ||
            (slot.hash == hash && QStringView(names[slot.position - 1]) == name))
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
        rebuildIndex(names_.read().size());
        indexed_.store(true, std::memory_order_release);
    }
}

void FileEntryTable::rebuildIndex(size_t capacity) const
{
    slots_.assign(std::vector<Slot>(std::bit_ceil(std::max<size_t>(16, 2 * capacity))));
    const std::vector<QString>& names = names_.read();
    for (size_t i = 0; i < names.size(); ++i)
        place(hashOf(names[i]), quint32(i + 1));
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
