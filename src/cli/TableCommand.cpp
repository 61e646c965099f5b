#include "cli/TableCommand.h"

#include "cli/NameEscape.h"
#include "controls/TreeText.h"
#include "formats/XlsWorkbook.h"
#include "platform/CancelKey.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "view/table/TableViews.h"

#include <QFileInfo>

namespace cli {
namespace {

class NoCancel : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};

void printGrid(const Grid& grid, QTextStream& out)
{
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0)
                out << '\t';
            out << EscapeName(grid.textMatrix(r, c));
        }
        out << '\n';
    }
}

} // namespace

int showTable(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty() || args.size() > 2) {
        err << "lumara-cli table: give FILE.xls or FILE.mdb and optionally a sheet or table\n";
        return 2;
    }
    const QFileInfo file(args[0]);
    const QString path = platform::absoluteFilePath(args[0]);
    const QString suffix = file.suffix().toLower();
    if (suffix != u"xls" && suffix != u"mdb") {
        err << "lumara-cli table: not a .xls or .mdb file: " << args[0] << "\n";
        return 2;
    }
    const bool workbook = suffix == u"xls";
    ScriptedPrompts prompts;
    NoCancel cancel;
    int status = 0;
    if (args.size() == 1) {
        NodeTree tree;
        try {
            if (workbook) {
                for (const QString& sheet : xls::SheetNames(path))
                    out << sheet << '\n';
                out.flush();
                return 0;
            }
            BuildDatabaseTree(tree, file.fileName(), platform::Database(path));
        } catch (const platform::TableSourceError&) {
            err << "unable to open:\n" << path << "\n";
            return 1;
        }
        WriteTreeText(tree, out, u"\n");
    } else {
        Grid grid;
        const bool shown = workbook ? ShowSheet(grid, path, args[1], cancel, prompts)
                                    : ShowTable(grid, path, args[1], path, cancel, prompts);
        if (shown)
            printGrid(grid, out);
        status = shown ? 0 : 1;
    }
    for (const QString& text : prompts.shownTexts())
        err << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << "\n";
    out.flush();
    return status;
}

} // namespace cli
