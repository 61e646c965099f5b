#pragma once

#include "browse/FileList.h"

struct TreeContext;

/// Rebuilds fileTree as the extension tree: one group per extension (".TXT", ".   " for
/// names without one), or with "Use names for file extensions" on, one group per type
/// name ("." + name). Reads listedNames, never changes it. Returns the file count, or
/// -1 when the list has no node.
int BuildExtensionTree(FileList& state, const TreeContext& context);
