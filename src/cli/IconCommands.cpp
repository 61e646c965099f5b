#include "cli/IconCommands.h"

#include "cli/NameEscape.h"
#include "formats/FontNames.h"
#include "formats/IconResources.h"
#include "formats/IconScan.h"
#include "platform/FileAccess.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

#include <QFileInfo>

namespace cli {
namespace {

void printMessages(const ScriptedPrompts& prompts, QTextStream& err)
{
    for (const QString& text : prompts.shownTexts())
        err << "lumara-cli icons: " << EscapeMessage(text) << "\n";
}

int saveIcon(const QStringList& args, QTextStream& err)
{
    bool ok = false;
    const int n = args.value(1).toInt(&ok);
    if (args.size() != 4 || !ok || n < 1) {
        err << "lumara-cli icons: usage: icons --save N FILE OUT.ico (N from 1)\n";
        return 2;
    }
    ScriptedPrompts prompts;
    IconFileScan scan;
    if (!scan.LoadIconFileBytes(args[2], prompts) || !scan.FindIconImages(prompts)) {
        printMessages(prompts, err);
        return 1;
    }
    if (n > scan.offsets().size()) {
        err << "lumara-cli icons: image " << n << " not found; the scan found "
            << scan.offsets().size() << "\n";
        return 1;
    }
    const bool saved = scan.SaveIconFile(n, args[3], prompts, IconFileScan::Replace::Always);
    printMessages(prompts, err);
    return saved ? 0 : 1;
}

} // namespace

int fileIcons(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.value(0) == QLatin1String("--save"))
        return saveIcon(args, err);
    if (args.size() != 1) {
        err << "lumara-cli icons: give one file (or --save N FILE OUT.ico)\n";
        return 2;
    }
    if (const QString problem = platform::fileReadProblem(args[0]); !problem.isEmpty()) {
        err << "lumara-cli icons: " << EscapeName(args[0]) << ": " << problem << "\n";
        return 1;
    }
    out << ReadIconsFromFile(args[0]).size() << "\n";
    return 0;
}

int fontName(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "lumara-cli fontname: give one font file\n";
        return 2;
    }
    if (const QString problem = platform::fileReadProblem(args[0]); !problem.isEmpty()) {
        err << "lumara-cli fontname: " << EscapeName(args[0]) << ": " << problem << "\n";
        return 1;
    }
    const QString face = GetFontFaceName(args[0]);
    if (face.isEmpty()) {
        err << "lumara-cli fontname: " << EscapeName(args[0])
            << ": no face name found (not a TrueType or OpenType font)\n";
        return 1;
    }
    out << face << "\n";
    return 0;
}

} // namespace cli
