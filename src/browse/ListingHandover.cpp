#include "browse/ListingHandover.h"

#include <utility>

void CopyListingSetup(const FileList& from, FileList& to)
{
    to.setSetup(from.setup());
    to.setOtherFilter(from.otherFilter());
}

void CopyFileList(const FileList& from, FileList& to)
{
    to.setContents(from.contents());
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
    a.swapWith(b);
}
