#include "browse/ListBoy.h"

#include "browse/SortChunks.h"
#include "browse/Wildcard.h"
#include "platform/FileAccess.h"
#include "platform/SafeWrite.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr char16_t Tab = u'\t';

QString dataText(double value)
{
    return QString::number(value, 'g', 15);
}

/// Compares the whole stored lines (text, TAB, data) by character codes from position
/// `from` on, without building them: the texts decide unless one is a prefix of the
/// other, and only then is the data written out.
int compareLines(const ListBoy::Item& a, const ListBoy::Item& b, qsizetype from = 0)
{
    const qsizetype common = std::min(a.text.size(), b.text.size());
    if (from < common) {
        const QStringView x = QStringView(a.text).mid(from, common - from);
        const QStringView y = QStringView(b.text).mid(from, common - from);
        if (const int c = x.compare(y); c != 0)
            return c;
    }
    if (a.text.size() == b.text.size()) {
        if (a.data == b.data)
            return 0;
        return QStringView(dataText(a.data)).compare(dataText(b.data));
    }
    // One text ends first: its TAB meets the other's next character, then the data.
    const QString tailA = a.text.mid(common) + Tab + dataText(a.data);
    const QString tailB = b.text.mid(common) + Tab + dataText(b.data);
    return QStringView(tailA).compare(tailB);
}

/// Quicksort with a random pivot and a hole-moving partition. The smaller half is
/// sorted first and the larger one iterated, so the stack stays O(log n) deep.
template <typename T, typename Less> void quickSort(std::vector<T>& a, Less less)
{
    if (a.size() < 2)
        return;
    std::minstd_rand rng{std::random_device{}()};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::pair<qsizetype, qsizetype>> pending;
    pending.emplace_back(0, qsizetype(a.size()) - 1);
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        while (lo < hi) {
            auto pivotAt = lo + qsizetype(double(hi - lo + 1) * unit(rng));
            pivotAt = std::min(pivotAt, hi);
            T pivot = std::move(a[size_t(pivotAt)]);
            a[size_t(pivotAt)] = std::move(a[size_t(lo)]);
            qsizetype i = lo;
            qsizetype j = hi;
            while (i < j) {
                // Strict comparisons on both sides split runs of equal lines evenly.
                while (i < j && less(pivot, a[size_t(j)]))
                    --j;
                if (i < j)
                    a[size_t(i++)] = std::move(a[size_t(j)]);
                while (i < j && less(a[size_t(i)], pivot))
                    ++i;
                if (i < j)
                    a[size_t(j--)] = std::move(a[size_t(i)]);
            }
            a[size_t(i)] = std::move(pivot);
            if (i - lo < hi - i) {
                pending.emplace_back(i + 1, hi);
                hi = i - 1;
            } else {
                pending.emplace_back(lo, i - 1);
                lo = i + 1;
            }
        }
    }
}

/// An item's place in a sort: a key that settles most comparisons, and the item.
struct Keyed {
    quint64 key;
    quint32 index;
};

/// Quicksorts the items by `key` first and the whole line from `from` on when keys tie,
/// then puts them in that order. Sorting small keyed records instead of the items keeps
/// the comparisons in cache.
void sortKeyed(std::vector<ListBoy::Item>& items, std::vector<Keyed>& keyed, qsizetype from,
               bool descending)
{
    const auto less = [&items, from](const Keyed& x, const Keyed& y) {
        if (x.key != y.key)
            return x.key < y.key;
        return compareLines(items[x.index], items[y.index], from) < 0;
    };
    if (descending)
        quickSort(keyed, [&less](const Keyed& x, const Keyed& y) { return less(y, x); });
    else
        quickSort(keyed, less);
    std::vector<ListBoy::Item> sorted;
    sorted.reserve(items.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(items[k.index]));
    items.swap(sorted);
}

/// The sort chunk of the whole line (text, TAB, data) at `at`.
quint64 lineChunk(const ListBoy::Item& item, qsizetype at)
{
    if (at + 4 <= item.text.size())
        return sortchunks::pack(item.text, at);
    // Short texts: the TAB and the data follow within the chunk.
    const QString tail = item.text.mid(at) + Tab + dataText(item.data);
    return sortchunks::pack(tail, 0);
}

void sortLines(std::vector<ListBoy::Item>& items, bool descending)
{
    if (items.size() < 2)
        return;
    // Lines past the prefix they all share are told apart by their next four characters.
    const qsizetype shared =
        sortchunks::commonPrefix(qsizetype(items.size()), items.front().text,
                                 [&items](qsizetype i) { return QStringView(items[i].text); });
    std::vector<Keyed> keyed(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        keyed[i] = {lineChunk(items[i], shared), quint32(i)};
    sortKeyed(items, keyed, shared, descending);
}

/// The item data as the 12-digit prefix a text sort would order numerically: values
/// outside 0..10^12-1 are clamped so the prefix keeps its width.
quint64 dataPrefix(double value)
{
    return quint64(std::clamp(std::round(value), 0.0, 999999999999.0));
}

} // namespace

