#pragma once

#include <QString>

/// Name of the marker file that Lumara puts into a working folder it created.
inline const QString TempFolderMarker = QStringLiteral(".lumara-tempfolder");

/// Creates the working folder when it is missing and marks it as Lumara's. A folder
/// that exists already is left as it is (marked only if it was marked before). False
/// when it could not be created (start-up goes on).
bool CreateTempFolder(const QString& folder);

/// Deletes the working folder with everything in it, but only when it carries the
/// marker, so a mistyped setting can never wipe a user's folder. True when deleted.
bool DeleteTempFolder(const QString& folder);
