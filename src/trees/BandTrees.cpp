#include "trees/BandTrees.h"

#include "trees/GroupedTree.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"
#include "trees/TreeTexts.h"

#include <QHash>
#include <QTimeZone>
#include <cmath>

namespace {

bool ready(const FileList& state)
{
    return state.tree().count() > 0 && state.listedNames().ListCount() > 0;
}

/// The files 1.. of listedNames, each under the key `keyOf(entry, i)` gives for entry i.
template <typename KeyOf> GroupedFiles gatherFiles(const FileList& state, KeyOf keyOf)
{
    const bool basket = nodescheme::isBasket(state);
    const int n = state.listedNames().ListCount();
    GroupedFiles files;
    files.reserve(size_t(std::max(n - 1, 0)));
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames().textAt(i);
        files.add(keyOf(entry, i), nodescheme::groupedEntry(entry, basket));
    }
    return files;
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
    const QString& prefix(const FileList& state, const QString& entry, int at, Make make)
    {
        const qint64 ms = nodescheme::entryTime(state, entry, state.setup().dateBasis, at - 1);
        const QDate day = FileDay(ms);
        auto it = byDay_.constFind(day.toJulianDay());
        if (it == byDay_.constEnd())
            it = byDay_.insert(day.toJulianDay(), make(day));
        return *it;
    }

private:
    QHash<qint64, QString> byDay_;
};

/// The size band of a length (few in a folder, so each is made once), by rounded unit.
class SizeBands {
public:
    const QString& of(qint64 length)
    {
        const qint64 unit = length <= 1024               ? -1
                            : length < (qint64(1) << 20) ? qint64(std::nearbyint(length / 1024.0))
                            : length < (qint64(1) << 30)
                                ? (qint64(1) << 40) + qint64(std::nearbyint(length / 1048576.0))
                                : -2 - length;
        auto band = bands_.constFind(unit);
        if (band == bands_.constEnd())
            band = bands_.insert(unit, SizeBandText(length));
        return *band;
    }

private:
    QHash<qint64, QString> bands_;
};

constexpr qint64 FifteenDigits = 999'999'999'999'999;

/// The size tree of lengths too long for fifteen digits, from the scratch lines
/// themselves: such a key no longer sorts as its number.
int buildSizeTreeFromLines(FileList& state, const TreeContext& context, bool descending)
{
    SizeBands bands;
    QString key; // reused: one allocation for all the keys
    const GroupedFiles files =
        gatherFiles(state, [&state, &bands, &key](const QString& entry, int at) -> const QString& {
            const qint64 length = nodescheme::entryLength(state, entry, at - 1);
            const QString& band = bands.of(length);
            if (length > FifteenDigits) {
                key = QString::number(length) + QLatin1Char('.') + band;
                return key;
            }
            key.resize(16 + band.size());
            writeZeroPadded(key.data(), length, 15);
            key[15] = QLatin1Char('.');
            std::copy(band.begin(), band.end(), key.data() + 16);
            return key;
        });
    ListBoy lines;
    lines.reserve(int(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        lines.Additem(ScratchLine(files.keyOf(i), files.entryOf(i)));
    return BuildGroupsFromList1(
        state, lines, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(16, tab - 16); }, QStringLiteral("24"));
}

} // namespace

int BuildSizeTree(FileList& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    const bool descending = state.setup().treeDirection == SortDirection::Descending;
    // The key of a file is its length in fifteen digits and its band: files sort by
    // length, and the band alone names the group.
    SizeBands bands;
    bool tooLong = false;
    GroupedFiles files;
    const bool basket = nodescheme::isBasket(state);
    const int n = state.listedNames().ListCount();
    files.reserve(size_t(std::max(n - 1, 0)));
    for (int i = 1; i < n && !tooLong; ++i) {
        const QString& entry = state.listedNames().textAt(i);
        const qint64 length = nodescheme::entryLength(state, entry, i - 1);
        tooLong = length > FifteenDigits;
        files.add(bands.of(length), nodescheme::groupedEntry(entry, basket),
                  quint64(std::max<qint64>(length, 0)));
    }
    const int count = tooLong ? buildSizeTreeFromLines(state, context, descending)
                              : BuildGroupsFromFiles(
                                    state, context.settings, descending,
                                    [](QStringView line, int tab) { return line.left(tab); },
                                    QStringLiteral("24"), files);
    state.setShownSort({QStringLiteral("Size"), descending});
    return count;
}

int BuildDateTree(FileList& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    DayPrefixes days;
    const GroupedFiles files =
        gatherFiles(state, [&state, &days](const QString& entry, int at) -> const QString& {
            return days.prefix(state, entry, at, [](const QDate& date) {
                const QString day = dayTextOf(date);
                return DayKey(day) + QLatin1Char('.') + day;
            });
        });
    const bool descending = state.setup().treeDirection == SortDirection::Descending;
    const int count = BuildGroupsFromFiles(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.mid(8, tab - 8); }, QStringLiteral("22"),
        files);
    state.setShownSort({QStringLiteral("Date"), descending});
    return count;
}

int BuildAgeTree(FileList& state, const TreeContext& context)
{
    if (!ready(state))
        return -1;
    const QDate today = context.now.date();
    DayPrefixes days;
    const GroupedFiles files =
        gatherFiles(state, [&state, &days, today](const QString& entry, int at) -> const QString& {
            return days.prefix(state, entry, at, [today](const QDate& date) {
                const QString day = dayTextOf(date);
                return DayKey(day) + QStringLiteral("..") + AgeText(DayTextDate(day), today) +
                       QLatin1Char('@') + day;
            });
        });
    // Ages walk oldest first; "A" asks for the newest first.
    const bool newestFirst = state.setup().treeDirection == SortDirection::Ascending;
    const int count = BuildGroupsFromFiles(
        state, context.settings, newestFirst,
        [](QStringView line, int) { return line.mid(8, line.indexOf(QLatin1Char('@')) - 8); },
        QStringLiteral("22"), files);
    state.setShownSort({QStringLiteral("Date"), !newestFirst});
    return count;
}
