#include "trees/Statistics.h"

#include "controls/Grid.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/SizeSum.h"
#include "shared/TextHelpers.h"
#include "trees/NodeScheme.h"

#include <cmath>

namespace {

struct StatsLayout {
    QString format;
    int secondWidth;
};

StatsLayout layoutFor(TreeType treeType)
{
    switch (treeType) {
    case TreeType::Extension:
        return {QStringLiteral(">Count|>Ext|>Total|>Min|>Max|>%Count|>%Size"), 650};
    case TreeType::Date:
        return {QStringLiteral(">Count|>Date|>Total|>Min|>Max|>%Count|>%Size"), 1100};
    case TreeType::Size:
        return {QStringLiteral(">Count|>Size|>Total|>Min|>Max|>%Count|>%Size"), 1100};
    default: // the age tree had no header; its groups are ages
        return {QStringLiteral(">Count|>Age|>Total|>Min|>Max|>%Count|>%Size"), Grid::DefaultWidth};
    }
}

void startFileTable(Grid& grid, int numberWidth, int nameWidth, int sizeWidth)
{
    grid.reset(3);
    grid.setFormatString(QStringLiteral(">#|<Name|>Size"));
    grid.setColWidth(0, numberWidth);
    grid.setColWidth(1, nameWidth);
    grid.setColWidth(2, sizeWidth);
}

struct Group {
    QString name;
    qint64 count = 0, total = 0, min = 0, max = 0;
};

} // namespace

QString PercentText(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(1);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    return text + QLatin1Char(' ');
}

qint64 GroupStatistics(const FileList& state, Grid& grid)
{
    const NodeTree& tree = state.tree();
    if (tree.count() < 2)
        return 0;
    const StatsLayout layout = layoutFor(state.setup().treeType);
    grid.setFormatString(layout.format);
    const int widths[] = {600, layout.secondWidth, 750, 750, 750};
    for (int c = 0; c < 5; ++c)
        grid.setColWidth(c, widths[c]);

    // The files are summed as the walk meets them, without a scratch line per file; a
    // group named as the one before it adds to that group's row.
    std::vector<Group> groups;
    qint64 grandTotal = 0, grandCount = 0;
    const NodeTree::Id root = tree.root();
    for (const NodeTree::Id group : tree.children(root)) {
        QString groupText = tree.node(group).text;
        if (!groupText.isEmpty())
            groupText[0] = QLatin1Char(' ');
        const QString name = groupText.trimmed();
        bool open = false; // whether groups.back() is this group's row yet
        for (const NodeTree::Id file : tree.children(group)) {
            const QString& text = tree.node(file).text;
            if (text.startsWith(QLatin1Char('|')))
                continue;
            const qint64 length = nodescheme::entryLength(state, text);
            grandTotal = AddSize(grandTotal, length);
            if (!open) {
                open = true;
                if (groups.empty() || groups.back().name != name) {
                    groups.push_back({name, 1, length, length, length});
                    continue;
                }
            }
            Group& g = groups.back();
            ++g.count;
            g.total = AddSize(g.total, length);
            g.min = std::min(g.min, length);
            g.max = std::max(g.max, length);
        }
    }
    for (const Group& g : groups) {
        grandCount += g.count;
        grid.addItem(QString::number(g.count) + QLatin1Char('\t') + g.name + QLatin1Char('\t') +
                     QString::number(g.total) + QLatin1Char('\t') + QString::number(g.min) +
                     QLatin1Char('\t') + QString::number(g.max));
    }
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        const Group& g = groups[size_t(r - grid.fixedRows())];
        grid.setTextMatrix(r, 5, PercentText(double(g.count) * 100 / double(grandCount)));
        // Only empty files: every share of nothing is shown as nothing.
        grid.setTextMatrix(
            r, 6, PercentText(grandTotal > 0 ? double(g.total) * 100 / double(grandTotal) : 0.0));
    }
    return grandTotal;
}

QString SizeTableRowText(const SizeTableRow& row)
{
    return QString::number(row.number) + QLatin1Char('\t') + row.text + QLatin1Char('\t') +
           QString::number(row.length);
}

SizeTableResult ShowSizeTable(FileList& state, Grid& grid, NodeTree::Id current)
{
    return ShowSizeTable(state, grid, current, [&grid](const Grid&, const SizeTableRow& row) {
        grid.addItem(SizeTableRowText(row));
    });
}

