#include "trees/BandTrees.h"

#include "trees/GroupedTree.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"
#include "trees/TreeTexts.h"

#include <QHash>
#include <QTimeZone>
#include <cmath>

namespace {

bool ready(const FileListState& state)
{
    return state.fileTree.count() > 0 && state.listedNames.ListCount() > 0;
}

/// Adds to sortLines the scratch line of each entry 1.. of listedNames: the key
/// `keyOf(entry, i)` gives for entry i, a TAB, the entry.
template <typename KeyOf> void fillList1(FileListState& state, KeyOf keyOf)
{
    state.sortLines.Clear();
    const bool basket = nodescheme::isBasket(state);
    const int n = state.listedNames.ListCount();
    state.sortLines.reserve(n);
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames.textAt(i);
        state.sortLines.Additem(
            ScratchLine(keyOf(entry, i), nodescheme::groupedEntry(entry, basket)));
    }
}

/// `value` as `width` decimal digits with leading zeros, written at `out`.
void writeZeroPadded(QChar* out, qint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = QLatin1Char(char('0' + value % 10));
        value /= 10;
    }
}

/// The day text ("05 Jan 2005") of an entry's time for the date basis.
QString dayTextOf(const QDate& day)
{
    return DayText(FileDateText(QDateTime(day, QTime(0, 0), QTimeZone::utc())));
}

/// Scratch-line prefixes by calendar day: a large folder holds few distinct days, so
/// the date texts are made once per day rather than once per file.
class DayPrefixes {
public:
    template <typename Make>
    QStringView prefix(const FileListState& state, const QString& entry, int at, Make make)
    {
        const qint64 ms = nodescheme::entryTime(state, entry, state.dateBasis, at - 1);
        const QDate day = FileDay(ms);
        auto it = byDay_.constFind(day.toJulianDay());
        if (it == byDay_.constEnd())
            it = byDay_.insert(day.toJulianDay(), make(day));
        return *it;
    }

private:
    QHash<qint64, QString> byDay_;
};

} // namespace

int BuildSizeTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    QHash<qint64, QString> bands; // by rounded unit: few distinct bands in a folder
    QString key;                  // reused: one allocation for all the keys
    fillList1(state, [&state, &bands, &key](const QString& entry, int at) {
        const qint64 length = nodescheme::entryLength(state, entry, at - 1);
        const qint64 unit = length <= 1024               ? -1
                            : length < (qint64(1) << 20) ? qint64(std::nearbyint(length / 1024.0))
                            : length < (qint64(1) << 30)
                                ? (qint64(1) << 40) + qint64(std::nearbyint(length / 1048576.0))
                                : -2 - length;
        auto band = bands.constFind(unit);
        if (band == bands.constEnd())
            band = bands.insert(unit, SizeBandText(length));
        constexpr qint64 FifteenDigits = 999'999'999'999'999;
        if (length > FifteenDigits) {
            key = QString::number(length) + QLatin1Char('.') + *band;
            return QStringView(key);
        }
        key.resize(16 + band->size());
        writeZeroPadded(key.data(), length, 15);
        key[15] = QLatin1Char('.');
        std::copy(band->begin(), band->end(), key.data() + 16);
        return QStringView(key);
    });
    const bool descending = state.treeDirection == SortDirection::Descending;
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(16, tab - 16); }, QStringLiteral("24"));
    state.shownSort.set(QStringLiteral("Size"), descending);
    return count;
}

int BuildDateTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    DayPrefixes days;
    fillList1(state, [&state, &days](const QString& entry, int at) {
        return days.prefix(state, entry, at, [](const QDate& date) {
            const QString day = dayTextOf(date);
            return DayKey(day) + QLatin1Char('.') + day;
        });
    });
    const bool descending = state.treeDirection == SortDirection::Descending;
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(8, tab - 8); }, QStringLiteral("22"));
    state.shownSort.set(QStringLiteral("Date"), descending);
    return count;
}

int BuildAgeTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    const QDate today = context.now.date();
    DayPrefixes days;
    fillList1(state, [&state, &days, today](const QString& entry, int at) {
        return days.prefix(state, entry, at, [today](const QDate& date) {
            const QString day = dayTextOf(date);
            return DayKey(day) + QStringLiteral("..") + AgeText(DayTextDate(day), today) +
                   QLatin1Char('@') + day;
        });
    });
    // Ages walk oldest first; only a chosen ascending order walks newest first.
    const bool newestFirst = state.treeDirection == SortDirection::Ascending;
    const int count = BuildGroupsFromList1(
        state, context.settings, newestFirst,
        [](QStringView line, int) { return line.mid(8, line.indexOf(QLatin1Char('@')) - 8); },
        QStringLiteral("22"));
    state.shownSort.set(QStringLiteral("Date"), !newestFirst);
    return count;
}
