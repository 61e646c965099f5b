#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `picture FILE [--rotate DEGREES] [--frame WxH] --out OUT.png`: the picture at its
/// natural size, or turned by 90, 180, 270 or -90 degrees as the rotation draws it;
/// without --frame the turned picture alone, with it the whole frame of that size.
int drawPicture(const QStringList& args, QTextStream& out, QTextStream& err);
/// `thumbs FOLDER|--basket FILE.bsk [--area WxH] --out DIR`: writes DIR/page1.png,
/// page2.png, ... of the folder's pictures or the basket file's picture entries and
/// prints "N pictures, P pages" (or why there is nothing to show).
int drawThumbnails(const QStringList& args, QTextStream& out, QTextStream& err);
/// `media FILE`: opens the sound and prints its length as MP3Duration gives it.
int mediaLength(const QStringList& args, QTextStream& out, QTextStream& err);
/// `sizebars [list options] [--width TWIPS] [--page WxH] FOLDER|--basket FILE.bsk --out
/// OUT.png`: the size bar chart of the folder's tree, or of the basket file's entries as
/// the basket's grid holds them; further pages go to OUT-2.png, OUT-3.png, ...
int drawSizeBars(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
