#include "cli/StatsCommand.h"

#include "cli/ListCommand.h"
#include "cli/NameEscape.h"
#include "controls/Grid.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"

namespace cli {
namespace {

/// Writes grid rows from `first` on, one line each, every cell escaped; the cells' own
/// padding stays.
void writeGridRows(const Grid& grid, int first, QTextStream& out)
{
    for (int r = first; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0)
                out << '\t';
            out << EscapeMessage(grid.textMatrix(r, c));
        }
        out << '\n';
    }
}

/// Writes a file row as the grid would hold and write it: split at its TABs into as
/// many cells as the grid has columns, each escaped.
void writeRowText(const QString& rowText, int cols, QTextStream& out)
{
    if (IsPlainText(rowText) && rowText.count(u'\t') == cols - 1) {
        out << rowText << '\n';
        return;
    }
    const QStringList parts = rowText.split(u'\t');
    for (int c = 0; c < cols; ++c) {
        if (c > 0)
            out << '\t';
        if (c < parts.size())
            out << EscapeMessage(parts[c]);
    }
    out << '\n';
}

} // namespace

int sizeStatistics(const QStringList& args, QTextStream& out, QTextStream& err)
{
    FileListState state;
    Settings settings;
    if (const int status = listFromArgs(args, state, settings, err, QStringLiteral("stats"));
        status >= 0)
        return status;
    if (state.showsPlaceholder)
        return 0; // nothing listed: no table
    Grid grid;
    // File rows go out as they come, after the header; a table of groups is small and
    // written whole at the end.
    bool headerWritten = false;
    const SizeTableResult result =
        ShowSizeTable(state, grid, state.fileTree.root(),
                      [&out, &headerWritten](const Grid& header, const QString& rowText) {
                          if (!headerWritten) {
                              writeGridRows(header, 0, out);
                              headerWritten = true;
                          }
                          writeRowText(rowText, header.cols(), out);
                      });
    if (result.shown && !headerWritten)
        writeGridRows(grid, 0, out);
    out.flush();
    return 0;
}

} // namespace cli
