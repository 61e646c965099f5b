#include "browse/ListingHandover.h"

#include <utility>

void CopyListingSetup(const FileList& from, FileList& to)
{
    to.setup() = from.setup();
    to.otherFilter = from.otherFilter;
}

void CopyFileList(const FileList& from, FileList& to)
{
    to.contents() = from.contents();
    CopyListingSetup(from, to);
}

void RunListRebuild(ListRebuilder* rebuilder, FileList& state, const Settings& settings,
                    const ListRebuild& rebuild, bool readsFolder, const RebuildDone& done)
{
    if (rebuilder) {
        rebuilder->rebuildList(rebuild, readsFolder, done);
        return;
    }
    const int count = rebuild(state, settings, nullptr);
    if (done)
        done(count);
}

bool DeferWhileBusy(ListRebuilder* rebuilder, std::function<void()> action)
{
    return rebuilder && rebuilder->deferWhileBusy(std::move(action));
}

void SwapFileLists(FileList& a, FileList& b)
{
    using std::swap;
    swap(a.contents(), b.contents());
    a.fileTree.swapNodes(b.fileTree);
    swap(a.setup(), b.setup());
    // The "Other" filter's criteria stay where they are: a listing only reads them, and the
    // window may have taken new ones from the dialog while the listing ran (a right click
    // on a tab starts one, and its menu and the dialog open before it ends).
}
