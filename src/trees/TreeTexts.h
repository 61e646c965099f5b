#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

/// Size band of a file length: ".Kb 0001 and below", ".Kb 0100 to 0200",
/// ".Mb 0010 to 0020", ".Gb 0001.500". Kilobytes and megabytes round half to even.
[[nodiscard]] QString SizeBandText(qint64 length);

/// A file time (ms since the epoch) as the directory stores it, in UTC calendar fields.
[[nodiscard]] QDateTime FileTimeFields(qint64 msSinceEpoch);
/// The calendar day of a stored time, as FileTimeFields(ms).date() gives it, computed
/// directly: the trees ask it once per file.
[[nodiscard]] QDate FileDay(qint64 msSinceEpoch);

/// "5 Jan 2005 - 9:7:3": day, month name, year, " - ", h:m:s, no leading zeros.
[[nodiscard]] QString FileDateText(const QDateTime& when);

/// The date part of a file date text, zero-padded to 11 characters ("05 Jan 2005").
[[nodiscard]] QString DayText(const QString& fileDateText);

/// A day text ("05 Jan 2005") read back as a date; invalid when it does not parse.
[[nodiscard]] QDate DayTextDate(const QString& dayText);

/// "yyyymmdd" of a day text; "00000000" when the text is not a date.
[[nodiscard]] QString DayKey(const QString& dayText);

/// How old a file of day `day` is on `today`, counting calendar boundaries:
/// " today", "01 day old", "03 days old", "01 month old", "02 years old"; negative
/// counts for future days ("-02 days old").
[[nodiscard]] QString AgeText(const QDate& day, const QDate& today);
