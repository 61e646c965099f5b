#include "trees/ExtensionTree.h"

#include "shared/TextHelpers.h"
#include "trees/GroupedTree.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"

namespace {

const QChar Tab = QLatin1Char('\t');

/// Inner entries of zip archives listed under the archive are not grouped.
bool skipped(const QString& entry, const QString& extension, bool basket)
{
    return !basket && entry.startsWith(QLatin1Char('/')) && extension == QLatin1String(".ZIP");
}

void fillByExtension(FileListState& state, bool basket)
{
    const int n = state.listedNames.ListCount();
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames.textAt(i);
        QString extension = ExtensionOf(entry);
        if (skipped(entry, extension, basket))
            continue;
        if (extension.trimmed().isEmpty())
            extension = QStringLiteral(".   ");
        state.sortLines.Additem(ScratchLine(extension, nodescheme::groupedEntry(entry, basket)));
    }
}

void fillByTypeName(FileListState& state, const TreeContext& context, bool basket)
{
    const int n = state.listedNames.ListCount();
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames.textAt(i);
        state.extensionLines.Additem(ScratchLine(ExtensionOf(entry), entry));
    }
    state.extensionLines.SortAscending();
    QString previousExtension = QStringLiteral("ZZZ");
    QString group;
    for (int i = 0; i < state.extensionLines.ListCount(); ++i) {
        const QString line = state.extensionLines.list(i);
        const int tab = line.indexOf(Tab);
        const QString extension = line.left(tab);
        const QString entry = line.mid(tab + 1);
        if (skipped(entry, extension, basket))
            continue;
        // One type-name look-up per extension: the first file of each stands for all.
        if (extension != previousExtension) {
            group = QLatin1Char('.') + context.typeName(state.currentFolder + entry);
            previousExtension = extension;
        }
        state.sortLines.Additem(ScratchLine(group, nodescheme::groupedEntry(entry, basket)));
    }
}

} // namespace

int BuildExtensionTree(FileListState& state, const TreeContext& context)
{
    if (state.fileTree.count() == 0 || state.listedNames.ListCount() == 0)
        return -1;
    state.sortLines.Clear();
    state.extensionLines.Clear();
    const bool basket = nodescheme::isBasket(state);
    if (context.settings.extensionNames == 1 && context.typeName)
        fillByTypeName(state, context, basket);
    else
        fillByExtension(state, basket);

    const bool descending = state.treeDirection == SortDirection::Descending;
    const int count = BuildGroupsFromList1(
        state, context.settings, descending,
        [](QStringView line, int tab) { return line.left(tab); }, QString());
    state.shownSort.set(QStringLiteral("Extensions"), descending);
    return count;
}
