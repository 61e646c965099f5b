#include "trees/SizeBarChart.h"

#include "controls/Grid.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

/// A size table: a header row, then rows of count, label and value.
Grid table(const QList<QStringList>& rows, int cols = 7)
{
    Grid grid;
    grid.reset(cols);
    grid.setFixedRows(1);
    for (const QStringList& row : rows)
        grid.addItem(row.join(QLatin1Char('\t')));
    return grid;
}

} // namespace

TEST(SizeBarChart, WidthsAndHeadingsFollowTheTreeType)
{
    const struct {
        SizeBarKind kind;
        int width;
        const char* heading;
    } cases[] = {
        {{TreeType::PlainList, false, true}, 1500, " NAME"},
        {{TreeType::Size, false, false}, 1500, "COUNT RANGE"},
        {{TreeType::Age, false, false}, 1500, "COUNT RANGE"},
        {{TreeType::Extension, false, false}, 1200, "COUNT   EXT"},
        {{TreeType::Extension, true, false}, 1900, "COUNT  EXTNAME"},
        {{TreeType::Date, false, false}, 1750, "COUNT        DATE"},
        {{TreeType::Extension, true, true}, 1500, " NAME"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultLabelWidth(c.kind), c.width) << c.heading;
        EXPECT_EQ(SizeBarHeading(c.kind), QString::fromLatin1(c.heading));
    }
}

TEST(SizeBarChart, RowsPrintTheCountInFiveCharacters)
{
    EXPECT_EQ(SizeBarRowText({TreeType::Extension, false, false}, QStringLiteral("3"),
                             QStringLiteral(" TXT ")),
              QStringLiteral("    3\t TXT"));
    EXPECT_EQ(SizeBarRowText({TreeType::Date, false, false}, QStringLiteral("12"),
                             QStringLiteral("2024 Jan 05")),
              QStringLiteral("   12\t 2024 Jan 05"));
    EXPECT_EQ(
        SizeBarRowText({TreeType::Date, false, false}, QStringLiteral("1"), QStringLiteral("Jan")),
        QStringLiteral("    1\t Jan        "));
    EXPECT_EQ(SizeBarRowText({TreeType::PlainList, false, true}, QStringLiteral("1"),
                             QStringLiteral("a.txt")),
              QStringLiteral(" a.txt"))
        << "a file table prints the label alone";
}

TEST(SizeBarChart, OneFileFillsTheWidthRightOfTheLabels)
{
    const Grid grid =
        table({{QStringLiteral("1"), QStringLiteral("a.txt"), QStringLiteral("500")}}, 3);
    const SizeBarLayout layout =
        LayOutSizeBars(grid, {TreeType::PlainList, false, true}, -1, QSize(600, 400), 16);
    ASSERT_EQ(layout.pages.size(), 1u);
    ASSERT_EQ(layout.pages[0].items.size(), 1u);
    EXPECT_EQ(layout.labelWidth, 100) << "1500 twips at 15 twips a pixel";
    const QRect bar = layout.pages[0].items[0].bar;
    EXPECT_EQ(bar.left(), 6 + 100);
    EXPECT_EQ(bar.right(), 600 - 6 - 1) << "the whole width right of the label column";
    EXPECT_EQ(layout.pages[0].heading, QStringLiteral(" NAME"));
}

TEST(SizeBarChart, BarsAreProportionalAndRowsFlowOntoNewPages)
{
    QList<QStringList> rows;
    for (int i = 1; i <= 40; ++i)
        rows << QStringList{QString::number(i), QStringLiteral(".E%1").arg(i),
                            QString::number(i * 100)};
    const Grid grid = table(rows);
    const SizeBarLayout layout =
        LayOutSizeBars(grid, {TreeType::Extension, false, false}, 3000, QSize(500, 200), 20);
    EXPECT_EQ(layout.labelWidth, 200);
    ASSERT_GT(layout.pages.size(), 1u);
    int drawn = 0;
    int longest = 0;
    for (const auto& page : layout.pages) {
        EXPECT_FALSE(page.items.empty());
        for (const SizeBarItem& item : page.items) {
            EXPECT_LE(item.bar.bottom(), 200) << "inside the page";
            longest = std::max(longest, item.bar.width());
            ++drawn;
        }
    }
    EXPECT_EQ(drawn, 40);
    EXPECT_EQ(longest, 500 - 200 - 12);
    ASSERT_GE(layout.pages[0].items.size(), 5u);
    const SizeBarItem& fifth = layout.pages[0].items[4];
    EXPECT_NEAR(fifth.bar.width(), longest / 8, 1) << "500 of 4000";
}

TEST(SizeBarChart, DrawsBarsInTheBarColour)
{
    const Grid grid = table({{QStringLiteral("2"), QStringLiteral(".TXT"), QStringLiteral("800")},
                             {QStringLiteral("1"), QStringLiteral(".DOC"), QStringLiteral("0")}});
    SizeBarStyle style;
    style.bar = QColor(200, 0, 0);
    const QList<QImage> pages =
        DrawSizeBarPages(grid, {TreeType::Extension, false, false}, -1, QSize(400, 300), style);
    ASSERT_EQ(pages.size(), 1);
    const SizeBarLayout layout =
        LayOutSizeBars(grid, {TreeType::Extension, false, false}, -1, QSize(400, 300),
                       QFontMetrics(style.font).height() + 2);
    EXPECT_EQ(pages[0].pixelColor(layout.pages[0].items[0].bar.center()), QColor(200, 0, 0));
    EXPECT_EQ(layout.pages[0].items[1].bar.width(), 0) << "an empty group has no bar";
    EXPECT_FALSE(HasSizeBarData(table({})));
    EXPECT_TRUE(HasSizeBarData(grid));
}

TEST(SizeBarChart, LongLabelsEndBeforeTheBars)
{
    const QString longName = QStringLiteral("a rather long file name that would run on.txt");
    const Grid grid = table({{QStringLiteral("1"), QStringLiteral("b.txt"), QStringLiteral("800")},
                             {QStringLiteral("2"), longName, QStringLiteral("20")}});
    SizeBarStyle style;
    style.text = QColor(0, 0, 0);
    style.bar = QColor(0, 0, 255);
    style.line = QColor(0, 0, 200);
    const SizeBarKind kind{TreeType::PlainList, false, true};
    const QList<QImage> pages = DrawSizeBarPages(grid, kind, -1, QSize(500, 200), style);
    ASSERT_EQ(pages.size(), 1);
    if (const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS"); !folder.isEmpty())
        pages[0].save(folder + QStringLiteral("/size-bars-long-label.png"));
    const SizeBarLayout layout =
        LayOutSizeBars(grid, kind, -1, QSize(500, 200), QFontMetrics(style.font).height() + 2);
    // Right of the label column there are only bars (blue) and the page (white): any
    // grey or black pixel below the heading is text that ran over.
    const int barLeft = layout.pages[0].items[0].bar.left();
    const int below = layout.pages[0].headingAt.y() + 4;
    int textPixels = 0;
    for (int y = below; y < 200; ++y)
        for (int x = barLeft; x < 500; ++x) {
            const QColor c = pages[0].pixelColor(x, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() < 200)
                ++textPixels;
        }
    EXPECT_EQ(textPixels, 0) << "a label runs over the bar area";
}
