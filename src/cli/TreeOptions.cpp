#include "cli/TreeOptions.h"

#include "browse/FolderListing.h"
#include "shared/Settings.h"
#include "trees/PlainSort.h"
#include "trees/TreeContext.h"

namespace cli {
namespace {

/// The value after an option, or nothing (with a message) when it is missing or not
/// one of `allowed`.
std::optional<int> choice(const QStringList& args, qsizetype& i, const QStringList& allowed,
                          QTextStream& err, const QString& prefix)
{
    const QString option = args[i];
    if (i + 1 >= args.size()) {
        err << prefix << option << " needs one of: " << allowed.join(u'|') << "\n";
        return std::nullopt;
    }
    const QString value = args[++i];
    const auto at = allowed.indexOf(value);
    if (at < 0) {
        err << prefix << option << " takes " << allowed.join(u'|') << ", not " << value << "\n";
        return std::nullopt;
    }
    return int(at);
}

} // namespace

QString treeOptionsUsage()
{
    return QStringLiteral("[--tree name|ext|size|date|age] [--basis created|modified] "
                          "[--sort name|ext|size] [--order asc|desc] [--ext-names]");
}

int parseTreeOption(const QStringList& args, qsizetype& i, TreeOptions& options, QTextStream& err,
                    const QString& prefix)
{
    const QString& arg = args[i];
    if (arg == u"--tree") {
        static const TreeType types[] = {TreeType::PlainList, TreeType::Extension, TreeType::Size,
                                         TreeType::Date, TreeType::Age};
        const auto at = choice(args, i, {"name", "ext", "size", "date", "age"}, err, prefix);
        if (!at)
            return -1;
        options.treeType = types[*at];
    } else if (arg == u"--basis") {
        const auto at = choice(args, i, {"created", "modified"}, err, prefix);
        if (!at)
            return -1;
        options.dateBasis = *at;
    } else if (arg == u"--order") {
        const auto at = choice(args, i, {"asc", "desc"}, err, prefix);
        if (!at)
            return -1;
        options.descending = *at == 1;
        options.orderGiven = true;
    } else if (arg == u"--sort") {
        static const char* const codes[] = {"NAM", "EXT", "SIZ"};
        const auto at = choice(args, i, {"name", "ext", "size"}, err, prefix);
        if (!at)
            return -1;
        options.sortCode = QLatin1String(codes[*at]);
    } else if (arg == u"--ext-names") {
        options.extensionNames = true;
    } else {
        return 0;
    }
    if (!options.sortCode.isEmpty() && options.treeType != TreeType::PlainList) {
        err << prefix << "--sort sorts the plain list; it does not go with --tree\n";
        return -1;
    }
    return 1;
}

void prepareTreeOptions(const TreeOptions& options, FileListState& state, Settings& settings)
{
    state.treeType = options.treeType;
    state.dateBasis = options.dateBasis;
    settings.extensionNames = options.extensionNames ? 1 : 0;
    // The age tree walks oldest first by default; "A" turns it to newest first.
    if (!options.orderGiven)
        state.treeDirection.clear();
    else if (options.treeType == TreeType::Age)
        state.treeDirection = options.descending ? QString() : QStringLiteral("A");
    else
        state.treeDirection = options.descending ? QStringLiteral("D") : QString();
}

void finishTreeOptions(const TreeOptions& options, FileListState& state, const Settings& settings)
{
    if (options.sortCode.isEmpty() || state.fileTreeTag == u"X")
        return;
    state.plainSortCode = options.sortCode;
    const int count = PlainSort(state, TreeContext::live(settings),
                                options.descending ? QStringLiteral("D") : QStringLiteral("A"));
    state.plainSortCode.clear();
    if (count > 0)
        ShowFileCount(state, count);
}

} // namespace cli
