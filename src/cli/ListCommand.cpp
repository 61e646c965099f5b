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

int listFromArgs(const QStringList& args, FileListState& state, Settings& settings,
                 QTextStream& err, const QString& command)
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
            settings.showSystemHidden = 1;
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

    state.listPattern = pattern;
    prepareTreeOptions(treeOptions, state, settings);
    OpenFolder(state, settings, platform::absoluteFilePath(folder), pattern, GroupedTrees());
    if (!state.readError.isEmpty()) {
        err << "lumara-cli list: cannot read " << folder << ": " << state.readError << "\n";
        return 1;
    }
    if (!applyFilterOptions(filterOptions, state, settings, err))
        return 2;
    finishTreeOptions(treeOptions, state, settings);
    return -1;
}

int listFolder(const QStringList& args, QTextStream& out, QTextStream& err)
{
    FileListState state;
    Settings settings;
    if (const int status = listFromArgs(args, state, settings, err, QStringLiteral("list"));
        status >= 0)
        return status;
    WriteTreeText(state.fileTree, out, u"\n", NodeTree::None, EscapeName);
    out.flush();
    return 0;
}

} // namespace cli
