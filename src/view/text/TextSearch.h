#pragma once

#include <QString>

class Grid;

/// Where the next search of a text starts, and where the last grid hit was: the
/// state the "Find" dialog keeps between its "Find next" presses.
struct TextSearchState {
    qsizetype textStart = 0; ///< character index; the text search never goes back
    int gridRow = 1;         ///< the last grid hit; (1, 0) before the first data cell
    int gridCol = 0;

    void resetGrid()
    {
        gridRow = 1;
        gridCol = 0;
    }
};

/// The position of `what` in `text` at or after `from`, or -1. With `wholeWords` a hit
/// must not have a letter, digit or underscore right before or after it.
[[nodiscard]] qsizetype FindInText(const QString& text, const QString& what, qsizetype from,
                                   bool wholeWords, bool matchCase);

/// One "Find next" in a text: on a hit returns its position and moves the start past it;
/// -1 when there is none (the start stays, so later presses find nothing either).
[[nodiscard]] qsizetype FindNextInText(const QString& text, const QString& what,
                                       TextSearchState& state, bool wholeWords, bool matchCase);

/// One "Find next" in a grid, ignoring case: the cells after the last hit, column by
/// column then row by row, skipping the heading row and the fixed column. True on a hit
/// (in state.gridRow, state.gridCol); false at the end, which starts the search over.
[[nodiscard]] bool FindNextInGrid(const Grid& grid, const QString& what, TextSearchState& state);
