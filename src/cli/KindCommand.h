#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli kind NAME...`: one line per name, the name, a TAB and its FileKind under
/// the default settings.
int fileKinds(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
