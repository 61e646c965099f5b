#pragma once

#include "platform/Volumes.h"

#include <QString>
#include <QStringList>
#include <vector>

/// Between a volume's path and its kind word: the history list shows the two as columns
/// (a bare "/" + "Fixed" would read as a path).
inline constexpr QChar VolumeKindSeparator = u'\t';

/// The entries of the folder history: folders opened from the tree (newest first, item
/// data 0, icon 3), then the volumes appended at start-up (item data -1).
class FolderHistory {
public:
    struct Entry {
        QString text;
        int icon = 3;
        int itemData = 0;
        QString path; ///< the folder to open (for volumes the mount path)
    };

    /// Replaces the folder entries (from the profile), keeping the volume entries.
    void setFolders(const QStringList& folders);
    /// The folder entries, newest first (what the profile stores).
    [[nodiscard]] QStringList folders() const;

    /// Puts `path` at the top and removes the first older equal folder entry.
    void RecordFolder(const QString& path);
    /// Appends one entry per volume: text mount path, TAB, kind word; icon 4, 5, 7,
    /// 6, 7 for removable, fixed, remote, CD-ROM and RAM disk, item data -1.
    void appendVolumes(const std::vector<platform::Volume>& volumes);
    /// Empties the list (folders and volumes).
    void clear() { entries_.clear(); }

    [[nodiscard]] const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};
