#include "trees/BandTrees.h"

#include "trees/GroupedTree.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"
#include "trees/TreeTexts.h"

#include <QHash>
#include <QTimeZone>
#include <cmath>

namespace {

const QChar Tab = QLatin1Char('\t');

bool ready(const FileListState& state)
{
    return state.File1t.count() > 0 && state.File1Backup.ListCount() > 0;
}

/// Calls `lineFor(entry)` for entries 1.. of File1Backup and adds each line to List1.
template <typename LineFor> void fillList1(FileListState& state, LineFor lineFor)
{
    state.List1.Clear();
    const bool basket = nodescheme::isBasket(state);
    const int n = state.File1Backup.ListCount();
    for (int i = 1; i < n; ++i) {
        const QString entry = state.File1Backup.list(i);
        state.List1.Additem(lineFor(entry) + Tab + nodescheme::groupedEntry(entry, basket));
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
    const QString& prefix(const FileListState& state, const QString& entry, Make make)
    {
        const qint64 ms = nodescheme::entryTime(state, entry, state.dateBasis);
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
    fillList1(state, [&state, &bands](const QString& entry) {
        const qint64 length = nodescheme::entryLength(state, entry);
        const qint64 unit = length <= 1024               ? -1
                            : length < (qint64(1) << 20) ? qint64(std::nearbyint(length / 1024.0))
                            : length < (qint64(1) << 30)
                                ? (qint64(1) << 40) + qint64(std::nearbyint(length / 1048576.0))
                                : -2 - length;
        auto band = bands.constFind(unit);
        if (band == bands.constEnd())
            band = bands.insert(unit, SizeBandText(length));
        return QString::number(length).rightJustified(15, QLatin1Char('0')) + QLatin1Char('.') +
               *band;
    });
    const bool descending = state.treeDirection == QLatin1String("D");
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(16, tab - 16); }, QStringLiteral("24"));
    state.sortButtonTip = QStringLiteral("Sorted by Size - ") + DirectionWord(descending);
    return count;
}

int BuildDateTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    DayPrefixes days;
    fillList1(state, [&state, &days](const QString& entry) {
        return days.prefix(state, entry, [](const QDate& date) {
            const QString day = dayTextOf(date);
            return DayKey(day) + QLatin1Char('.') + day;
        });
    });
    const bool descending = state.treeDirection == QLatin1String("D");
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(8, tab - 8); }, QStringLiteral("22"));
    state.sortButtonTip = QStringLiteral("Sorted by Date - ") + DirectionWord(descending);
    return count;
}

int BuildAgeTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    const QDate today = context.now.date();
    DayPrefixes days;
    fillList1(state, [&state, &days, today](const QString& entry) {
        return days.prefix(state, entry, [today](const QDate& date) {
            const QString day = dayTextOf(date);
            return DayKey(day) + QStringLiteral("..") + AgeText(DayTextDate(day), today) +
                   QLatin1Char('@') + day;
        });
    });
    // Ages walk oldest first; "A" asks for the newest first.
    const bool newestFirst = state.treeDirection == QLatin1String("A");
    const int count = BuildGroupsFromList1(
        state, context.settings, newestFirst,
        [](QStringView line, int) { return line.mid(8, line.indexOf(QLatin1Char('@')) - 8); },
        QStringLiteral("22"));
    state.sortButtonTip = QStringLiteral("Sorted by Date - ") + DirectionWord(!newestFirst);
    return count;
}
