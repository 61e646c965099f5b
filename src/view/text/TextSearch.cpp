#include "view/text/TextSearch.h"

#include "controls/Grid.h"

namespace {

bool wordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

qsizetype FindInText(const QString& text, const QString& what, qsizetype from, bool wholeWords,
                     bool matchCase)
{
    if (what.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(what, std::max<qsizetype>(from, 0), cs); at >= 0;
         at = text.indexOf(what, at + 1, cs)) {
        if (!wholeWords)
            return at;
        const qsizetype end = at + what.size();
        const bool startsWord = at == 0 || !wordChar(text[at - 1]);
        const bool endsWord = end >= text.size() || !wordChar(text[end]);
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

qsizetype FindNextInText(const QString& text, const QString& what, TextSearchState& state,
                         bool wholeWords, bool matchCase)
{
    const qsizetype at = FindInText(text, what, state.textStart, wholeWords, matchCase);
    if (at >= 0)
        state.textStart = at + what.size();
    return at;
}

bool FindNextInGrid(const Grid& grid, const QString& what, TextSearchState& state)
{
    const QString wanted = what.toUpper();
    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    int row = std::max(state.gridRow, 1);
    int col = state.gridCol;
    for (;;) {
        if (++col > lastCol) {
            col = 1;
            ++row;
        }
        if (row > lastRow || lastCol < 1) {
            state.resetGrid();
            return false;
        }
        if (grid.textMatrix(row, col).toUpper().contains(wanted)) {
            state.gridRow = row;
            state.gridCol = col;
            return true;
        }
    }
}
