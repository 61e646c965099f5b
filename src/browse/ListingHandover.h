#pragma once

#include "browse/FileListState.h"

/// A listing of a huge folder takes seconds, so the window lists into a state of its
/// own on another thread and takes the result over when it is complete: the window's
/// state is never written while it is shown.

/// Gives `to` the setup that a listing reads from `from` (pattern, filters, tree type,
/// date basis, sort directions, captions), none of its lists.
void CopyListingSetup(const FileListState& from, FileListState& to);

/// Exchanges everything two states hold, lists and setup alike; each file tree keeps
/// its observer, which sees one reset.
void SwapFileListStates(FileListState& a, FileListState& b);
