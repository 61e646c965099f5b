#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

/// `lumara-cli archive [--count|--details] FILE`: the collected entry names, one per
/// line; the count request's text ("X 4"); or each named entry's 14 detail lines.
int archiveListing(const QStringList& args, QTextStream& out, QTextStream& err);

/// `lumara-cli unzip [--overwrite] [--password P] ZIP ENTRY DIR`: extracts one entry;
/// exit 1 when it does not exist afterwards.
int unzipEntry(const QStringList& args, QTextStream& out, QTextStream& err);

/// `lumara-cli zip [--password P] OUT.zip FILE...`: zips the files without their folder
/// names, as the basket does; exit 1 when the zip file does not exist afterwards.
int zipFiles(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
