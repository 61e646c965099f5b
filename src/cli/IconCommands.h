#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli icons FILE`: the number of icons the file holds.
/// `lumara-cli icons --save N FILE OUT.ico`: writes image N found by the byte scan as
/// an .ico file, replacing OUT.ico without asking.
int fileIcons(const QStringList& args, QTextStream& out, QTextStream& err);

/// `lumara-cli fontname FILE`: the face name the font file gives itself ("" when none).
int fontName(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
