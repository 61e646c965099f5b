#pragma once

#include "browse/FileDrag.h"
#include "browse/FileList.h"

#include <QString>
#include <QStringList>

struct Settings;

/// The files under a node of the file list, as full paths: every listed file for the
/// root (through the groups of a grouped tree), a group's files for a group. Lines of
/// archives (a text holding "|") and the "no files" placeholder are left out. `listedFolder` ends
/// in "/".
[[nodiscard]] QStringList ListedFilesUnder(const FileList& state, NodeTree::Id id,
                                           const QString& listedFolder);

/// What a drag of a file-list node hands to other programs.
struct DraggedPaths {
    DraggedSet set = DraggedSet::Files;
    QStringList paths; ///< empty for an archive's entry, which is no file until extracted
};

/// The root gives the whole list, a group its files, a file node its own path.
[[nodiscard]] DraggedPaths DraggedPathsOf(const FileList& state, NodeTree::Id id,
                                          const QString& listedFolder, const Settings& settings);