void ListBoy::Additem(const QString& itemText)
{
    items_.write().push_back({itemText, 0});
}

void ListBoy::Additem(const QString& itemText, int index)
{
    if (index <= 0) {
        std::vector<Item>& items = items_.write();
        items.insert(items.begin(), Item{itemText, 0});
        return;
    }
    if (index >= ListCount())
        return;
    std::vector<Item>& items = items_.write();
    items.insert(items.begin() + index, Item{itemText, 0});
}

void ListBoy::RemoveItem(int index)
{
    if (index < 0 || index >= ListCount())
        return;
    std::vector<Item>& items = items_.write();
    items.erase(items.begin() + index);
}

const QString& ListBoy::textAt(int index) const
{
    static const QString none;
    return index < 0 || index >= ListCount() ? none : items_.read()[size_t(index)].text;
}

QString ListBoy::list(int index, int column) const
{
    if (index < 0 || index >= ListCount())
        return {};
    const Item& item = items_.read()[size_t(index)];
    if (column < 1)
        return item.text;
    qsizetype start = 0;
    for (int field = 1; field < column; ++field) {
        const qsizetype tab = item.text.indexOf(Tab, start);
        if (tab < 0)
            return field + 1 == column ? dataText(item.data) : QString();
        start = tab + 1;
    }
    const qsizetype end = item.text.indexOf(Tab, start);
    return end < 0 ? item.text.mid(start) : item.text.mid(start, end - start);
}

void ListBoy::UpdateText(int index, const QString& newText)
{
    if (index >= 0 && index < ListCount())
        items_.write()[size_t(index)].text = newText;
}

double ListBoy::GetItemData(int index) const
{
    if (index < 0 || index >= ListCount())
        return 0;
    return items_.read()[size_t(index)].data;
}

void ListBoy::SetItemData(int index, double itemData)
{
    if (index >= 0 && index < ListCount())
        items_.write()[size_t(index)].data = itemData;
}

void ListBoy::Clear()
{
    items_.reset();
}

int ListBoy::Find(const QString& findText, int columnNumber, bool searchDirection, int startIndex,
                  bool caseSensitive) const
{
    const int count = ListCount();
    if (count == 0 || startIndex < 0 || startIndex >= count)
        return -1;
    const WildcardPattern pattern(findText,
                                  caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    const int step = searchDirection ? -1 : 1;
    int i = searchDirection ? count - 1 : 0;
    if (startIndex > 0)
        i = startIndex;
    for (; i >= 0 && i < count; i += step) {
        if (pattern.matches(list(i, columnNumber)))
            return i;
    }
    return -1;
}

int ListBoy::FindItemData(double value, int startIndex, bool searchDirection) const
{
    const int count = ListCount();
    if (count == 0 || startIndex < 0 || startIndex >= count)
        return -1;
    const int step = searchDirection ? -1 : 1;
    int i = searchDirection ? count - 1 : 0;
    if (startIndex > 0)
        i = startIndex;
    for (; i >= 0 && i < count; i += step) {
        if (GetItemData(i) == value)
            return i;
    }
    return -1;
}

void ListBoy::SortAscending()
{
    sortLines(items_.write(), false);
}

void ListBoy::SortDescending()
{
    sortLines(items_.write(), true);
}

void ListBoy::sortByItemData(bool descending)
{
    // The data's fixed-width prefix decides first; the whole line breaks ties.
    std::vector<Item>& items = items_.write();
    std::vector<Keyed> keyed(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        keyed[i] = {dataPrefix(items[i].data), quint32(i)};
    sortKeyed(items, keyed, 0, descending);
}

void ListBoy::SortItemDataAscending()
{
    sortByItemData(false);
}

void ListBoy::SortItemDataDescending()
{
    sortByItemData(true);
}

bool ListBoy::LoadFile(const QString& fileName)
{
    QFile file;
    if (!platform::openForReading(file, fileName))
        return false;
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r')
            --stop;
        Additem(text.mid(start, stop - start));
        start = end + 1;
    }
    return !failed;
}

bool ListBoy::SaveFile(const QString& fileName) const
{
    QByteArray bytes;
    for (const Item& item : items_.read()) {
        bytes += item.text.toUtf8();
        bytes += '\n';
    }
    return platform::WriteFileSafely(fileName, bytes);
}

QStringList ListBoy::texts() const
{
    QStringList result;
    result.reserve(ListCount());
    for (const Item& item : items_.read())
        result.append(item.text);
    return result;
}

void ListBoy::CopyFromList(const QStringList& lines)
{
    std::vector<Item>& items = items_.write();
    items.reserve(items.size() + size_t(lines.size()));
    for (const QString& line : lines)
        Additem(line);
}
