#include "controls/Grid.h"

#include <gtest/gtest.h>

namespace {

// A size table as the statistics fill it: one header row, three columns.
Grid sizeTable()
{
    Grid g;
    g.reset(3);
    g.setFormatString(QStringLiteral(">#|<Name|>Size"));
    g.addItem(QStringLiteral("1\tbeta.txt\t200"));
    g.addItem(QStringLiteral("2\tAlpha.txt\t1000"));
    g.addItem(QStringLiteral("3\tgamma.doc\t30"));
    return g;
}

QStringList column(const Grid& g, int col)
{
    QStringList out;
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        out << g.textMatrix(r, col);
    return out;
}

} // namespace

TEST(Grid, FormatStringSetsHeadersAlignmentsAndColumns)
{
    Grid g;
    g.reset(2);
    g.setFormatString(QStringLiteral(">Count|>Ext|Total|^Mid|<L"));
    EXPECT_EQ(g.wholeText(), "Count\tExt\tTotal\tMid\tL\r\n");
    using A = Grid::Alignment;
    const std::vector<A> alignments{g.colAlignment(0), g.colAlignment(1), g.colAlignment(2),
                                    g.colAlignment(3), g.colAlignment(4)};
    EXPECT_EQ(alignments, (std::vector<A>{A::Right, A::Right, A::General, A::Center, A::Left}));
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 0);
}

TEST(Grid, AddItemSplitsTabsAndInsertsBeforeIndex)
{
    Grid g = sizeTable();
    EXPECT_EQ(g.rows(), 4);
    g.addItem(QStringLiteral("x\ty\tz\textra-cell-dropped"), 1);
    EXPECT_EQ(g.textMatrix(1, 0), "x");
    EXPECT_EQ(g.textMatrix(1, 2), "z");
    EXPECT_EQ(g.textMatrix(2, 1), "beta.txt");
    g.addItem(QStringLiteral("short")); // missing cells stay empty
    EXPECT_EQ(g.textMatrix(5, 0), "short");
    EXPECT_EQ(g.textMatrix(5, 2), "");
    g.removeItem(1);
    g.removeItem(99);
    EXPECT_EQ(g.rows(), 5);
    EXPECT_EQ(g.textMatrix(1, 1), "beta.txt");
}

TEST(Grid, ResizingKeepsCellsAndOutOfRangeIsHarmless)
{
    Grid g = sizeTable();
    g.setCols(4);
    EXPECT_EQ(g.textMatrix(2, 1), "Alpha.txt");
    EXPECT_EQ(g.textMatrix(2, 3), "");
    g.setTextMatrix(9, 9, QStringLiteral("nowhere"));
    EXPECT_EQ(g.textMatrix(9, 9), "");
    EXPECT_EQ(g.textMatrix(-1, 0), "");
    g.setRows(2);
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(1, 1), "beta.txt");
    g.clear();
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(0, 1), "");
}

TEST(Grid, SortsTextIgnoringCaseAndNumbersByValue)
{
    Grid g = sizeTable();
    g.sort(1, Grid::SortMode::TextAscending);
    EXPECT_EQ(column(g, 1), QStringList({"Alpha.txt", "beta.txt", "gamma.doc"}));
    EXPECT_EQ(g.textMatrix(0, 1), "Name"); // the header row never moves
    g.sort(2, Grid::SortMode::NumericAscending);
    // numerically 30 < 200 < 1000, where a text sort would put "1000" first
    EXPECT_EQ(column(g, 2), QStringList({"30", "200", "1000"}));
    g.sort(2, Grid::SortMode::NumericDescending);
    EXPECT_EQ(column(g, 2), QStringList({"1000", "200", "30"}));
    g.sort(1, Grid::SortMode::TextDescending);
    EXPECT_EQ(column(g, 1), QStringList({"gamma.doc", "beta.txt", "Alpha.txt"}));
}

TEST(Grid, HeaderSortAlternatesAndMovesCurrentRowToFirst)
{
    Grid g = sizeTable();
    g.setSelection(3, 2, 3, 2);
    // column 2: numeric ascending first, then descending, then ascending again
    EXPECT_EQ(g.headerSort(2), Grid::SortMode::NumericAscending);
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.textMatrix(1, 2), "30");
    EXPECT_EQ(g.headerSort(2), Grid::SortMode::NumericDescending);
    EXPECT_EQ(g.textMatrix(1, 2), "1000");
    EXPECT_EQ(g.headerSort(0), Grid::SortMode::NumericAscending);
    // column 1 alternates between the two text sorts
    EXPECT_EQ(g.headerSort(1), Grid::SortMode::TextAscending);
    EXPECT_EQ(g.textMatrix(1, 1), "Alpha.txt");
    EXPECT_EQ(g.headerSort(1), Grid::SortMode::TextDescending);
    EXPECT_EQ(g.textMatrix(1, 1), "gamma.doc");
    // a numeric header after a text sort starts ascending again
    EXPECT_EQ(g.headerSort(0), Grid::SortMode::NumericAscending);
}

TEST(Grid, CopiesSelectionInEitherDirectionAndWholeGrid)
{
    Grid g = sizeTable();
    g.setSelection(2, 2, 1, 1); // dragged up and left
    EXPECT_EQ(g.selectionText(), "beta.txt\t200\r\nAlpha.txt\t1000\r\n");
    g.setSelection(3, 0, 3, 0);
    EXPECT_EQ(g.selectionText(), "3\r\n");
    EXPECT_EQ(g.wholeText(), "#\tName\tSize\r\n1\tbeta.txt\t200\r\n2\tAlpha.txt\t1000\r\n"
                             "3\tgamma.doc\t30\r\n");
}

TEST(Grid, ResetStartsAnEmptyTableWithOneFixedRow)
{
    Grid g = sizeTable();
    g.setColWidth(1, 2000);
    g.headerSort(2);
    g.tag = QStringLiteral("[x]");
    g.reset(7);
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.cols(), 7);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 0);
    EXPECT_EQ(g.colWidth(1), Grid::DefaultWidth);
    EXPECT_EQ(g.lastSort(), Grid::SortMode::None);
    EXPECT_TRUE(g.tag.isEmpty());
}
