#include "cli/StatsCommand.h"

#include "cli/ListCommand.h"
#include "cli/NameEscape.h"
#include "controls/Grid.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"

namespace cli {

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
    if (!ShowSizeTable(state, grid, state.fileTree.root()).shown)
        return 0;
    // One table row per line, whatever the names hold; the cells' own padding stays.
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            grid.setTextMatrix(r, c, EscapeMessage(grid.textMatrix(r, c)));
    }
    QString text = grid.wholeText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out << text;
    out.flush();
    return 0;
}

} // namespace cli
