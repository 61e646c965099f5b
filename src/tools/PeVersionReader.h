#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

/// Reads the StringFileInfo strings ("CompanyName", "FileVersion", ...) of the version
/// resource of a Windows program (a PE file). Anything else, or a damaged file, gives
/// an empty map. Only the first string table is read.
[[nodiscard]] QMap<QString, QString> ReadPeVersionStrings(const QByteArray& image);

/// The same for a file on disk; an unreadable or non-PE file gives an empty map.
[[nodiscard]] QMap<QString, QString> ReadPeVersionStringsFromFile(const QString& path);
