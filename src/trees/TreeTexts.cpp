#include "trees/TreeTexts.h"

#include "shared/TextHelpers.h"

#include <QTimeZone>
#include <cmath>

namespace {

/// Whole number nearest to `value`, halves to the even neighbour.
qint64 roundHalfEven(double value)
{
    return qint64(std::nearbyint(value)); // the default rounding mode is to-nearest-even
}

QString four(qint64 value)
{
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

/// Numbers formatted "00": at least two digits, the sign in front.
QString twoDigits(qint64 value)
{
    const QString digits = QStringLiteral("%1").arg(std::abs(value), 2, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString SizeBandText(qint64 length)
{
    constexpr qint64 Kb = 1024;
    constexpr qint64 Mb = Kb * Kb;
    constexpr qint64 Gb = Mb * Kb;
    if (length <= Kb)
        return QStringLiteral(".Kb 0001 and below");
    if (length < Mb) {
        const qint64 k = roundHalfEven(double(length) / double(Kb));
        const qint64 base = k / 100 * 100;
        return QStringLiteral(".Kb ") + four(base == 0 ? 1 : base) + QStringLiteral(" to ") +
               four(base + 100);
    }
    if (length < Gb) {
        const qint64 m = roundHalfEven(double(length) / double(Mb));
        const qint64 base = (m + 1) / 10 * 10;
        return QStringLiteral(".Mb ") + four(base == 0 ? 1 : base) + QStringLiteral(" to ") +
               four(base + 10);
    }
    const double g = double(length) / double(Gb);
    QString text = QString::number(g, 'f', 3);
    const int dot = text.indexOf(QLatin1Char('.'));
    return QStringLiteral(".Gb ") + QString(qMax(0, 4 - dot), QLatin1Char('0')) + text;
}

QDateTime FileTimeFields(qint64 msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, QTimeZone::utc());
}

QDate FileDay(qint64 msSinceEpoch)
{
    constexpr qint64 MsPerDay = 86400000;
    constexpr qint64 JulianDayOfEpoch = 2440588;
    // Floor division, so times before 1970 fall on the day they belong to.
    const qint64 days = msSinceEpoch / MsPerDay - (msSinceEpoch % MsPerDay < 0 ? 1 : 0);
    return QDate::fromJulianDay(JulianDayOfEpoch + days);
}

QString FileDateText(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1 %2 %3 - %4:%5:%6")
        .arg(d.day())
        .arg(MonthNames().value(d.month() - 1))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

QString DayText(const QString& fileDateText)
{
    const int cut = fileDateText.indexOf(QLatin1String(" - "));
    QString day = cut < 0 ? fileDateText : fileDateText.left(cut);
    if (day.length() < 11)
        day.prepend(QLatin1Char('0'));
    return day;
}

QDate DayTextDate(const QString& dayText)
{
    const QStringList parts = dayText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return {};
    bool dayOk = false;
    bool yearOk = false;
    const int day = parts[0].toInt(&dayOk);
    const int month = int(MonthNames().indexOf(parts[1])) + 1;
    const int year = parts[2].toInt(&yearOk);
    if (!dayOk || !yearOk || month < 1)
        return {};
    return QDate(year, month, day);
}

QString DayKey(const QString& dayText)
{
    const QDate date = DayTextDate(dayText);
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
}

QString AgeText(const QDate& day, const QDate& today)
{
    const qint64 months =
        qint64(today.year() * 12 + today.month()) - qint64(day.year() * 12 + day.month());
    const qint64 days = day.daysTo(today);
    if (months == 0) {
        if (days == 0)
            return QStringLiteral(" today");
        return twoDigits(days) +
               (days == 1 ? QStringLiteral(" day old") : QStringLiteral(" days old"));
    }
    if (months <= 11)
        return twoDigits(months) +
               (months == 1 ? QStringLiteral(" month old") : QStringLiteral(" months old"));
    const qint64 years = today.year() - day.year();
    return twoDigits(years) +
           (years == 1 ? QStringLiteral(" year old") : QStringLiteral(" years old"));
}
