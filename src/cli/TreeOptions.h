#pragma once

#include "browse/FileList.h"

#include <QStringList>
#include <QTextStream>

struct Settings;

namespace cli {

/// The tree and sort options of `lumara-cli list`.
struct TreeOptions {
    TreeType treeType = TreeType::PlainList;
    DateBasis dateBasis = DateBasis::Created;
    bool descending = false;
    bool orderGiven = false;
    SortKey sortKey = SortKey::None;
    bool extensionNames = false;
};

/// Usage text of the options, for the command table.
[[nodiscard]] QString treeOptionsUsage();

/// Reads the option at args[i] when it is one of ours (advancing i past its value).
/// Returns 1 when it was taken, 0 when it is not a tree option, -1 on a bad value
/// (the message, after `prefix`, is written to `err`).
int parseTreeOption(const QStringList& args, qsizetype& i, TreeOptions& options, QTextStream& err,
                    const QString& prefix);

/// Puts the tree type, date basis, direction and type-name option into place before
/// the folder is listed, so the listing builds that tree.
void prepareTreeOptions(const TreeOptions& options, FileList& state, Settings& settings);

/// After the listing: runs the plain sort when one was asked for.
void finishTreeOptions(const TreeOptions& options, FileList& state, const Settings& settings);

} // namespace cli
