#pragma once

#include <QString>

/// Name of the marker file that Lumara puts into a working folder it created; it holds
/// the id of the process and the name of the machine that made the folder.
inline const QString TempFolderMarker = QStringLiteral(".lumara-tempfolder");

/// This run's own working folder.
struct WorkingFolder {
    QString path;   ///< ending in "/"; "" when none could be made
    QString notice; ///< what the user must be told (a fallback folder), or ""
};

/// Opens this process's working folder: a fresh private folder ("Lumara-" and six
/// characters, mode 0700, made with mkdtemp) inside `base` (the TempFolder setting), so
/// two windows never touch each other's files. `base` itself is only made when missing,
/// never changed. When private folders cannot safely be made in it (a link, a folder of
/// someone else, one that others may write into), the fresh folder is made in the
/// system's temporary folder instead, nothing is left in `base`, and `notice` says so.
/// Working folders of processes of this machine that are gone are tidied away.
WorkingFolder OpenWorkingFolder(const QString& base);

/// Deletes the working folder with everything in it, but only when it carries the
/// marker, so a mistyped setting can never wipe a user's folder. True when deleted.
bool DeleteTempFolder(const QString& folder);
