#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli info FILE`: the 23 property values, one "label: value" line each, then
/// the file's timestamp name.
int fileInfo(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
