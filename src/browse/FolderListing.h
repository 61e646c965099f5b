#pragma once

#include "browse/FileListState.h"

#include <QString>
#include <optional>

class FileTreeBuilder;
struct Settings;

/// Reads `folder` with the name pattern (";"-separated, case-insensitive) into the
/// listing (FullListing, the header first) and `entries`; hidden and system files only with
/// ShowSystemHidden. With a pattern other than "*.*" and a category filter active, the
/// filtered reader runs instead. Shows the placeholder when nothing is found.
/// Returns the number of files. A `watch` may end the read early, as for OpenFolder.
int ListFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, platform::ReadWatch* watch = nullptr);

/// Lists `folder` with `pattern` and, when something was found or a category filter is
/// active, rebuilds fileTree through `trees`: what opening a folder does in the window
/// and in lumara-cli. Returns the number of files. A read that failed leaves its reason
/// in state.readError. A `watch` follows the directory read and may end it early: the
/// files read by then are listed.
int OpenFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees,
               platform::ReadWatch* watch = nullptr);

/// The folder-history route: opens `folder` as OpenFolder does when it holds at least
/// one file, from one directory read; nothing (the state untouched) when it holds none.
[[nodiscard]] std::optional<int> OpenFolderWithFiles(FileListState& state, const Settings& settings,
                                                     const QString& folder, const QString& pattern,
                                                     const FileTreeBuilder& trees,
                                                     platform::ReadWatch* watch = nullptr);

/// Reads `folder` and keeps the files that pass `state.otherFilter` (every file
/// while it has no criteria) in File1Backup, header first. Returns the number kept.
int ListFolderFiltered(FileListState& state, const Settings& settings, const QString& folder,
                       platform::ReadWatch* watch = nullptr);

/// Rebuilds File1Backup from the plain reader (unless a category filter is active) and
/// fileTree for the current tree type through `trees`, then copies File1Backup into
/// FullListing.
void RefreshFileList(FileListState& state, const Settings& settings, const FileTreeBuilder& trees);

/// Puts the "no files" (or "no [tab] files") placeholder into fileTree and tags it "X";
/// after a failed read, "cannot read: " and the reason instead.
void ShowNoFiles(FileListState& state);

/// Writes the status caption for `n` files into state.statusCaption.
void ShowFileCount(FileListState& state, int n);

/// The status caption: " no" or the number, then " [tag] " (" " without a tag), "files".
[[nodiscard]] QString FileCountCaption(const QString& tag, int n);

/// What clicking the status label tells: "File extensions: " and the pattern ("ALL"
/// for "*.*").
[[nodiscard]] QString PatternMessage(const QString& currentPattern);

/// The "Copy List" text: every node in tree order, 8 spaces per depth, CR LF after
/// each. Empty when the tree has no nodes.
[[nodiscard]] QString CopyListText(const NodeTree& tree);

/// The header of File1Backup while the basket is listed.
inline const QString BasketHeader = QStringLiteral("RadeZazeda");

/// The file list's root text for a header: "RadeZazeda" for the basket, else the
/// folder without its trailing "/" (RootText).
[[nodiscard]] QString FileListRootText(const QString& header);

/// Clears the file tree and adds its expanded root "R" for `header` (a folder path or
/// BasketHeader), with the folder image "1" or the basket image "27". Returns the root.
NodeTree::Id AddFileListRoot(NodeTree& tree, const QString& header);
