#include "cli/ListCommand.h"

#include "browse/FolderListing.h"
#include "cli/FilterOptions.h"
#include "cli/NameEscape.h"
#include "cli/TreeOptions.h"
#include "controls/TreeText.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QFileInfo>

namespace cli {
namespace {

/// Builds the grouped trees as usual but leaves the plain list without a node per file:
/// `list` writes the names from the list itself.
class NamesOnlyTrees final : public FileTreeBuilder {
public:
    void RebuildCurrentTree(FileList& state, const Settings& settings) const override
    {
        if (state.setup().treeType != TreeType::PlainList)
            GroupedTrees().RebuildCurrentTree(state, settings);
    }
};

/// What the plain list's tree text would be: the root line, then each file indented by
/// 8 spaces, escaped.
void writeNames(const FileList& state, QTextStream& out)
{
    WriteTreeText(state.tree(), out, u"\n", state.tree().root(), EscapeName);
    constexpr qsizetype BlockSize = 1 << 16;
    QString block;
    block.reserve(BlockSize + 1024);
    const int count = state.listedNames().ListCount();
    for (int i = 1; i < count; ++i) {
        block.append(QLatin1String("        "));
        block.append(EscapeName(state.listedNames().textAt(i)));
        block.append(u'\n');
        if (block.size() >= BlockSize) {
            out << block;
            block.resize(0);
        }
    }
    out << block;
}

/// listFromArgs; with `namesOnly` given, a plain list that no sort or filter asks for
/// gets no node per file, and *namesOnly says whether that was so.
int listWithOptions(const QStringList& args, FileList& state, Settings& settings, QTextStream& err,
                    const QString& command, bool* namesOnly)
{
    const QString prefix = QStringLiteral("lumara-cli ") + command + QStringLiteral(": ");
    QString pattern = QStringLiteral("*.*");
    QString folder;
    TreeOptions treeOptions;
    FilterOptions filterOptions;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--pattern") {
            if (i + 1 >= args.size()) {
                err << prefix << "--pattern needs a value\n";
                return 2;
            }
            pattern = args[++i];
        } else if (arg == u"--hidden") {
            settings.showSystemHidden = true;
        } else if (const int taken = parseTreeOption(args, i, treeOptions, err, prefix);
                   taken != 0) {
            if (taken < 0)
                return 2;
        } else if (const int taken = parseFilterOption(args, i, filterOptions, err); taken != 0) {
            if (taken < 0)
                return 2;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            err << prefix << "unknown option: " << arg << "\n";
            return 2;
        } else if (folder.isEmpty()) {
            folder = arg;
        } else {
            err << prefix << "give one folder\n";
            return 2;
        }
    }
    if (folder.isEmpty()) {
        err << prefix << "give a folder\n";
        return 2;
    }
    if (!platform::isFolder(folder)) {
        err << prefix << "not a folder: " << folder << "\n";
        return 1;
    }

    state.setListPattern(pattern);
    prepareTreeOptions(treeOptions, state, settings);
    const bool plainOnly = namesOnly && treeOptions.treeType == TreeType::PlainList &&
                           treeOptions.sortKey == SortKey::None &&
                           filterOptions.category.isEmpty() && !filterOptions.other;
    if (namesOnly)
        *namesOnly = plainOnly;
    static const NamesOnlyTrees namesOnlyTrees;
    OpenFolder(state, settings, platform::absoluteFilePath(folder), pattern,
               plainOnly ? static_cast<const FileTreeBuilder&>(namesOnlyTrees) : GroupedTrees());
    if (!state.setup().readError.isEmpty()) {
        err << "lumara-cli list: cannot read " << folder << ": " << state.setup().readError << "\n";
        return 1;
    }
    if (!applyFilterOptions(filterOptions, state, settings, err))
        return 2;
    finishTreeOptions(treeOptions, state, settings);
    return -1;
}

} // namespace

int listFromArgs(const QStringList& args, FileList& state, Settings& settings, QTextStream& err,
                 const QString& command)
{
    return listWithOptions(args, state, settings, err, command, nullptr);
}

int listNamesFromArgs(const QStringList& args, FileList& state, Settings& settings,
                      QTextStream& err, const QString& command, bool* namesOnly)
{
    return listWithOptions(args, state, settings, err, command, namesOnly);
}

int listFolder(const QStringList& args, QTextStream& out, QTextStream& err)
{
    FileList state;
    Settings settings;
    bool namesOnly = false;
    if (const int status =
            listWithOptions(args, state, settings, err, QStringLiteral("list"), &namesOnly);
        status >= 0)
        return status;
    // A plain list of files has only its root node; the "no files" line is a node too.
    if (namesOnly && state.tree().count() == 1)
        writeNames(state, out);
    else
        WriteTreeText(state.tree(), out, u"\n", NodeTree::None, EscapeName);
    out.flush();
    return 0;
}

} // namespace cli
