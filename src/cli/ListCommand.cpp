#include "cli/ListCommand.h"

#include "app/Settings.h"
#include "browse/FolderListing.h"
#include "cli/TreeOptions.h"

#include <QFileInfo>

namespace cli {

int listFolder(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString pattern = QStringLiteral("*.*");
    QString folder;
    Settings settings;
    TreeOptions treeOptions;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--pattern") {
            if (i + 1 >= args.size()) {
                err << "lumara-cli list: --pattern needs a value\n";
                return 2;
            }
            pattern = args[++i];
        } else if (arg == u"--hidden") {
            settings.showSystemHidden = 1;
        } else if (const int taken = parseTreeOption(args, i, treeOptions, err); taken != 0) {
            if (taken < 0)
                return 2;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            err << "lumara-cli list: unknown option: " << arg << "\n";
            return 2;
        } else if (folder.isEmpty()) {
            folder = arg;
        } else {
            err << "lumara-cli list: give one folder\n";
            return 2;
        }
    }
    if (folder.isEmpty()) {
        err << "lumara-cli list: give a folder\n";
        return 2;
    }
    const QFileInfo info(folder);
    if (!info.isDir()) {
        err << "lumara-cli list: not a folder: " << folder << "\n";
        return 1;
    }

    FileListState state;
    state.CurrentPattern = pattern;
    prepareTreeOptions(treeOptions, state, settings);
    const int count = ListFolder(state, settings, info.absoluteFilePath(), pattern);
    if (count > 0)
        RefreshFileList(state, settings);
    finishTreeOptions(treeOptions, state, settings);
    QString text = CopyListText(state.File1t);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out << text;
    out.flush();
    return 0;
}

} // namespace cli
