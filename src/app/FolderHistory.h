#pragma once

#include "platform/Volumes.h"

#include <QString>
#include <QStringList>
#include <vector>

class HistoryList;

/// Between a volume's path and its kind word: the history list shows the two as columns
/// (a bare "/" + "Fixed" would read as a path).
inline constexpr QChar VolumeKindSeparator = u'\t';

/// The folder history's rows: folders opened from the tree (newest first, item data 0,
/// icon 3), then the volumes appended at start-up (item data -1). The rows live in the
/// history list control, so what the user clears or sorts there is what gets saved.

/// Replaces the folder rows (from the profile) and puts them above the volume rows.
void SetHistoryFolders(HistoryList& rows, const QStringList& folders);
/// The folder rows from the first on, up to the first row that is not a folder (what
/// the profile stores).
[[nodiscard]] QStringList HistoryFolders(const HistoryList& rows);
/// Puts `path` at the top and removes the first older equal folder row.
void RecordFolder(HistoryList& rows, const QString& path);
/// Appends one row per volume: text mount path, TAB, kind word; icon 4, 5, 7, 6, 7 for
/// removable, fixed, remote, CD-ROM and RAM disk, item data -1.
void AppendVolumeRows(HistoryList& rows, const std::vector<platform::Volume>& volumes);
/// The folder a row opens: a folder row's text, a volume row's first column (its mount
/// path); "" for no row.
[[nodiscard]] QString HistoryRowFolder(const HistoryList& rows, int index);
/// The folder a path typed into the folder field names: a leading "~" stands for `home`,
/// a relative path starts at `currentFolder` (none: it names nothing), "." and ".." are
/// resolved and a trailing "/" dropped ("/" stays). "" when it names nothing.
[[nodiscard]] QString TypedFolderPath(const QString& typed, const QString& currentFolder,
                                      const QString& home);
