#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli drives`: one line per mounted volume: its key (the mount path), the
/// folder history's kind word and the folder tree's text, separated by TABs.
int listDrives(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
