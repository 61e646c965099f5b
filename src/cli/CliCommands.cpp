#include "cli/CliCommands.h"

#include "cli/ArchiveCommand.h"
#include "cli/BasketCommand.h"
#include "cli/DrivesCommand.h"
#include "cli/FilterOptions.h"
#include "cli/FindCommand.h"
#include "cli/IconCommands.h"
#include "cli/InfoCommand.h"
#include "cli/KindCommand.h"
#include "cli/ListCommand.h"
#include "cli/OptionsCommand.h"
#include "cli/PictureCommands.h"
#include "cli/StatsCommand.h"
#include "cli/SysinfoCommand.h"
#include "cli/TableCommand.h"
#include "cli/TextCommand.h"
#include "cli/TreeOptions.h"
#include "shared/TextHelpers.h"

#include <cmath>
#include <cstdio>

namespace cli {
namespace {

int sizeText(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << "lumara-cli sizetext: give at least one size in bytes\n";
        return 2;
    }
    for (const QString& arg : args) {
        bool ok = false;
        const double size = arg.toDouble(&ok);
        if (!ok || !std::isfinite(size) || size < 0) {
            err << "lumara-cli sizetext: not a size in bytes: " << arg << "\n";
            return 2;
        }
        out << SizeText(size) << "\n";
    }
    return 0;
}

void printHelp(QTextStream& out)
{
    out << "usage: lumara-cli COMMAND [ARGUMENTS]\n\n"
           "Runs Lumara's file-listing logic without a window.\n\ncommands:\n";
    for (const Command& c : commands())
        out << "  " << c.usage << "\n";
    out << "  --help                      this text\n\n"
           "File names holding a backslash, a tab, a line break or another character\n"
           "that is not printable are written escaped as ls -b writes them (\\\\, \\t,\n"
           "\\n, \\ooo), and a space at either end as \\ , so that every name stays on its\n"
           "own line. A command exits 0 only when it did all it was asked.\n";
}

} // namespace

const QList<Command>& commands()
{
    static const QList<Command> all{
        {QStringLiteral("sizetext"),
         QStringLiteral("sizetext N...                one size text per line"), sizeText},
        {QStringLiteral("list"),
         QStringLiteral("list [--pattern P] [--hidden] ") + treeOptionsUsage() +
             QStringLiteral(" ") + filterOptionsUsage() +
             QStringLiteral(" FOLDER  the folder's file list or file tree"),
         listFolder},
        {QStringLiteral("stats"),
         QStringLiteral("stats [list options] FOLDER  the size table of the tree's root, "
                        "TAB-separated"),
         sizeStatistics},
        {QStringLiteral("info"),
         QStringLiteral("info FILE                    the file's properties, one per line"),
         fileInfo},
        {QStringLiteral("drives"),
         QStringLiteral("drives                       mounted volumes: key, kind, text (TABs)"),
         listDrives},
        {QStringLiteral("kind"),
         QStringLiteral("kind NAME...                 each name's view kind (FileKind)"),
         fileKinds},
        {QStringLiteral("sysinfo"),
         QStringLiteral("sysinfo                      the system report, as View > System "
                        "Information shows it"),
         systemReport},
        {QStringLiteral("find"),
         QStringLiteral("find [list options] [--name P] [--content C [--and|--or] --content C "
                        "...] [--zip] FOLDER  the list narrowed by name and contents"),
         findFiles},
        {QStringLiteral("table"),
         QStringLiteral("table FILE.xls|FILE.mdb [SHEET|TABLE]  sheets or tables, or one as "
                        "TAB-separated rows"),
         showTable},
        {QStringLiteral("text"),
         QStringLiteral("text FILE                    the text the view shows for a text, RTF or "
                        "document file, one paragraph per line"),
         showText, true},
        {QStringLiteral("archive"),
         QStringLiteral("archive [--count|--details] FILE  an archive's entries (zip, cab, rar, "
                        "ace)"),
         archiveListing},
        {QStringLiteral("unzip"),
         QStringLiteral("unzip [--overwrite] [--allow-huge] [--password P] ZIP ENTRY DIR  extract "
                        "one entry"),
         unzipEntry},
        {QStringLiteral("zip"),
         QStringLiteral("zip [--password P] OUT.zip FILE...  zip files without folder names"),
         zipFiles},
        {QStringLiteral("picture"),
         QStringLiteral("picture FILE [--rotate DEGREES] [--frame WxH] --out OUT.png  the "
                        "picture as the view draws it"),
         drawPicture, true},
        {QStringLiteral("thumbs"),
         QStringLiteral("thumbs FOLDER|--basket FILE.bsk [--area WxH] [--cache] --out DIR  "
                        "thumbnail pages of the folder's or the basket's pictures as "
                        "DIR/page1.png ...; --cache reads and fills the desktop's shared "
                        "thumbnail cache"),
         drawThumbnails, true},
        {QStringLiteral("media"),
         QStringLiteral("media FILE                   the sound's length as [h:]mm:ss"),
         mediaLength, true},
        {QStringLiteral("sizebars"),
         QStringLiteral("sizebars [list options] [--width TWIPS] [--page WxH] "
                        "FOLDER|--basket FILE.bsk --out OUT.png  the size bar chart of the "
                        "folder's tree or of the basket's files"),
         drawSizeBars, true},
        {QStringLiteral("options"),
         QStringLiteral("options swatches | colour R G B | size SIZE [left|right]... | "
                        "tempdir FOLDER  what the options dialog shows or stores"),
         optionsCommand},
        {QStringLiteral("basket"),
         QStringLiteral("basket save OUT.bsk PATH... | basket show FILE.bsk  write or read a "
                        "basket file"),
         basketCommand},
        {QStringLiteral("nextversion"),
         QStringLiteral("nextversion FOLDER NAME      the next free version name (name;01.ext)"),
         nextVersion},
        {QStringLiteral("copy"),
         QStringLiteral("copy [--stamp] [--yes-all [--next-version]] DEST FILE...  copy as "
                        "the basket does; conflicts as TAB-separated rows"),
         copyFiles},
        {QStringLiteral("icons"),
         QStringLiteral("icons FILE                   the number of icons in a program or .ico "
                        "file"),
         fileIcons},
        {QStringLiteral("icons"),
         QStringLiteral("icons --save N FILE OUT.ico  image N of the byte scan as an .ico file"),
         fileIcons},
        {QStringLiteral("fontname"),
         QStringLiteral("fontname FILE                the face name of a TrueType or OpenType "
                        "font"),
         fontName},
    };
    return all;
}

bool needsGuiApplication(const QStringList& args)
{
    for (const Command& c : commands()) {
        if (!args.isEmpty() && c.name == args.first())
            return c.needsGui;
    }
    return false;
}

int run(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    for (const Command& c : commands()) {
        if (c.name == args.first())
            return c.run(args.mid(1), out, err);
    }
    err << "lumara-cli: unknown command: " << args.first() << " (see lumara-cli --help)\n";
    return 2;
}

} // namespace cli
