#include "shared/TextHelpers.h"

#include <cmath>

QString SizeText(double size)
{
    constexpr double Kb = 1024.0;
    QString unit;
    QString number;
    if (std::isnan(size))
        size = 0;
    if (size >= Kb * Kb * Kb) {
        number = QString::number(size / Kb / Kb / Kb, 'f', 3);
        unit = QStringLiteral("Gb");
    } else if (size >= Kb * Kb) {
        number = QString::number(size / Kb / Kb, 'f', 3);
        unit = QStringLiteral("Mb");
    } else if (size >= Kb) {
        number = QString::number(size / Kb, 'f', 3);
        unit = QStringLiteral("Kb");
    } else {
        number = QString::number(qint64(std::trunc(size)));
        unit = QStringLiteral("bytes");
    }
    if (number.contains(QLatin1Char('.'))) {
        if (number.endsWith(QLatin1String("000")))
            number.chop(4);
        else if (number.endsWith(QLatin1String("00")))
            number.chop(2);
        else if (number.endsWith(QLatin1Char('0')))
            number.chop(1);
    }
    return number + QLatin1Char(' ') + unit;
}

QString ExtensionOf(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QStringLiteral(" ");
    return name.mid(dot).toUpper();
}

QString NameAfterLastBackslash(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString CutAtNul(const QString& text)
{
    const int nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString NumText(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

const QStringList& MonthNames()
{
    static const QStringList names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return names;
}

QString WithSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString RootText(const QString& path)
{
    if (path.length() >= 4 && path.endsWith(QLatin1Char('/')))
        return path.left(path.length() - 1);
    return path;
}
