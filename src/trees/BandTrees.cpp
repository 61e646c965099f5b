#include "trees/BandTrees.h"

#include "trees/GroupedTree.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"
#include "trees/TreeTexts.h"

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

QString dayTextOf(const FileListState& state, const QString& entry)
{
    const qint64 ms = nodescheme::entryTime(state, entry, state.dateBasis);
    return DayText(FileDateText(FileTimeFields(ms)));
}

} // namespace

int BuildSizeTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    fillList1(state, [&state](const QString& entry) {
        const qint64 length = nodescheme::entryLength(state, entry);
        return QStringLiteral("%1").arg(length, 15, 10, QLatin1Char('0')) + QLatin1Char('.') +
               SizeBandText(length);
    });
    const bool descending = state.treeDirection == QLatin1String("D");
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](const QString& line, int tab) { return line.mid(16, tab - 16); }, QStringLiteral("24"));
    state.sortButtonTip = QStringLiteral("Sorted by Size - ") + DirectionWord(descending);
    return count;
}

int BuildDateTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    fillList1(state, [&state](const QString& entry) {
        const QString day = dayTextOf(state, entry);
        return DayKey(day) + QLatin1Char('.') + day;
    });
    const bool descending = state.treeDirection == QLatin1String("D");
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](const QString& line, int tab) { return line.mid(8, tab - 8); }, QStringLiteral("22"));
    state.sortButtonTip = QStringLiteral("Sorted by Date - ") + DirectionWord(descending);
    return count;
}

int BuildAgeTree(FileListState& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    const QDate today = context.now.date();
    fillList1(state, [&state, today](const QString& entry) {
        const QString day = dayTextOf(state, entry);
        return DayKey(day) + QStringLiteral("..") + AgeText(DayTextDate(day), today) +
               QLatin1Char('@') + day;
    });
    // Ages walk oldest first; "A" asks for the newest first.
    const bool newestFirst = state.treeDirection == QLatin1String("A");
    const int count = BuildGroupsFromList1(
        state, context.settings, newestFirst,
        [](const QString& line, int) { return line.mid(8, line.indexOf(QLatin1Char('@')) - 8); },
        QStringLiteral("22"));
    state.sortButtonTip = QStringLiteral("Sorted by Date - ") + DirectionWord(!newestFirst);
    return count;
}
