#include "view/text/TextSearch.h"

#include "controls/Grid.h"

#include <gtest/gtest.h>

TEST(TextSearch, TextGoesForwardAndNeverBack)
{
    const QString text = QStringLiteral("Cat catalog cat. CAT");
    TextSearchState state;
    EXPECT_EQ(FindNextInText(text, "cat", state, false, false), 0);
    EXPECT_EQ(FindNextInText(text, "cat", state, false, false), 4);
    EXPECT_EQ(state.textStart, 7);

    // Whole words skip "catalog"; case skips "Cat" and "CAT".
    EXPECT_EQ(FindInText(text, "cat", 1, true, false), 12);
    EXPECT_EQ(FindInText(text, "CAT", 0, true, true), 17);
    EXPECT_EQ(FindInText(text, "cat", 13, true, true), -1);

    // After the last hit it keeps saying "not found": the start does not go back.
    state = {};
    int hits = 0;
    while (FindNextInText(text, "cat", state, true, false) >= 0)
        ++hits;
    EXPECT_EQ(hits, 3);
    EXPECT_EQ(FindNextInText(text, "cat", state, true, false), -1);
    EXPECT_EQ(FindNextInText(text, "", state, false, false), -1);
}

TEST(TextSearch, GridCellByCellSkippingHeadingsAndStartingOverAfterTheEnd)
{
    Grid grid;
    grid.reset(3);
    grid.setRows(3);
    grid.setTextMatrix(0, 1, "word");        // heading: never searched
    grid.setTextMatrix(1, 0, "word");        // fixed column: never searched
    grid.setTextMatrix(1, 2, "A PASSWORDS"); // capitals between other letters
    grid.setTextMatrix(2, 1, "words");

    TextSearchState state;
    ASSERT_TRUE(FindNextInGrid(grid, "word", state));
    EXPECT_EQ(std::pair(state.gridRow, state.gridCol), std::pair(1, 2));
    ASSERT_TRUE(FindNextInGrid(grid, "word", state));
    EXPECT_EQ(std::pair(state.gridRow, state.gridCol), std::pair(2, 1));
    EXPECT_FALSE(FindNextInGrid(grid, "word", state));
    EXPECT_EQ(std::pair(state.gridRow, state.gridCol), std::pair(1, 0));
    ASSERT_TRUE(FindNextInGrid(grid, "word", state)); // starts again at the first cell
    EXPECT_EQ(std::pair(state.gridRow, state.gridCol), std::pair(1, 2));
}
