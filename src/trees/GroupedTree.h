#pragma once

#include "browse/FileListState.h"

#include <functional>

struct Settings;

/// Turns one sorted scratch line ("key TAB entry") into its group text; `tab` is the
/// position of the first TAB.
using GroupTextFunction = std::function<QStringView(QStringView line, int tab)>;

/// The common end of every grouped build: sorts sortLines, puts the header entry on top,
/// records the tree folder path, rebuilds fileTree (root, then one group node per change
/// of group text in walk order, files under their group) and marks the list in use.
/// `groupImage` empty means the image of the group's first file. Returns the file count.
int BuildGroupsFromList1(FileListState& state, const Settings& settings, bool walkBackwards,
                         const GroupTextFunction& groupText, const QString& groupImage);

/// The scratch line "key TAB entry", built in one allocation.
[[nodiscard]] QString ScratchLine(QStringView key, QStringView entry);
