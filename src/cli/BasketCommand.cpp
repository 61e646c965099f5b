#include "cli/BasketCommand.h"

#include "basket/Basket.h"
#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketHeader.h"
#include "basket/NextVersionName.h"
#include "basket/OverwritePairs.h"
#include "cli/NameEscape.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "shared/TextHelpers.h"

namespace cli {
namespace {

void printShown(const ScriptedPrompts& prompts, QTextStream& err)
{
    for (const ScriptedPrompts::Shown& s : prompts.shown)
        err << s.title << ": " << EscapeMessage(s.text) << "\n";
}

QString absolute(const QString& path)
{
    return platform::absoluteFilePath(path);
}

int saveBasket(const QStringList& args, QTextStream& err)
{
    if (args.size() < 2) {
        err << "lumara-cli basket save: give OUT.bsk PATH...\n";
        return 2;
    }
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket(grid, prompts, host);
    for (const QString& arg : args.mid(1)) {
        const QString path = absolute(arg);
        const qsizetype slash = path.lastIndexOf(u'/');
        basket.AddFileToBasket(path.left(slash + 1), path.mid(slash + 1), NodeSource::File,
                               QString(), Basket::Notice::Silent);
    }
    prompts.answers = {Prompts::Answer::Yes}; // the command line asked to write
    prompts.shown.clear();
    const bool saved = SaveBasketFile(basket, absolute(args.first()), prompts);
    printShown(prompts, err);
    return saved ? 0 : 1;
}

int showBasket(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "lumara-cli basket show: give FILE.bsk\n";
        return 2;
    }
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket(grid, prompts, host);
    if (!loadBasketArgument(args.first(), basket, err, QStringLiteral("basket show")))
        return 1;
    out << DecodeBasketHeader(ReadBasketFile(absolute(args.first())).headerLine, BasketKey) << "\n";
    for (int row = 1; row < grid.rows(); ++row)
        out << EscapeName(basket.shown(row)) << "\t" << grid.textMatrix(row, Basket::SizeColumn)
            << "\n";
    return 0;
}

} // namespace

bool loadBasketArgument(const QString& given, Basket& basket, QTextStream& err,
                        const QString& command)
{
    const QString path = absolute(given);
    if (!platform::isRegularFile(path)) {
        err << "lumara-cli " << command << ": cannot read " << given << "\n";
        return false;
    }
    if (LoadBasketFile(basket, path) != BasketLoad::Loaded) {
        err << "lumara-cli " << command
            << ": not a basket file (its first line is no basket header): " << given << "\n";
        return false;
    }
    return true;
}

int basketCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty() && args.first() == QLatin1String("save"))
        return saveBasket(args.mid(1), err);
    if (!args.isEmpty() && args.first() == QLatin1String("show"))
        return showBasket(args.mid(1), out, err);
    err << "lumara-cli basket: give save OUT.bsk PATH... or show FILE.bsk\n";
    return 2;
}

int nextVersion(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 2) {
        err << "lumara-cli nextversion: give FOLDER NAME\n";
        return 2;
    }
    const QString name = NextVersionName(WithSlash(absolute(args.at(0))), args.at(1));
    if (name.isEmpty()) {
        err << "lumara-cli nextversion: all 99 version names of " << args.at(1) << " are taken\n";
        return 1;
    }
    out << EscapeName(name) << "\n";
    return 0;
}

int copyFiles(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList rest = args;
    const bool stamp = rest.removeAll(QStringLiteral("--stamp")) > 0;
    const bool yesAll = rest.removeAll(QStringLiteral("--yes-all")) > 0;
    const bool nextVersion = rest.removeAll(QStringLiteral("--next-version")) > 0;
    if (rest.size() < 2 || (nextVersion && !yesAll)) {
        err << "lumara-cli copy: give [--stamp] [--yes-all [--next-version]] DEST FILE...\n";
        return 2;
    }
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket(grid, prompts, host);
    for (const QString& file : rest.mid(1))
        basket.addLoadedEntry(absolute(file));
    OverwritePairs pairs;
    CopyContext context{prompts, pairs};
    const QString folder = WithSlash(absolute(rest.first()));
    const CopyOutcome outcome =
        stamp ? StampCopyBasketRows(basket, folder, 1, basket.entries(), context)
              : CopyBasketRows(basket, folder, 1, basket.entries(), context);
    bool allDone = outcome.failed == 0;
    if (outcome.needsDialog(context) && yesAll) {
        pairs.flipAll();
        if (!pairs.anyYes())
            pairs.flipAll();
        pairs.copyMarked(nextVersion, prompts);
        allDone = allDone && pairs.failedCount() == 0;
    }
    // The pair number is held with NumText's leading blank; the rows print it bare.
    for (QStringList cells : pairs.rowCells()) {
        for (QString& cell : cells)
            cell = EscapeName(&cell == &cells.first() ? cell.trimmed() : cell);
        out << cells.join(u'\t') << "\n";
    }
    printShown(prompts, err);
    if (outcome.needsDialog(context) && !yesAll)
        err << "lumara-cli copy: the existing files in the rows were kept (--yes-all replaces "
               "them)\n";
    if (!allDone) {
        err << "lumara-cli copy: not every file was copied (the reasons are above)\n";
        return 1;
    }
    return 0;
}

} // namespace cli
