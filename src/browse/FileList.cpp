#include "browse/FileList.h"

#include "browse/NodeImages.h"
#include "controls/TreeText.h"
#include "shared/TextHelpers.h"

#include <type_traits>
#include <utility>

FileList::FileList(QObject* parent) : QObject(parent) {}

FileList::~FileList() = default;

void FileList::beginEdit()
{
    if (editDepth_++ == 0) {
        setupBeforeEdit_ = setup_;
        contentsTouched_ = false;
    }
}

void FileList::endEdit()
{
    Q_ASSERT(editDepth_ > 0);
    if (--editDepth_ > 0)
        return;
    const bool captionMoved = setup_.statusCaption != setupBeforeEdit_.statusCaption;
    const bool setupMoved = setup_ != setupBeforeEdit_;
    setupBeforeEdit_ = ListSetup();
    if (std::exchange(contentsTouched_, false))
        Q_EMIT contentsChanged();
    if (setupMoved)
        Q_EMIT setupChanged();
    if (captionMoved)
        Q_EMIT captionChanged(setup_.statusCaption);
}

void FileList::setupTouched(bool captionToo)
{
    if (editDepth_ > 0)
        return; // the Edit compares the whole set-up when it ends
    Q_EMIT setupChanged();
    if (captionToo)
        Q_EMIT captionChanged(setup_.statusCaption);
}

template <typename T> void FileList::change(T ListSetup::*field, const T& value)
{
    if (setup_.*field == value)
        return;
    setup_.*field = value;
    if constexpr (std::is_same_v<T, QString>)
        setupTouched(field == &ListSetup::statusCaption);
    else
        setupTouched();
}

FileList::Edit::Edit(FileList& list) : list_(list)
{
    list_.beginEdit();
}

FileList::Edit::~Edit()
{
    list_.endEdit();
}

NodeTree& FileList::Edit::tree()
{
    list_.contentsTouched_ = true;
    return list_.tree_;
}

ListContents& FileList::Edit::contents()
{
    list_.contentsTouched_ = true;
    return list_.contents_;
}

void FileList::rebuildTree(const std::function<void(NodeTree& tree)>& build)
{
    Edit edit(*this);
    NodeTreeLock lock(edit.tree());
    build(edit.tree());
}

void FileList::rebuildTreeAndNames(
    const std::function<void(NodeTree& tree, ListBoy& listedNames)>& build)
{
    Edit edit(*this);
    NodeTreeLock lock(edit.tree());
    build(edit.tree(), edit.listedNames());
}

void FileList::ExpansionMarks::setExpanded(NodeTree::Id id, bool expanded)
{
    if (tree_.contains(id) && tree_.node(id).expanded != expanded) {
        tree_.setExpanded(id, expanded);
        moved_ = true;
    }
}

void FileList::ExpansionMarks::makeVisible(NodeTree::Id id)
{
    if (!tree_.contains(id))
        return;
    for (NodeTree::Id p = tree_.node(id).parent; p != NodeTree::None; p = tree_.node(p).parent)
        moved_ = moved_ || !tree_.node(p).expanded;
    tree_.makeVisible(id);
}

void FileList::changeExpansion(const std::function<void(ExpansionMarks& marks)>& change)
{
    ExpansionMarks marks(tree_);
    {
        NodeTreeLock lock(tree_);
        change(marks);
    }
    if (marks.moved_)
        announceContents();
}

void FileList::setNodeExpanded(NodeTree::Id id, bool expanded)
{
    if (!tree_.contains(id) || tree_.node(id).expanded == expanded)
        return;
    tree_.setExpanded(id, expanded);
    announceContents();
}

void FileList::announceContents()
{
    if (editDepth_ > 0)
        contentsTouched_ = true; // the Edit announces it when it ends
    else
        Q_EMIT contentsChanged();
}

void FileList::setSetup(const ListSetup& setup)
{
    if (setup_ == setup)
        return;
    const bool captionMoved = setup_.statusCaption != setup.statusCaption;
    setup_ = setup;
    setupTouched(captionMoved);
}

void FileList::setContents(const ListContents& contents)
{
    Edit edit(*this);
    edit.contents() = contents;
}

void FileList::setListedNames(ListBoy names)
{
    Edit edit(*this);
    edit.listedNames() = std::move(names);
}

void FileList::setOtherFilter(const OtherFilter& filter)
{
    otherFilter_ = filter;
}

void FileList::swapWith(FileList& other)
{
    Edit mine(*this);
    Edit theirs(other);
    using std::swap;
    swap(mine.contents(), theirs.contents());
    if (!other.shownRowOrder_.empty()) {
        // The copy sorted a flat list without a tree: the shown rows change places. The
        // inputs that would change the rows wait for the rebuild, so the order fits.
        ReorderFileListRows(mine.tree(), std::exchange(other.shownRowOrder_, {}));
    } else {
        mine.tree().swapNodes(theirs.tree());
    }
    swap(setup_, other.setup_);
    // The "Other" filter's criteria stay where they are: a listing only reads them, and the
    // window may have taken new ones from the dialog while the listing ran (a right click
    // on a tab starts one, and its menu and the dialog open before it ends).
}

