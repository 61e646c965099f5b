#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli options ...`: what the options dialog would show or store.
///   swatches                 the 32 swatches: index, name, "R, G, B" or "system colour N"
///   colour R G B             the colour "Apply" would store, as "R, G, B"
///   size SIZE [left|right]...  the size label after each click ("refused" when refused)
///   tempdir TEXT             the working folder "Apply" would keep (made when missing),
///                            or the message the dialog would show (status 1)
int optionsCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
