#pragma once

#include "browse/FileList.h"

struct Settings;

/// Builds fileTree from listedNames for the state's tree type. The listing and the
/// filters change listedNames and then call it; the grouped trees implement it, and
/// whoever owns the file list (the main window, lumara-cli) hands theirs to both.
class FileTreeBuilder {
public:
    virtual ~FileTreeBuilder() = default;
    virtual void RebuildCurrentTree(FileList& state, const Settings& settings) const = 0;
};
