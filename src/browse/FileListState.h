#pragma once

#include "browse/FileEntryTable.h"
#include "browse/Filters.h"
#include "browse/ListBoy.h"
#include "browse/ListCodes.h"
#include "controls/NodeTree.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QString>
#include <QStringList>

/// How the shown list is sorted, kept for the sort button's face and tip.
struct ShownSort {
    QString key; ///< "Name", "Extension", "Extensions", "Size" or "Date"; "" not sorted
    bool descending = false;

    void clear() { *this = ShownSort(); }
    void set(const QString& sortKey, bool down)
    {
        key = sortKey;
        descending = down;
    }
    /// The sort button's tip: "Not sorted" or "Sorted by Size - Descending".
    [[nodiscard]] QString tip() const
    {
        if (key.isEmpty())
            return QStringLiteral("Not sorted");
        return QStringLiteral("Sorted by ") + key +
               (descending ? QStringLiteral(" - Descending") : QStringLiteral(" - Ascending"));
    }
};

/// What the file list shows and keeps: the backing lists, the metadata the last
/// directory read yielded, the node tree `fileTree` and the state of its trees, sorts
/// and filters. Owned by the main window (or by lumara-cli), used by the listing,
/// the trees, the filters and the statistics.
struct FileListState {
    ListBoy File1Backup; ///< item 0 the header (folder path or "RadeZazeda"), then entries
    ListBoy sortLines;
    ListBoy extensionLines;
    /// What the listing read, by entry name.
    FileEntryTable entries;
    /// What the plain reader found last (the hidden file list box): the header, then
    /// names sorted by name ignoring case; after a refresh under the "Other" filter, a
    /// copy of File1Backup. Filter tabs narrow from it. File1Backup shares its items
    /// until one of them changes.
    ListBoy FullListing;
    NodeTree fileTree;
    bool showsPlaceholder = false; ///< the list shows its "no files" line, not files

    /// The "Other" filter's criteria: the filtered reader keeps the files they pass.
    OtherFilter otherFilter;

    QString currentFolder; ///< the folder listed, ending in "/"; empty for the RadeZazeda
    /// Why the last read of currentFolder failed (the system's text); empty when it worked.
    QString readError;
    QString CurrentPattern = QStringLiteral("*.*");
    /// The "Other" tab's criteria choose what a folder read keeps.
    bool otherFilterActive = false;
    QString filterTag = QStringLiteral("ALL"); ///< tag of FileTypeText: the active tab's name
    QString statusCaption = QStringLiteral(" [ALL] files");

    TreeType treeType = TreeType::PlainList;
    DateBasis dateBasis = DateBasis::Created;
    SortDirection treeDirection = SortDirection::Unset;
    SortDirection sortNameDirection = SortDirection::Unset;
    SortDirection sortExtensionDirection = SortDirection::Unset;
    SortDirection sortSizeDirection = SortDirection::Unset;
    SortKey plainSortKey = SortKey::None; ///< set while a plain sort runs
    QString treeFolderPath;
    ShownSort shownSort;
    QString treeButtonTip = QStringLiteral("Tree display by file name");
};
