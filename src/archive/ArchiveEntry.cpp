#include "archive/ArchiveEntry.h"

#include <utility>

void SplitEntryPath(QString name, QString& path, QString& fileName)
{
    qsizetype cut = name.lastIndexOf(u'/');
    if (cut < 0)
        cut = name.lastIndexOf(u'\\');
    path = name.left(cut + 1);
    name.remove(0, cut + 1); // in place: the name's own storage becomes the file name
    fileName = std::move(name);
}

QDateTime DosDateToDate(quint16 date, quint16 time)
{
    const int year = 1980 + (date >> 9);
    const int month = (date >> 5) & 15;
    const int day = date & 31;
    const int hour = time >> 11;
    const int minute = (time >> 5) & 63;
    const int second = (time & 31) * 2;
    const QDate d(year, month, day);
    // The original conversion rejects such words; its zero file time then read as
    // 1 January 1980, 03:00 on the machines it ran on.
    if (!d.isValid() || hour > 23 || minute > 59 || second > 59)
        return QDateTime(QDate(1980, 1, 1), QTime(3, 0), Qt::UTC);
    return QDateTime(d, QTime(hour, minute, second), Qt::UTC);
}
