#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `text FILE`: the text the view window shows for a text, RTF or document file, as
/// plain text with one paragraph per line.
int showText(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
