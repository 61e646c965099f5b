#include "cli/InfoCommand.h"

#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "tools/FileInfo.h"

#include <QFileInfo>

namespace cli {

int fileInfo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        err << "lumara-cli info: give one file\n";
        return 2;
    }
    const QString path = platform::absoluteFilePath(args.first());
    const FileInfoResult info = GetFileInfo(path, false);
    if (!info.found) {
        err << "lumara-cli info: cannot read " << args.first() << ": " << info.problem << "\n";
        return 1;
    }
    const QStringList captions = AllPropertyCaptions();
    for (size_t i = 0; i < info.values.size(); ++i)
        out << captions.value(qsizetype(i)) << ": " << info.values[i] << "\n";
    out << "TimestampName: " << TimestampName(path) << "\n";
    ScriptedPrompts prompts;
    const QString entries = ArchiveEntryCountText(path, prompts);
    if (!entries.isEmpty())
        out << ArchiveEntriesCaption().trimmed() << ": " << entries << "\n";
    out.flush();
    return 0;
}

} // namespace cli
