#pragma once

#include <QString>

/// Name of the marker file that Lumara puts into a working folder it created.
inline const QString TempFolderMarker = QStringLiteral(".lumara-tempfolder");

/// This run's own working folder.
struct WorkingFolder {
    QString path;   ///< ending in "/"; "" when none could be made
    QString notice; ///< what the user must be told (a fallback folder), or ""
};

/// Opens this process's working folder: a marked subfolder named after the process id
/// inside `base` (the TempFolder setting), so two windows never touch each other's
/// files. `base` must be a real folder owned by the user that no one else may enter; it
/// is made so when missing. When it is anything else (a link, someone else's, open to
/// others), a fresh private folder is made beside it and `notice` says so. Folders of
/// processes that are gone are tidied away.
WorkingFolder OpenWorkingFolder(const QString& base);

/// Deletes the working folder with everything in it, but only when it carries the
/// marker, so a mistyped setting can never wipe a user's folder. True when deleted.
bool DeleteTempFolder(const QString& folder);
