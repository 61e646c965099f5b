#pragma once

#include "browse/FileEntryTable.h"
#include "browse/Filters.h"
#include "browse/ListBoy.h"
#include "browse/ListCodes.h"
#include "controls/NodeTree.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

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
/// the listing's over with one call.
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
    /// What the listing read, by entry name.
    FileEntryTable entries;
    /// What the plain reader found last (the hidden file list box, readNames): the
    /// header, then names sorted by name ignoring case; after a refresh under the "Other" filter, a
    /// copy of listedNames. Filter tabs narrow from it. listedNames shares its items
    /// until one of them changes.
    ListBoy readNames;
};

/// What the file list shows and keeps: its set-up, the backing lists, the node tree and
/// the "Other" filter. Owned by the main window (or by lumara-cli), used by the listing,
/// the trees, the filters and the statistics. Every change goes through a method that
/// announces it once, so the views showing the list update themselves. The set-up and
/// the lists are values: a listing copies them, and the shown list takes them over.
class FileList : public QObject {
    Q_OBJECT
public:
    explicit FileList(QObject* parent = nullptr);
    ~FileList() override;

    [[nodiscard]] const ListSetup& setup() const { return setup_; }
    [[nodiscard]] const ListContents& contents() const { return contents_; }
    [[nodiscard]] const NodeTree& tree() const { return tree_; }
    [[nodiscard]] const ListBoy& listedNames() const { return contents_.listedNames; }
    [[nodiscard]] const FileEntryTable& entries() const { return contents_.entries; }
    [[nodiscard]] const OtherFilter& otherFilter() const { return otherFilter_; }
    /// True while the list is in the basket, not in a folder.
    [[nodiscard]] bool listsBasket() const { return setup_.currentFolder.isEmpty(); }

    /// Takes over a whole set-up (a listing's, a saved one).
    void setSetup(const ListSetup& setup);
    /// Takes over the lists (shared, not copied, where Qt's containers allow).
    void setContents(const ListContents& contents);
    /// Replaces listedNames alone (the tree is left as it is).
    void setListedNames(ListBoy names);
    /// Takes over the "Other" filter's criteria.
    void setOtherFilter(const OtherFilter& filter);
    /// Exchanges set-up, lists and node tree with `other`, but not the "Other" filter's
    /// criteria; each tree keeps its observer, which sees one reset.
    void swapWith(FileList& other);
    /// For a copy that a rebuild works on while the shown tree is a flat list of
    /// listedNames's entries: the rows' new order (as NodeTree::reorderChildren takes it).
    /// The list that takes the copy over puts its own rows in that order instead of taking
    /// a second tree.
    void setShownRowOrder(std::vector<int> order) { shownRowOrder_ = std::move(order); }

    /// Where the list reads from: a folder ending in "/", or "" for the basket.
    void setSource(const QString& folder);
    void setListPattern(const QString& pattern);
    /// Whether the "Other" tab's criteria choose what a folder read keeps.
    void setOtherFilterActive(bool active);
    /// The active filter tab's name ("ALL" for every file).
    void setFilterTag(const QString& tag);
    void setTreeType(TreeType type);
    void setDateBasis(DateBasis basis);
    void setTreeDirection(SortDirection direction);
    /// Flips the plain-sort direction of `key` (Name, Extension or Size) and returns it.
    SortDirection flipSortDirection(SortKey key);
    /// The key of the plain sort that runs now; None when none runs.
    void setPlainSortKey(SortKey key);
    void setShownSort(const ShownSort& sort);
    void setTreeButtonTip(const QString& tip);
    /// The folder a grouped tree's node keys start with ("" for the basket).
    void setTreeFolderPath(const QString& path);
    /// The list shows files again, not its placeholder.
    void showFiles();
    void setStatusCaption(const QString& caption);
    /// Writes the status caption for `n` files.
    void showFileCount(int n);
    /// Puts the "no files" (or "no [tab] files") placeholder into the tree and marks the
    /// list as showing it; after a failed read, "cannot read: " and the reason instead.
    void showNoFiles();
    /// Empties the tree and the listed names, leaving no placeholder (the basket the list
    /// showed was emptied).
    void clearListing();

