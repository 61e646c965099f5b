#include "browse/ListingHandover.h"

#include <utility>

namespace {

// Every field but the lists and the "Other" filter, in the order FileListState declares
// them; a field added there belongs here too.
template <typename A, typename B, typename Visit> void forEachSetupField(A& a, B& b, Visit visit)
{
    visit(a.showsPlaceholder, b.showsPlaceholder);
    visit(a.currentFolder, b.currentFolder);
    visit(a.readError, b.readError);
    visit(a.CurrentPattern, b.CurrentPattern);
    visit(a.otherFilterActive, b.otherFilterActive);
    visit(a.filterTag, b.filterTag);
    visit(a.statusCaption, b.statusCaption);
    visit(a.treeType, b.treeType);
    visit(a.dateBasis, b.dateBasis);
    visit(a.treeDirection, b.treeDirection);
    visit(a.sortNameDirection, b.sortNameDirection);
    visit(a.sortExtensionDirection, b.sortExtensionDirection);
    visit(a.sortSizeDirection, b.sortSizeDirection);
    visit(a.plainSortKey, b.plainSortKey);
    visit(a.treeFolderPath, b.treeFolderPath);
    visit(a.shownSort, b.shownSort);
    visit(a.treeButtonTip, b.treeButtonTip);
}

} // namespace

void CopyListingSetup(const FileListState& from, FileListState& to)
{
    forEachSetupField(to, from, [](auto& into, const auto& source) { into = source; });
    to.otherFilter = from.otherFilter;
}

void CopyFileListState(const FileListState& from, FileListState& to)
{
    to.File1Backup = from.File1Backup;
    to.sortLines = from.sortLines;
    to.extensionLines = from.extensionLines;
    to.entries = from.entries;
    to.FullListing = from.FullListing;
    CopyListingSetup(from, to);
}

std::optional<int> RunListRebuild(ListRebuilder* rebuilder, FileListState& state,
                                  const Settings& settings, const ListRebuild& rebuild,
                                  bool readsFolder)
{
    if (rebuilder)
        return rebuilder->rebuildList(rebuild, readsFolder);
    return rebuild(state, settings, nullptr);
}

void SwapFileListStates(FileListState& a, FileListState& b)
{
    using std::swap;
    swap(a.File1Backup, b.File1Backup);
    swap(a.sortLines, b.sortLines);
    swap(a.extensionLines, b.extensionLines);
    swap(a.entries, b.entries);
    swap(a.FullListing, b.FullListing);
    a.fileTree.swapNodes(b.fileTree);
    forEachSetupField(a, b, [](auto& x, auto& y) { swap(x, y); });
    // The "Other" filter's criteria stay where they are: a listing only reads them, and the
    // window may have taken new ones from the dialog while the listing ran (a right click
    // on a tab starts one, and its menu and the dialog open before it ends).
}
