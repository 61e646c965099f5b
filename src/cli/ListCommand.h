#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `list [--pattern P] [--hidden] FOLDER`: prints the plain file list as "Copy List"
/// copies it (root line, files indented by 8 spaces), with LF line ends.
int listFolder(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
