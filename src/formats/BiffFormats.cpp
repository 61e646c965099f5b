#include "formats/BiffFormats.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace biff {
namespace {

// Excel's first day in each date system, and the day it wrongly counts as 29 February
// 1900 (days before it are one off).
constexpr int FakeLeapDay = 60;
constexpr double SecondsPerDay = 86400.0;

/// The format's codes with text, escapes, fills and bracketed parts taken out.
QString FormatCodes(const QString& format)
{
    QString codes;
    bool elapsedTime = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            i = end < 0 ? format.size() : end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // the next character is shown or fills, never a code
        } else if (c == u'[') {
            const qsizetype end = format.indexOf(u']', i + 1);
            const QString inside = format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            // [h], [mm], [ss]: elapsed time; colours and [$-409] locale tags are no codes.
            if (!inside.isEmpty() && QStringLiteral("hHmMsS").contains(inside[0]))
                elapsedTime = true;
            i = end < 0 ? format.size() : end;
        } else if (c == u';') {
            break; // the first section decides, as for positive numbers
        } else {
            codes += c.toLower();
        }
    }
    codes.remove(QStringLiteral("am/pm")).remove(QStringLiteral("a/p"));
    if (elapsedTime)
        codes += u'h';
    return codes;
}

} // namespace

CellKind KindOfFormat(const QString& format)
{
    const QString codes = FormatCodes(format);
    if (codes == QLatin1String("general"))
        return CellKind::Number;
    const bool time = codes.contains(u'h') || codes.contains(u's');
    const bool date =
        codes.contains(u'y') || codes.contains(u'd') || (codes.contains(u'm') && !time);
    if (date && time)
        return CellKind::DateTime;
    if (date)
        return CellKind::Date;
    if (time)
        return CellKind::Time;
    return CellKind::Number;
}

CellKind KindOfBuiltInFormat(int index)
{
    if (index >= 14 && index <= 17)
        return CellKind::Date;
    if ((index >= 18 && index <= 21) || (index >= 45 && index <= 47))
        return CellKind::Time;
    if (index == 22)
        return CellKind::DateTime;
    return CellKind::Number;
}

namespace {

QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

QString ErrorText(int code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    default:
        return QStringLiteral("#ERR") + QString::number(code);
    }
}

QString DayText(qint64 day, bool dates1904)
{
    if (dates1904)
        return QDate(1904, 1, 1).addDays(day).toString(Qt::ISODate);
    if (day == FakeLeapDay)
        return QStringLiteral("1900-02-29");
    return QDate(1899, 12, day < FakeLeapDay ? 31 : 30).addDays(day).toString(Qt::ISODate);
}

} // namespace

QString CellText(const Cell& cell, bool dates1904)
{
    const bool dated = cell.kind == CellKind::Date || cell.kind == CellKind::DateTime ||
                       cell.kind == CellKind::Time;
    // Dates stay numbers where the calendar ends (QDate reaches far past Excel's 9999).
    if (dated && !(std::isfinite(cell.number) && std::abs(cell.number) < 1e7))
        return NumberText(cell.number);
    switch (cell.kind) {
    case CellKind::Number:
        return NumberText(cell.number);
    case CellKind::Text:
        return cell.text;
    case CellKind::Boolean:
        return cell.number != 0 ? QStringLiteral("1") : QStringLiteral("0");
    case CellKind::Error:
        return ErrorText(int(cell.number));
    default:
        break;
    }
    const qint64 seconds = std::llround(cell.number * SecondsPerDay);
    const qint64 day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const QString time = QTime(0, 0).addSecs(int(seconds - day * 86400)).toString(u"HH:mm:ss");
    if (cell.kind == CellKind::Time)
        return time;
    if (cell.kind == CellKind::Date) // the day the value falls in, whatever its hour
        return DayText(qint64(std::floor(cell.number)), dates1904);
    return DayText(day, dates1904) + u' ' + time;
}

} // namespace biff
