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
    bool operator==(const ShownSort&) const = default;
};

/// The set-up of a file list: where it reads from, what it shows and how, its
/// captions. A value: a listing copies it from the shown list, and the shown list takes
/// the listing's over with one assignment.
struct ListSetup {
    bool showsPlaceholder = false; ///< the list shows its "no files" line, not files
    QString currentFolder;         ///< the folder listed, ending in "/"; empty for the basket
    /// Why the last read of currentFolder failed (the system's text); empty when it worked.
    QString readError;
    /// The name pattern a folder read uses (listPattern).
    QString listPattern = QStringLiteral("*.*");
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

    bool operator==(const ListSetup&) const = default;
};

/// The lists behind the file list and what the last folder read yielded. A value:
/// copied and exchanged whole.
struct ListContents {
    /// The names the list shows, in its order (the form's listedNames): item 0 the header
    /// (folder path or "RadeZazeda"), then the entries.
    ListBoy listedNames;
    ListBoy sortLines;
    ListBoy extensionLines;
    /// What the listing read, by entry name.
    FileEntryTable entries;
    /// What the plain reader found last (the hidden file list box, readNames): the
    /// header, then names sorted by name ignoring case; after a refresh under the "Other" filter, a
    /// copy of listedNames. Filter tabs narrow from it. listedNames shares its items
    /// until one of them changes.
    ListBoy readNames;
};

/// What the file list shows and keeps: its set-up, the backing lists, the node tree
/// `fileTree` and the "Other" filter. Owned by the main window (or by lumara-cli), used by
/// the listing, the trees, the filters and the statistics.
struct FileList : ListSetup, ListContents {
    NodeTree fileTree;

    /// The "Other" filter's criteria: the filtered reader keeps the files they pass.
    OtherFilter otherFilter;

    /// Puts the "no files" (or "no [tab] files") placeholder into fileTree and marks the
    /// list as showing it; after a failed read, "cannot read: " and the reason instead.
    void showNoFiles();
    /// Writes the status caption for `n` files into statusCaption.
    void showFileCount(int n);

    [[nodiscard]] const ListSetup& setup() const { return *this; }
    ListSetup& setup() { return *this; }
    [[nodiscard]] const ListContents& contents() const { return *this; }
    ListContents& contents() { return *this; }
};

/// The status caption: " no" or the number, then " [tag] " (" " without a tag), "files".
[[nodiscard]] QString FileCountCaption(const QString& tag, int n);

/// What clicking the status label tells: "File extensions: " and the pattern ("ALL"
/// for "*.*").
[[nodiscard]] QString PatternMessage(const QString& currentPattern);

/// The "Copy List" text: every node in tree order, 8 spaces per depth, CR LF after
/// each. Empty when the tree has no nodes.
[[nodiscard]] QString CopyListText(const NodeTree& tree);

/// The header of listedNames while the basket is listed.
inline const QString BasketHeader = QStringLiteral("RadeZazeda");

/// The file list's root text for a header: "RadeZazeda" for the basket, else the
/// folder without its trailing "/" (RootText).
[[nodiscard]] QString FileListRootText(const QString& header);

/// Clears the file tree and adds its expanded root "R" for `header` (a folder path or
/// BasketHeader), with the folder image "1" or the basket image "27". Returns the root.
NodeTree::Id AddFileListRoot(NodeTree& tree, const QString& header);
