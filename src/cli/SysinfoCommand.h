#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli sysinfo`: the system report as "Copy" puts it on the clipboard (eight
/// spaces per level, CR LF line ends). Without a screen the resolution reads 0 x 0.
int systemReport(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
