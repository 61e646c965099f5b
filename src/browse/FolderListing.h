#pragma once

#include "browse/FileList.h"

#include <QString>
#include <optional>

class FileTreeBuilder;
struct Settings;

/// Reads `folder` with the name pattern (";"-separated, case-insensitive) into the
/// listing (readNames, the header first) and `entries`; hidden and system files only with
/// ShowSystemHidden. With a pattern other than "*.*" and a category filter active, the
/// filtered reader runs instead. Shows the placeholder when nothing is found.
/// Returns the number of files. A `watch` may end the read early, as for OpenFolder.
int ListFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, platform::ReadWatch* watch = nullptr);

/// Lists `folder` with `pattern` and, when something was found or a category filter is
/// active, rebuilds fileTree through `trees`: what opening a folder does in the window
/// and in lumara-cli. Returns the number of files. A read that failed leaves its reason
/// in state.setup().readError. A `watch` follows the directory read and may end it early: the
/// files read by then are listed.
int OpenFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees,
               platform::ReadWatch* watch = nullptr);

/// The folder-history route: opens `folder` as OpenFolder does when it holds at least
/// one file, from one directory read; nothing (the state untouched) when it holds none.
[[nodiscard]] std::optional<int> OpenFolderWithFiles(FileList& state, const Settings& settings,
                                                     const QString& folder, const QString& pattern,
                                                     const FileTreeBuilder& trees,
                                                     platform::ReadWatch* watch = nullptr);

/// Reads `folder` and keeps the files that pass `state.otherFilter()` (every file
/// while it has no criteria) in listedNames, header first. Returns the number kept.
int ListFolderFiltered(FileList& state, const Settings& settings, const QString& folder,
                       platform::ReadWatch* watch = nullptr);

/// Rebuilds listedNames from the plain reader (unless a category filter is active) and
/// fileTree for the current tree type through `trees`, then copies listedNames into
/// readNames.
void RefreshFileList(FileList& state, const Settings& settings, const FileTreeBuilder& trees);
