#pragma once

#include "browse/FileTreeBuilder.h"

struct Settings;

/// Rebuilds fileTree as the plain list from listedNames in its current order: root "R"
/// from the header entry, one file node per entry keyed by folder + entry, with the
/// image index of its extension. Reports the count to the status caption.
void BuildNameList(FileList& state, const Settings& settings);

/// Builds the tree of the current tree type from listedNames (one model reset).
void RebuildCurrentTree(FileList& state, const Settings& settings);

/// The name list and the grouped trees, for the listing and the filters to call.
class GroupedTreeBuilder final : public FileTreeBuilder {
public:
    void RebuildCurrentTree(FileList& state, const Settings& settings) const override
    {
        ::RebuildCurrentTree(state, settings);
    }
};

/// The one builder the window and lumara-cli hand to the listing (it holds no state).
[[nodiscard]] const FileTreeBuilder& GroupedTrees();
