#pragma once

#include "browse/FileEntryTable.h"
#include "browse/ListBoy.h"
#include "controls/NodeTree.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

/// Tree types of the file list.
enum TreeType { PlainList = 0, ExtensionTree = 1, DateTree = 2, SizeTree = 3, AgeTree = 4 };

/// What the file list shows and keeps: the backing lists, the metadata the last
/// directory read yielded, the node tree `File1t` and the state of its trees, sorts
/// and filters. Owned by the main window (or by lumara-cli), used by the listing,
/// the trees, the filters and the statistics.
struct FileListState {
    ListBoy File1Backup; ///< item 0 the header (folder path or "RadeZazeda"), then entries
    ListBoy List1;
    ListBoy List2;
    /// What the listing read, by entry name.
    FileEntryTable entries;
    QStringList FullListing; ///< copy of File1Backup after each refresh, header included
    NodeTree File1t;
    QString file1tTag; ///< "X" while the list shows its "no files" placeholder

    /// What the plain reader found last (the hidden file list box): names sorted by
    /// name ignoring case. RefreshFileList takes File1Backup from it.
    QStringList File1x;
    /// The filtered reader's per-file test on (full path, what the read yielded); unset
    /// passes every file.
    std::function<bool(const QString& fullPath, const platform::FileEntry& entry)>
        fileMatchesFilter;
    /// Called first by ShowFileCount so the filter description stays current; optional.
    std::function<void()> updateFilterDescription;

    QString currentFolder; ///< the folder listed, ending in "/"; empty for the RadeZazeda
    QString CurrentPattern = QStringLiteral("*.*");
    int CategoryFilterActive = -1;
    QString filterTag = QStringLiteral("ALL"); ///< tag of FileTypeText: the active tab's name
    QString statusCaption = QStringLiteral(" [ALL] files");

    int treeType = PlainList;
    int dateBasis = 0;     ///< 0 creation, 1 last updated
    QString treeDirection; ///< "D" descending, anything else ascending
    QString sortNameDirection;
    QString sortExtensionDirection;
    QString sortSizeDirection;
    QString plainSortCode; ///< "NAM", "EXT" or "SIZ" while a plain sort runs
    QString treeFolderPath;
    QString sortButtonTip = QStringLiteral("Not sorted");
    QString treeButtonTip = QStringLiteral("Tree display by file name");
};
