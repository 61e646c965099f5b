#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `find [list options] [--name P] [--content C [--and|--or] --content C ...] [--zip]
/// FOLDER`: lists the folder as `list` does, keeps the files that meet the criteria and
/// prints the list in the same form. Without criteria: "no criteria specified", status 1.
int findFiles(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