void FileList::setSource(const QString& folder)
{
    change(&ListSetup::currentFolder, folder);
}

void FileList::setListPattern(const QString& pattern)
{
    change(&ListSetup::listPattern, pattern);
}

void FileList::setOtherFilterActive(bool active)
{
    change(&ListSetup::otherFilterActive, active);
}

void FileList::setFilterTag(const QString& tag)
{
    change(&ListSetup::filterTag, tag);
}

void FileList::setTreeType(TreeType type)
{
    change(&ListSetup::treeType, type);
}

void FileList::setDateBasis(DateBasis basis)
{
    change(&ListSetup::dateBasis, basis);
}

void FileList::setTreeDirection(SortDirection direction)
{
    change(&ListSetup::treeDirection, direction);
}

SortDirection FileList::flipSortDirection(SortKey key)
{
    SortDirection ListSetup::*field = nullptr;
    switch (key) {
    case SortKey::Name:
        field = &ListSetup::sortNameDirection;
        break;
    case SortKey::Extension:
        field = &ListSetup::sortExtensionDirection;
        break;
    case SortKey::Size:
        field = &ListSetup::sortSizeDirection;
        break;
    case SortKey::None:
        return SortDirection::Unset;
    }
    change(field, FlippedDirection(setup_.*field));
    return setup_.*field;
}

void FileList::setPlainSortKey(SortKey key)
{
    change(&ListSetup::plainSortKey, key);
}

void FileList::setShownSort(const ShownSort& sort)
{
    change(&ListSetup::shownSort, sort);
}

void FileList::setTreeButtonTip(const QString& tip)
{
    change(&ListSetup::treeButtonTip, tip);
}

void FileList::setTreeFolderPath(const QString& path)
{
    change(&ListSetup::treeFolderPath, path);
}

void FileList::showFiles()
{
    change(&ListSetup::showsPlaceholder, false);
}

void FileList::setStatusCaption(const QString& caption)
{
    change(&ListSetup::statusCaption, caption);
}

void FileList::clearListing()
{
    Edit edit(*this);
    edit.tree().clear();
    edit.listedNames().Clear();
}

void FileList::showNoFiles()
{
    Edit edit(*this);
    NodeTree& tree = edit.tree();
    NodeTreeLock lock(tree);
    const NodeTree::Id root =
        AddFileListRoot(tree, listsBasket() ? BasketHeader : setup_.currentFolder);
    // A folder that could not be read must not look empty.
    const QString text = !setup_.readError.isEmpty() && !listsBasket()
                             ? QStringLiteral("cannot read: ") + setup_.readError
                         : setup_.filterTag == u"ALL" ? QStringLiteral("no files")
                                                      : QStringLiteral("no [") + setup_.filterTag +
                                                            QStringLiteral("] files");
    const NodeTree::Id child = tree.add(root, QString(), text);
    tree.makeVisible(child);
    setup_.showsPlaceholder = true;
    showFileCount(0);
}

QString FileListRootText(const QString& header)
{
    return header == BasketHeader ? header : RootText(header);
}

NodeTree::Id AddFileListRoot(NodeTree& tree, const QString& header)
{
    tree.clear();
    const bool basket = header == BasketHeader;
    const NodeTree::Id root =
        tree.add(NodeTree::None, QStringLiteral("R"), FileListRootText(header),
                 basket ? listimage::BasketFile : listimage::Folder);
    tree.setExpanded(root, true);
    return root;
}

bool ReorderFileListRows(NodeTree& tree, const std::vector<int>& order)
{
    const NodeTree::Id root = tree.root();
    NodeTreeLock hold(tree);
    if (root == NodeTree::None || !tree.reorderChildren(root, order))
        return false;
    tree.select(NodeTree::None);
    tree.setExpanded(root, true);
    tree.makeVisible(root);
    return true;
}

QString FileCountCaption(const QString& tag, int n)
{
    const QString middle =
        tag.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" [") + tag + QStringLiteral("] ");
    return (n < 1 ? QStringLiteral(" no") : QString::number(n)) + middle + QStringLiteral("files");
}

void FileList::showFileCount(int n)
{
    setStatusCaption(FileCountCaption(setup_.filterTag, n));
}

QString PatternMessage(const QString& currentPattern)
{
    return QStringLiteral("File extensions: ") +
           (currentPattern == u"*.*" ? QStringLiteral("ALL") : currentPattern);
}

QString CopyListText(const NodeTree& tree)
{
    return TreeText(tree);
}

// Its own moc unit: a program that links only the list need not take every browse class.
#include "moc_FileList.cpp"
