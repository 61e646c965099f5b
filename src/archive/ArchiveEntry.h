#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

/// The fields of one `FileFound` event: one entry of an archive directory, as its
/// format stores them.
struct ArchiveEntry {
    qint64 Index = 0;     ///< 1-based number in reading order
    qint64 Total = 0;     ///< the reader's FileCount
    QString FileName;     ///< name after the last separator; "" for a folder entry
    QString ArchiveExt;   ///< "zip", "cab", "rar" or "ace"
    QDateTime Modified;   ///< UTC-based, no time-zone shift applied
    quint64 Size = 0;     ///< uncompressed bytes (ZIP64 sizes included)
    quint64 CompSize = 0; ///< compressed bytes; 0 where the format has none
    quint32 Method = 0;
    quint32 Attr = 0;
    QString path; ///< name up to and including its last separator; "" when none
    quint32 Flags = 0;
    quint32 Crc = 0;
    QString Comments;
};

/// Splits an entry name at its last "/", or at its last "\" when it has no "/".
/// `path` keeps the separator; without a separator `path` is "" and `fileName` the name.
void SplitEntryPath(QString name, QString& path, QString& fileName);

/// Converts DOS date and time words to a date (seconds in steps of two, no time-zone
/// shift). An impossible date or time gives 1 January 1980, 03:00.
[[nodiscard]] QDateTime DosDateToDate(quint16 date, quint16 time);
