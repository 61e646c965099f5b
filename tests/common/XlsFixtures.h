#pragma once

#include "common/RunTool.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

// Workbooks made by python3-xlwt, and the cells python3-xlrd reads from them. xlwt writes
// formulas without their results; Excel and LibreOffice store the last result in the
// FORMULA record (or a STRING record after it), so the fixtures add results the same
// way and let xlwt pack the stream into its compound file.

namespace xlsfixtures {

/// Runs Debian's own python3 (the one the Debian packages install into) on `script`.
inline bool RunPython(const QString& script, const QStringList& args, QByteArray* out = nullptr)
{
    const ToolRun python = RunTool(QStringLiteral("/usr/bin/python3"),
                                   QStringList{QStringLiteral("-c"), script} + args);
    if (!python.succeeded())
        return false;
    if (out)
        *out = python.output;
    return true;
}

/// Writes a workbook with two sheets of formulas and their stored results: "F" (numbers,
/// texts Latin and Cyrillic, an empty text, booleans, an error, a date) under a heading
/// row, and "Second" with one number. False when python3-xlwt is missing.
inline bool WriteFormulaWorkbook(const QString& path)
{
    const QString script = QStringLiteral(R"(
import struct, sys, xlwt
from xlwt import CompoundDoc

def records(data):
    pos = 0
    while pos + 4 <= len(data):
        rid, size = struct.unpack_from('<HH', data, pos)
        yield rid, data[pos + 4:pos + 4 + size]
        pos += 4 + size

def rec(rid, body):
    return struct.pack('<HH', rid, len(body)) + body

def special(kind, value=0):
    return struct.pack('<BBBBHH', kind, 0, value, 0, 0, 0xFFFF)

def with_results(data, results):
    out, sheet, bofs = [], -2, []
    for rid, body in records(data):
        if rid == 0x0809:
            sheet += 1
            bofs.append(sum(len(r) for r in out))
        extra = b''
        value = results.get((sheet,) + struct.unpack_from('<HH', body)) if rid == 0x0006 else None
        if value is not None:
            if isinstance(value, bool):
                result = special(1, int(value))
            elif isinstance(value, tuple):
                result = special(2, value[1])
            elif isinstance(value, str):
                result = special(0 if value else 3)
                if value:
                    wide = any(ord(ch) > 255 for ch in value)
                    chars = value.encode('utf-16-le' if wide else 'latin-1')
                    extra = rec(0x0207, struct.pack('<HB', len(value), int(wide)) + chars)
            else:
                result = struct.pack('<d', value)
            body = body[:6] + result + body[14:]
        out.append(rec(rid, body) + extra)
    n = 0
    for i, r in enumerate(out):
        if struct.unpack_from('<H', r)[0] == 0x0085:
            out[i] = r[:4] + struct.pack('<I', bofs[1 + n]) + r[8:]
            n += 1
    return b''.join(out)

book = xlwt.Workbook()
s = book.add_sheet('F')
for c, h in enumerate(['sum', 'joined', 'cyrillic', 'true', 'error', 'false']):
    s.write(0, c, h)
formulas = {(1, 0): ('1+2', 3.0), (1, 1): ('"ABC"&"DEF"', 'ABCDEF'),
            (1, 2): ('"\u041f\u0440\u0438\u0432\u0435\u0442"', '\u041f\u0440\u0438\u0432\u0435\u0442'),
            (1, 3): ('1=1', True), (1, 4): ('1/0', ('error', 7)), (1, 5): ('1=2', False),
            (2, 0): ('A2*2.5', 7.5), (2, 1): ('""', ''), (2, 2): ('DATE(2024,3,5)', 45356.0),
            (2, 4): ('NA()', ('error', 0x2A))}
dated = xlwt.easyxf(num_format_str='DD.MM.YYYY')
for (r, c), (f, _) in formulas.items():
    s.write(r, c, xlwt.Formula(f), dated if (r, c) == (2, 2) else xlwt.Style.default_style)
s.write(2, 3, 7)
t = book.add_sheet('Second')
t.write(0, 0, 'h')
t.write(1, 0, xlwt.Formula('2*3'))
results = {(0,) + at: v for at, (_, v) in formulas.items()}
results[(1, 1, 0)] = 6.0
CompoundDoc.XlsDoc().save(sys.argv[1], with_results(book.get_biff_data(), results))
)");
    return RunPython(script, {path}) && QFile::exists(path);
}

/// Writes a workbook whose sheet "Dates" holds dates, dates with times and times of day
/// under date formats, beside plain numbers. False when python3-xlwt is missing.
inline bool WriteDateWorkbook(const QString& path)
{
    const QString script = QStringLiteral(R"(
import sys, datetime, xlwt
b = xlwt.Workbook()
s = b.add_sheet('Dates')
s.write(0, 0, 'day'); s.write(0, 1, 'moment'); s.write(0, 2, 'hour'); s.write(0, 3, 'n')
day, moment, hour = (xlwt.easyxf(num_format_str=f) for f in ('YYYY-MM-DD', 'DD/MM/YYYY hh:mm:ss', 'hh:mm'))
for r in range(1, 4):
    s.write(r, 0, datetime.date(1999 + 12 * r, r, 20 + r), day)
    s.write(r, 1, datetime.datetime(2024, 2, 26 + r, 13, 45, 10 * r), moment)
    s.write(r, 2, datetime.time(7 * r, 30), hour)
    s.write(r, 3, r * 1.25)
b.save(sys.argv[1])
)");
    return RunPython(script, {path}) && QFile::exists(path);
}

/// The rows of a sheet (the only one, when none has that name) as python3-xlrd reads them, cells
/// joined by tabs, written the way the table view writes values: numbers in 15 significant digits,
/// booleans 1 and 0, errors by their Excel text; date cells as dates when whole, as times when
/// under a day, else as both (the fixtures' formats say the same). Nothing when python3-xlrd is
/// missing or cannot read the file.
inline std::optional<QString> ReferenceRows(const QString& path, const QString& sheet)
{
    const QString script = QStringLiteral(R"(
import os, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], logfile=open(os.devnull, 'w'))
names = book.sheet_names()
s = book.sheet_by_name(sys.argv[2]) if sys.argv[2] in names or len(names) > 1 else book.sheet_by_index(0)
def text(c):
    if c.ctype == xlrd.XL_CELL_NUMBER: return '%.15g' % c.value
    if c.ctype == xlrd.XL_CELL_BOOLEAN: return str(int(c.value))
    if c.ctype == xlrd.XL_CELL_ERROR: return xlrd.error_text_from_code[c.value]
    if c.ctype == xlrd.XL_CELL_DATE:
        y, mo, d, h, mi, se = xlrd.xldate_as_tuple(c.value, book.datemode)
        day, time = '%04d-%02d-%02d' % (y, mo, d), '%02d:%02d:%02d' % (h, mi, se)
        return time if c.value < 1 else day if c.value == int(c.value) else day + ' ' + time
    return str(c.value)
for r in range(s.nrows):
    print('\t'.join(text(c) for c in s.row(r)).rstrip('\t'))
)");
    QByteArray out;
    if (!RunPython(script, {path, sheet}, &out))
        return std::nullopt;
    return QString::fromUtf8(out).trimmed();
}

} // namespace xlsfixtures
