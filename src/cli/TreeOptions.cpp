#include "cli/TreeOptions.h"

#include "browse/FileList.h"
#include "shared/Settings.h"
#include "trees/PlainSort.h"
#include "trees/TreeContext.h"

namespace cli {
namespace {

/// The value after an option, or nothing (with a message) when it is missing or not
/// one of `allowed`.
std::optional<QString> choice(const QStringList& args, qsizetype& i, const QStringList& allowed,
                              QTextStream& err, const QString& prefix)
{
    const QString option = args[i];
    if (i + 1 >= args.size()) {
        err << prefix << option << " needs one of: " << allowed.join(u'|') << "\n";
        return std::nullopt;
    }
    const QString value = args[++i];
    if (!allowed.contains(value)) {
        err << prefix << option << " takes " << allowed.join(u'|') << ", not " << value << "\n";
        return std::nullopt;
    }
    return value;
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
        const auto word = choice(args, i, {"name", "ext", "size", "date", "age"}, err, prefix);
        if (!word)
            return -1;
        options.treeType = *TreeTypeFromWord(*word);
    } else if (arg == u"--basis") {
        const auto word = choice(args, i, {"created", "modified"}, err, prefix);
        if (!word)
            return -1;
        options.dateBasis = *DateBasisFromWord(*word);
    } else if (arg == u"--order") {
        const auto word = choice(args, i, {"asc", "desc"}, err, prefix);
        if (!word)
            return -1;
        options.descending = *word == u"desc";
        options.orderGiven = true;
    } else if (arg == u"--sort") {
        const auto word = choice(args, i, {"name", "ext", "size"}, err, prefix);
        if (!word)
            return -1;
        options.sortKey = *SortKeyFromWord(*word);
    } else if (arg == u"--ext-names") {
        options.extensionNames = true;
    } else {
        return 0;
    }
    if (options.sortKey != SortKey::None && options.treeType != TreeType::PlainList) {
        err << prefix << "--sort sorts the plain list; it does not go with --tree\n";
        return -1;
    }
    return 1;
}

void prepareTreeOptions(const TreeOptions& options, FileList& state, Settings& settings)
{
    state.setTreeType(options.treeType);
    state.setDateBasis(options.dateBasis);
    settings.extensionNames = options.extensionNames ? 1 : 0;
    // The age tree walks oldest first by default; a chosen ascending order turns it to
    // newest first.
    if (!options.orderGiven)
        state.setTreeDirection(SortDirection::Unset);
    else if (options.treeType == TreeType::Age)
        state.setTreeDirection(options.descending ? SortDirection::Unset
                                                  : SortDirection::Ascending);
    else
        state.setTreeDirection(options.descending ? SortDirection::Descending
                                                  : SortDirection::Unset);
}

void finishTreeOptions(const TreeOptions& options, FileList& state, const Settings& settings)
{
    if (options.sortKey == SortKey::None || state.setup().showsPlaceholder)
        return;
    state.setPlainSortKey(options.sortKey);
    const int count =
        PlainSort(state, TreeContext::live(settings),
                  options.descending ? SortDirection::Descending : SortDirection::Ascending);
    state.setPlainSortKey(SortKey::None);
    if (count > 0)
        state.showFileCount(count);
}

} // namespace cli
