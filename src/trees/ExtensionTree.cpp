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

void fillByExtension(const FileList& state, bool basket, GroupedFiles& files)
{
    const int n = state.listedNames().ListCount();
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames().textAt(i);
        QString extension = ExtensionOf(entry);
        if (skipped(entry, extension, basket))
            continue;
        if (extension.trimmed().isEmpty())
            extension = QStringLiteral(".   ");
        files.add(extension, nodescheme::groupedEntry(entry, basket));
    }
}

/// fillByTypeName without the sorted extension lines: the file standing for an extension
/// is the first of its files in their order. False, with nothing added, when an
/// extension holds a TAB, which would move that order's split.
bool fillByTypeNameFromFiles(const FileList& state, const TreeContext& context, bool basket,
                             GroupedFiles& files)
{
    const int n = state.listedNames().ListCount();
    std::vector<QString> extensions;
    QHash<QString, quint32> extensionIndex;
    std::vector<quint32> extensionOf(size_t(std::max(n - 1, 0)));
    std::vector<int> standIn; // per extension: its first file not skipped, or 0
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames().textAt(i);
        const QString extension = ExtensionOf(entry);
        if (extension.contains(Tab))
            return false;
        auto at = extensionIndex.constFind(extension);
        if (at == extensionIndex.constEnd()) {
            at = extensionIndex.insert(extension, quint32(extensions.size()));
            extensions.push_back(extension);
            standIn.push_back(0);
        }
        extensionOf[size_t(i - 1)] = *at;
        int& first = standIn[*at];
        if (!skipped(entry, extension, basket) &&
            (first == 0 || CompareFiledEntries(entry, state.listedNames().textAt(first)) < 0))
            first = i;
    }
    // One type-name look-up per extension.
    std::vector<QString> groups(extensions.size());
    for (size_t e = 0; e < extensions.size(); ++e) {
        if (standIn[e] != 0) {
            groups[e] = QLatin1Char('.') + context.typeName(state.setup().currentFolder +
                                                            state.listedNames().textAt(standIn[e]));
        }
    }
    for (int i = 1; i < n; ++i) {
        const QString& entry = state.listedNames().textAt(i);
        const quint32 e = extensionOf[size_t(i - 1)];
        if (!skipped(entry, extensions[e], basket))
            files.add(groups[e], nodescheme::groupedEntry(entry, basket));
    }
    return true;
}

/// The scratch lines "group TAB entry" by type name, from the extension lines sorted.
ListBoy fillByTypeName(const FileList& state, const TreeContext& context, bool basket)
{
    const ListBoy& listed = state.listedNames();
    ListBoy extensionLines;
    const int n = listed.ListCount();
    for (int i = 1; i < n; ++i) {
        const QString& entry = listed.textAt(i);
        extensionLines.Additem(ScratchLine(ExtensionOf(entry), entry));
    }
    extensionLines.SortAscending();
    ListBoy lines;
    QString previousExtension = QStringLiteral("ZZZ");
    QString group;
    for (int i = 0; i < extensionLines.ListCount(); ++i) {
        const QString line = extensionLines.list(i);
        const int tab = line.indexOf(Tab);
        const QString extension = line.left(tab);
        const QString entry = line.mid(tab + 1);
        if (skipped(entry, extension, basket))
            continue;
        // One type-name look-up per extension: the first file of each stands for all.
        if (extension != previousExtension) {
            group = QLatin1Char('.') + context.typeName(state.setup().currentFolder + entry);
            previousExtension = extension;
        }
        lines.Additem(ScratchLine(group, nodescheme::groupedEntry(entry, basket)));
    }
    return lines;
}

} // namespace

int BuildExtensionTree(FileList& state, const TreeContext& context)
{
    if (state.tree().count() == 0 || state.listedNames().ListCount() == 0)
        return -1;
    const bool basket = nodescheme::isBasket(state);
    const bool descending = state.setup().treeDirection == SortDirection::Descending;
    const auto groupText = [](QStringView line, int tab) { return line.left(tab); };
    GroupedFiles files;
    files.reserve(size_t(std::max(state.listedNames().ListCount() - 1, 0)));
    int count = 0;
    if (context.settings.extensionNames && context.typeName &&
        !fillByTypeNameFromFiles(state, context, basket, files)) {
        ListBoy lines = fillByTypeName(state, context, basket);
        count =
            BuildGroupsFromList1(state, lines, context.settings, descending, groupText, QString());
    } else {
        if (!context.settings.extensionNames || !context.typeName)
            fillByExtension(state, basket, files);
        count =
            BuildGroupsFromFiles(state, context.settings, descending, groupText, QString(), files);
    }
    state.setShownSort({QStringLiteral("Extensions"), descending});
    return count;
}
