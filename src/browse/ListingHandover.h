#pragma once

#include "browse/FileList.h"

#include <functional>
#include <optional>

struct Settings;

/// A listing of a huge folder takes seconds, so the window lists into a state of its
/// own on another thread and takes the result over when it is complete: the window's
/// state is never written while it is shown.

/// Gives `to` the setup that a listing reads from `from` (pattern, filters, tree type,
/// date basis, sort directions, captions), none of its lists.
void CopyListingSetup(const FileList& from, FileList& to);

/// Exchanges everything two states hold, lists and setup alike, but the "Other" filter's
/// criteria, which each keeps; each file tree keeps its observer, which sees one reset.
void SwapFileLists(FileList& a, FileList& b);

/// Gives `to` everything `from` holds but its node tree: the lists (shared, not copied,
/// where Qt's containers allow), the entries read and the setup. A rebuild of a huge list
/// runs on such a copy away from the window.
void CopyFileList(const FileList& from, FileList& to);

/// A rebuild of the file list from what its state holds (a filter tab, a tree, a sort),
/// returning the count to report. A `watch`, when given, may end a folder read early.
using ListRebuild =
    std::function<int(FileList& state, const Settings& settings, platform::ReadWatch* watch)>;

/// What a rebuild hands on once its list is shown: the rebuild's count. Never called
/// for a rebuild that a newer listing took the place of.
using RebuildDone = std::function<void(int count)>;

/// Runs rebuilds of the shown file list. The window runs them on a copy of its state on
/// another thread and takes the result over when the rebuild ends; without a rebuilder
/// (lumara-cli, tests) they run in place.
class ListRebuilder {
public:
    virtual ~ListRebuilder() = default;
    /// Starts `rebuild`; `done` follows once its list is shown, or never when a newer
    /// listing or rebuild took its place. `readsFolder`: Escape may end the folder read.
    virtual void rebuildList(const ListRebuild& rebuild, bool readsFolder, RebuildDone done) = 0;
    /// While a listing or rebuild runs, keeps `action` (an input that would change the
    /// list) to run after it ends, and returns true; false when nothing runs, and the
    /// caller acts now.
    virtual bool deferWhileBusy(std::function<void()> action) = 0;
};

/// Runs `rebuild` through `rebuilder`, or in place on `state` (`done` before the return)
/// when there is none.
void RunListRebuild(ListRebuilder* rebuilder, FileList& state, const Settings& settings,
                    const ListRebuild& rebuild, bool readsFolder, const RebuildDone& done);

/// True when `rebuilder` runs a listing now and took `action` to run after it.
[[nodiscard]] bool DeferWhileBusy(ListRebuilder* rebuilder, std::function<void()> action);
