#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `table FILE.xls [SHEET]` and `table FILE.mdb [TABLE]`: without a name the tree the
/// view window shows (sheets; tables with their field lines), with one the grid as
/// TAB-separated rows, the heading row first.
int showTable(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
