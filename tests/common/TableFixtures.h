#pragma once

#include "common/RunTool.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Workbooks are written by python3-xlwt; the sample database is the one Debian's
// fp-units-db ships (nothing in Debian writes .mdb files).

/// Writes a workbook to `path` with three sheets: "Sheet1" with 27 headed columns (the
/// heading of column 5 left empty) and two rows; "My Sheet" with a name, a number and a
/// text column over four rows; "Long" with one column "n" and rows 1 to 2500.
/// False when python3-xlwt is missing.
inline bool WriteWorkbook(const QString& path)
{
    const QString script = QStringLiteral(R"(
import sys, xlwt
book = xlwt.Workbook()
s = book.add_sheet('Sheet1')
for c in range(27):
    if c != 4:
        s.write(0, c, 'col%d' % (c + 1))
    s.write(1, c, '  padded  ' if c == 0 else c + 1)
    s.write(2, c, 'r2c%d' % (c + 1))
m = book.add_sheet('My Sheet')
for c, h in enumerate(['Name', 'Amount', 'Note']):
    m.write(0, c, h)
for r, (n, a, t) in enumerate([('pear', 10, 'b'), ('Apple', 9, 'a'), ('fig', 100, 'c'), ('banana', 2.5, 'd')]):
    m.write(r + 1, 0, n); m.write(r + 1, 1, a); m.write(r + 1, 2, t)
l = book.add_sheet('Long')
l.write(0, 0, 'n')
for r in range(1, 2501):
    l.write(r, 0, r)
book.save(sys.argv[1])
)");
    // Debian's own interpreter, the one python3-xlwt installs into.
    return RunTool(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path})
               .succeeded() &&
           QFile::exists(path);
}

/// Where Debian keeps the sample database (gzipped).
inline const QString SampleDatabaseSource =
    QStringLiteral("/usr/share/doc/fp-units-db/3.2.2/examples/odbc/testodbc.mdb.gz");

/// Unpacks the sample database to `path`; false when fp-units-db is missing.
inline bool WriteSampleDatabase(const QString& path)
{
    const ToolRun gunzip =
        RunTool(QStringLiteral("gzip"), {QStringLiteral("-dc"), SampleDatabaseSource});
    if (!gunzip.succeeded())
        return false;
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(gunzip.output) > 0;
}
