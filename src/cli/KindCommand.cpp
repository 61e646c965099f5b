#include "cli/KindCommand.h"

#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

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
        out << name << '\t' << int(ClassifyFileKind(extension, defaults)) << "\n";
    }
    return 0;
}

} // namespace cli
