#pragma once

#include "browse/FileList.h"

#include <QStringList>
#include <QTextStream>

struct Settings;

namespace cli {

/// `list [--pattern P] [--hidden] FOLDER`: prints the plain file list as "Copy List"
/// copies it (root line, files indented by 8 spaces), with LF line ends.
/// Parses the list options (pattern, hidden, tree, sort and filter options) and FOLDER,
/// and lists the folder into `state` as `list` does. Returns -1 when it listed, else
/// the exit status (the message, naming `command`, written to `err`).
int listFromArgs(const QStringList& args, FileList& state, Settings& settings, QTextStream& err,
                 const QString& command);
/// listFromArgs, but a plain list that no sort or filter asks for gets no node per file
/// (only the root): *namesOnly says whether that was so.
int listNamesFromArgs(const QStringList& args, FileList& state, Settings& settings,
                      QTextStream& err, const QString& command, bool* namesOnly);

int listFolder(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
