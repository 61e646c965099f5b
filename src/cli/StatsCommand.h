#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `stats [list options] FOLDER`: prints the size table of the root of the listed
/// tree, header row first, cells joined by TAB, LF line ends.
int sizeStatistics(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
