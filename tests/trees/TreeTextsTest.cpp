#include "trees/TreeTexts.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

struct BandCase {
    qint64 length;
    const char* band;
};

TEST(SizeBandText, BandsAtTheirBoundaries)
{
    const BandCase cases[] = {
        {0, ".Kb 0001 and below"},
        {1024, ".Kb 0001 and below"},
        {1025, ".Kb 0001 to 0100"},
        {102'399, ".Kb 0100 to 0200"}, // 99.999 Kb rounds to 100
        {102'400, ".Kb 0100 to 0200"},
        {1'048'575, ".Kb 1000 to 1100"},
        {1'048'576, ".Mb 0001 to 0010"},
        {8 * 1'048'576, ".Mb 0001 to 0010"},
        {9 * 1'048'576, ".Mb 0010 to 0020"}, // megabyte bands start one early
        {19 * 1'048'576, ".Mb 0020 to 0030"},
        {1'073'741'823, ".Mb 1020 to 1030"},
        {1'073'741'824, ".Gb 0001.000"},
        {1'610'612'736, ".Gb 0001.500"},
        // Halves round to even: 99.5 Kb up to 100, 8.5 Mb down to 8 (below the 0010 band).
        {qint64(99.5 * 1024), ".Kb 0100 to 0200"},
        {qint64(8.5 * 1'048'576), ".Mb 0001 to 0010"},
        {qint64(10.5 * 1'048'576), ".Mb 0010 to 0020"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeBandText(c.length), QLatin1String(c.band)) << c.length;
}

TEST(DateTexts, FileDateDayTextAndKey)
{
    const auto texts = [](QDate day, QTime time) {
        const QString text = FileDateText(QDateTime(day, time, QTimeZone::utc()));
        return QStringList({text, DayText(text), DayKey(DayText(text))});
    };
    EXPECT_EQ(texts({2005, 1, 5}, {9, 7, 3}),
              QStringList({"5 Jan 2005 - 9:7:3", "05 Jan 2005", "20050105"}));
    EXPECT_EQ(texts({2019, 12, 31}, {23, 59, 59}),
              QStringList({"31 Dec 2019 - 23:59:59", "31 Dec 2019", "20191231"}));
}

TEST(DateTexts, FileTimesAreReadAsUtcFields)
{
    const QDateTime fields = FileTimeFields(0);
    EXPECT_EQ(fields.date(), QDate(1970, 1, 1));
    EXPECT_EQ(fields.time(), QTime(0, 0, 0));
    // The quick day used by the trees agrees with the full conversion around midnight,
    // before the epoch too.
    for (const qint64 ms : {qint64(0), qint64(-1), qint64(86399999), qint64(86400000),
                            qint64(-86400000), qint64(-86400001), qint64(1109980800000)})
        EXPECT_EQ(FileDay(ms), FileTimeFields(ms).date()) << ms;
}

struct AgeCase {
    QDate day;
    QDate today;
    const char* age;
};

TEST(AgeText, CountsCalendarBoundaries)
{
    const AgeCase cases[] = {
        {{2005, 3, 10}, {2005, 3, 10}, " today"},
        {{2005, 3, 9}, {2005, 3, 10}, "01 day old"},
        {{2005, 3, 7}, {2005, 3, 10}, "03 days old"},
        {{2004, 12, 30}, {2005, 1, 2}, "01 month old"}, // one month boundary, three days
        {{2005, 1, 31}, {2005, 3, 1}, "02 months old"},
        {{2004, 1, 15}, {2005, 1, 10}, "01 year old"}, // 12 month boundaries
        {{2003, 12, 31}, {2005, 1, 1}, "02 years old"},
        {{2004, 2, 1}, {2004, 12, 31}, "10 months old"},
        {{2005, 3, 12}, {2005, 3, 10}, "-02 days old"}, // future dates count negative
        {{2005, 3, 11}, {2005, 3, 10}, "-01 days old"},
        {{2005, 4, 1}, {2005, 3, 10}, "-01 months old"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AgeText(c.day, c.today), QLatin1String(c.age))
            << c.day.toString().toStdString() << " on " << c.today.toString().toStdString();
}

TEST(DayTextDate, ReadsBackOnlyTheDayForm)
{
    EXPECT_EQ(DayTextDate(QStringLiteral("05 Jan 2005")), QDate(2005, 1, 5));
    EXPECT_FALSE(DayTextDate(QStringLiteral("05 Foo 2005")).isValid());
    EXPECT_FALSE(DayTextDate(QStringLiteral("garbage")).isValid());
    EXPECT_EQ(DayKey(QStringLiteral("garbage")), QLatin1String("00000000"));
}

} // namespace