    /// Rebuilds the node tree in place, under one lock so a view sees one reset, and
    /// announces contentsChanged once. It exists because a tree of a million files is
    /// built where it is shown: a finished copy handed over would double the peak. The
    /// tree builders use it; the lists and the set-up change through the methods above.
    void rebuildTree(const std::function<void(NodeTree& tree)>& build);
    /// rebuildTree for a build that lays the listed names out anew in the order the tree
    /// now shows them (a plain sort), so a later plain rebuild keeps that order.
    void
    rebuildTreeAndNames(const std::function<void(NodeTree& tree, ListBoy& listedNames)>& build);

    /// The nodes' expanded marks, all a view or Expand All may change: the tree itself
    /// is read through tree().
    class ExpansionMarks {
    public:
        [[nodiscard]] const NodeTree& tree() const { return tree_; }
        void setExpanded(NodeTree::Id id, bool expanded);
        /// Expands the node's parents and has a view scroll to it.
        void makeVisible(NodeTree::Id id);

    private:
        friend class FileList;
        explicit ExpansionMarks(NodeTree& tree) : tree_(tree) {}
        NodeTree& tree_;
        bool moved_ = false;
    };
    /// Changes many expanded marks under one lock (a view sees one reset); announces
    /// contentsChanged once when a mark moved.
    void changeExpansion(const std::function<void(ExpansionMarks& marks)>& change);
    /// One node's mark, as a view sets it when its user opens or closes the node: the
    /// view hears it as one changed node, not as a reset.
    void setNodeExpanded(NodeTree::Id id, bool expanded);

    /// A scoped change of everything in place, for the listing and the filters, which
    /// make the lists themselves; others use the named methods and the tree doors. The
    /// list announces what changed once, when the outermost Edit ends.
    class Edit {
    public:
        explicit Edit(FileList& list);
        ~Edit();
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;

        [[nodiscard]] NodeTree& tree();
        [[nodiscard]] ListContents& contents();
        [[nodiscard]] ListBoy& listedNames() { return contents().listedNames; }
        /// The set-up, for the listing and the filters of the list itself.
        [[nodiscard]] ListSetup& setup() { return list_.setup_; }
        [[nodiscard]] OtherFilter& otherFilter() { return list_.otherFilter_; }
        [[nodiscard]] const FileList& list() const { return list_; }

    private:
        FileList& list_;
    };

Q_SIGNALS:
    /// Something of the set-up changed (tree type, sort, pattern, source, captions...).
    void setupChanged();
    /// The status caption changed.
    void captionChanged(const QString& caption);
    /// The lists or the node tree were changed or replaced.
    void contentsChanged();

private:
    void beginEdit();
    void endEdit();
    /// Announces a set-up change now, or when the running Edit ends.
    void setupTouched(bool captionToo = false);
    /// Announces a change of the lists or the tree now, or when the running Edit ends.
    void announceContents();
    template <typename T> void change(T ListSetup::*field, const T& value);

    ListSetup setup_;
    ListContents contents_;
    NodeTree tree_;
    /// The "Other" filter's criteria: the filtered reader keeps the files they pass.
    OtherFilter otherFilter_;
    std::vector<int> shownRowOrder_;
    int editDepth_ = 0;
    bool contentsTouched_ = false;
    ListSetup setupBeforeEdit_;
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

/// Puts the rows below the file list's root in `order` (as NodeTree::reorderChildren
/// takes it) and leaves the tree as a rebuild would: nothing selected, the root expanded
/// and in view. False, changing nothing, when the order does not fit the rows.
bool ReorderFileListRows(NodeTree& tree, const std::vector<int>& order);
