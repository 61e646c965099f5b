#include "browse/ListBoy.h"

#include "browse/Wildcard.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr char16_t Tab = u'\t';

const QString& zeroData()
{
    static const QString zero = QStringLiteral("0");
    return zero;
}

QString dataText(double value)
{
    return QString::number(value, 'g', 15);
}

/// Character `i` of the line text, TAB, data.
char16_t lineAt(const ListBoy::Item& item, qsizetype i)
{
    const qsizetype n = item.text.size();
    if (i < n)
        return item.text[i].unicode();
    return i == n ? Tab : item.data[i - n - 1].unicode();
}

/// Compares the whole stored lines (text, TAB, data) by character codes without
/// building them: the texts decide unless one is a prefix of the other.
int compareLines(const ListBoy::Item& a, const ListBoy::Item& b)
{
    const qsizetype common = std::min(a.text.size(), b.text.size());
    if (const int c = QStringView(a.text).left(common).compare(QStringView(b.text).left(common));
        c != 0)
        return c;
    const qsizetype la = a.text.size() + 1 + a.data.size();
    const qsizetype lb = b.text.size() + 1 + b.data.size();
    for (qsizetype i = common; i < la && i < lb; ++i) {
        const char16_t ca = lineAt(a, i);
        const char16_t cb = lineAt(b, i);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return la < lb ? -1 : (la > lb ? 1 : 0);
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

void sortLines(std::vector<ListBoy::Item>& lines, bool descending)
{
    using Item = ListBoy::Item;
    if (descending)
        quickSort(lines, [](const Item& x, const Item& y) { return compareLines(y, x) < 0; });
    else
        quickSort(lines, [](const Item& x, const Item& y) { return compareLines(x, y) < 0; });
}

/// The item data as a fixed 12-digit prefix, so a text sort orders it numerically.
/// Values outside 0..10^12-1 are clamped so the prefix keeps its width.
QString dataPrefix(double value)
{
    const double clamped = std::clamp(std::round(value), 0.0, 999999999999.0);
    return QStringLiteral("%1").arg(qint64(clamped), 12, 10, QChar(u'0'));
}

} // namespace

void ListBoy::Additem(const QString& itemText)
{
    items_.push_back({itemText, zeroData()});
}

void ListBoy::Additem(const QString& itemText, int index)
{
    if (index <= 0) {
        items_.insert(items_.begin(), Item{itemText, zeroData()});
        return;
    }
    if (index >= ListCount())
        return;
    items_.insert(items_.begin() + index, Item{itemText, zeroData()});
}

void ListBoy::RemoveItem(int index)
{
    if (index < 0 || index >= ListCount())
        return;
    items_.erase(items_.begin() + index);
}

QString ListBoy::list(int index, int column) const
{
    if (index < 0 || index >= ListCount())
        return {};
    const Item& item = items_[size_t(index)];
    if (column < 1)
        return item.text;
    qsizetype start = 0;
    for (int field = 1; field < column; ++field) {
        const qsizetype tab = item.text.indexOf(Tab, start);
        if (tab < 0)
            return field + 1 == column ? item.data : QString();
        start = tab + 1;
    }
    const qsizetype end = item.text.indexOf(Tab, start);
    return end < 0 ? item.text.mid(start) : item.text.mid(start, end - start);
}

void ListBoy::UpdateText(int index, const QString& newText)
{
    if (index >= 0 && index < ListCount())
        items_[size_t(index)].text = newText;
}

double ListBoy::GetItemData(int index) const
{
    if (index < 0 || index >= ListCount())
        return 0;
    return items_[size_t(index)].data.toDouble();
}

void ListBoy::SetItemData(int index, double itemData)
{
    if (index >= 0 && index < ListCount())
        items_[size_t(index)].data = dataText(itemData);
}

void ListBoy::Clear()
{
    items_.clear();
    items_.shrink_to_fit();
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
    sortLines(items_, false);
}

void ListBoy::SortDescending()
{
    sortLines(items_, true);
}

void ListBoy::sortByItemData(bool descending)
{
    // The fixed-width prefix in front of each line makes a line sort numeric by data.
    struct Keyed {
        QString prefix;
        Item item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items_.size());
    for (Item& item : items_)
        keyed.push_back({dataPrefix(item.data.toDouble()), std::move(item)});
    const auto less = [](const Keyed& x, const Keyed& y) {
        if (const int c = QStringView(x.prefix).compare(y.prefix); c != 0)
            return c < 0;
        return compareLines(x.item, y.item) < 0;
    };
    if (descending)
        quickSort(keyed, [&less](const Keyed& x, const Keyed& y) { return less(y, x); });
    else
        quickSort(keyed, less);
    for (size_t i = 0; i < keyed.size(); ++i)
        items_[i] = std::move(keyed[i].item);
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
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
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
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const Item& item : items_) {
        bytes += item.text.toUtf8();
        bytes += '\n';
    }
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QStringList ListBoy::texts() const
{
    QStringList result;
    result.reserve(ListCount());
    for (const Item& item : items_)
        result.append(item.text);
    return result;
}

void ListBoy::CopyFromList(const QStringList& lines)
{
    items_.reserve(items_.size() + size_t(lines.size()));
    for (const QString& line : lines)
        Additem(line);
}
