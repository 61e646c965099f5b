#include "cli/KindCommand.h"

#include "app/Settings.h"
#include "browse/TextHelpers.h"
#include "view/FileKind.h"

namespace cli {

int fileKinds(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << "lumara-cli kind: give at least one file name\n";
        return 2;
    }
    const Settings defaults;
    for (const QString& name : args) {
        const QString extension = ExtensionOf(NameAfterLastBackslash(name));
        out << name << '\t' << ClassifyFileKind(extension, defaults) << "\n";
    }
    return 0;
}

} // namespace cli