namespace {

/// What every size table of the file list ends with: the grid's tag and selection, the
/// view message.
void finishTable(const FileList& state, Grid& grid, SizeTableResult& result)
{
    const bool basket = nodescheme::isBasket(state);
    const QString folderPath = basket ? QString() : state.setup().currentFolder;
    grid.tag = basket ? QString() : QLatin1Char('[') + folderPath + QLatin1Char(']');
    grid.setSelection(grid.fixedRows(), 0, grid.fixedRows(), 0);
    result.gridTag = grid.tag;
    result.viewMessage = QStringLiteral("FileSizes: ") + folderPath;
    result.shown = true;
}

} // namespace

SizeTableResult ShowSizeTable(FileList& state, Grid& grid, NodeTree::Id current,
                              const SizeTableRows& rows)
{
    SizeTableResult result;
    const NodeTree& tree = state.tree();
    if (tree.count() < 2 || !tree.contains(current))
        return result;
    result.statistics = state.setup().treeType != TreeType::PlainList && current == tree.root();
    if (result.statistics) {
        grid.reset(7);
        result.grandTotal = GroupStatistics(state, grid);
    } else {
        startFileTable(grid, 600, 2000, 1000);
        if (tree.mark(current) == NodeMark::None) {
            int j = 0;
            for (const NodeTree::Id child : tree.children(current)) {
                const QString& text = tree.node(child).text;
                // The listing's metadata knows each entry, also under a group node
                // whose text is no real folder; the root's files are in the read's order
                // unless a sort moved them.
                const qint64 length = nodescheme::entryLength(state, text, j);
                result.grandTotal = AddSize(result.grandTotal, length);
                rows(grid, SizeTableRow{++j, text, length});
            }
        }
    }
    finishTable(state, grid, result);
    return result;
}

SizeTableResult PlainListSizeTable(const FileList& state, Grid& grid, const SizeTableRows& rows)
{
    constexpr int PrefetchAhead = 16;
    SizeTableResult result;
    const ListBoy& names = state.listedNames();
    const int count = names.ListCount();
    if (count < 2)
        return result;
    startFileTable(grid, 600, 2000, 1000);
    for (int i = 1; i < count; ++i) {
        // The names lie scattered in memory, in the read's order rather than the list's:
        // asking for one a few rows ahead hides the wait for it.
        if (i + PrefetchAhead < count)
            __builtin_prefetch(names.textAt(i + PrefetchAhead).constData());
        const QString& text = names.textAt(i);
        // Item i of the list is entry i - 1 of the read: found without hashing.
        const qint64 length = nodescheme::entryLength(state, text, i - 1);
        result.grandTotal = AddSize(result.grandTotal, length);
        rows(grid, SizeTableRow{i, text, length});
    }
    finishTable(state, grid, result);
    return result;
}

FolderSizeRows FolderSizeRowTexts(const std::vector<platform::FileEntry>& files,
                                  const std::function<bool()>& stopped)
{
    FolderSizeRows table;
    table.rows.reserve(qsizetype(files.size()));
    for (const platform::FileEntry& e : files) {
        if (stopped())
            break;
        table.rows.append(QString::number(table.rows.size() + 1) + QLatin1Char('\t') + e.name +
                          QLatin1Char('\t') + QString::number(e.size));
        table.grandTotal = AddSize(table.grandTotal, e.size);
    }
    return table;
}

SizeTableResult ShowFolderSizeRows(const QString& folder, const FolderSizeRows& rows,
                                   const QString& error, Grid& grid, Prompts& prompts)
{
    SizeTableResult result;
    startFileTable(grid, 400, 1600, 600);
    for (const QString& row : rows.rows)
        grid.addItem(row);
    result.grandTotal = rows.grandTotal;
    if (!error.isEmpty())
        prompts.message(QStringLiteral("cannot read ") + folder + QStringLiteral(": ") + error);
    if (rows.rows.isEmpty()) {
        if (error.isEmpty())
            prompts.message(QStringLiteral("no files found"));
        return result;
    }
    result.shown = true;
    result.viewMessage = RootText(folder);
    return result;
}

SizeTableResult FolderSizeTable(const QString& folder, const Settings& settings, Grid& grid,
                                Prompts& prompts)
{
    QString error;
    const std::vector<platform::FileEntry> files =
        platform::listFiles(folder, settings.showSystemHidden, &error);
    return ShowFolderSizeRows(folder, FolderSizeRowTexts(files, [] { return false; }), error, grid,
                              prompts);
}
