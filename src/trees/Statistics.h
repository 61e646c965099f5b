#pragma once

#include "browse/FileList.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>
#include <functional>

class Grid;
class Prompts;
struct Settings;

/// What a size table leaves for the view window to show.
struct SizeTableResult {
    bool shown = false;      ///< false: nothing to show (the grid stays hidden)
    bool statistics = false; ///< the grouped statistics rather than a file table
    QString viewMessage;     ///< the view window's message line
    QString gridTag;         ///< "[folder]" or "" (the basket)
    qint64 grandTotal = 0;   ///< sum of the lengths in the table, for the size bars
};

/// "###.#" followed by a space: 25 gives "25. ", 33.33 "33.3 ", 0 ". ".
[[nodiscard]] QString PercentText(double value);

/// Fills `grid` with the statistics of the grouped tree in fileTree: one row per group
/// (count, name, total, min, max, %count, %size) in tree order; files whose text
/// begins with "|" are left out. Lengths come from the listing's metadata. Returns
/// the grand total of the lengths.
qint64 GroupStatistics(const FileList& state, Grid& grid);

/// "Show Size Table" for node `current` of fileTree: the group statistics when a grouped
/// tree is shown and `current` is the root, otherwise the lengths of the node's files.
/// A list of fewer than 2 nodes gives nothing.
SizeTableResult ShowSizeTable(FileList& state, Grid& grid, NodeTree::Id current);
/// One file row of a size table: the row number (from 1), the entry's text and its length.
struct SizeTableRow {
    int number = 0;
    const QString& text;
    qint64 length = 0;
};
/// The row as the grid takes it: number, TAB, text, TAB, length.
[[nodiscard]] QString SizeTableRowText(const SizeTableRow& row);
/// Receives the file rows of a size table one at a time; `header` is the grid, holding
/// the header row by then.
using SizeTableRows = std::function<void(const Grid& header, const SizeTableRow& row)>;
/// ShowSizeTable that hands each file row to `rows` instead of adding it to the grid,
/// so a table of a million files is never held whole. Group statistics still fill the grid.
SizeTableResult ShowSizeTable(FileList& state, Grid& grid, NodeTree::Id current,
                              const SizeTableRows& rows);
/// The file table of the plain list's root for a list that keeps no node per file: the
/// rows come from listedNames and the read's lengths, as ShowSizeTable on the root of a
/// plain list with its nodes would give them.
SizeTableResult PlainListSizeTable(const FileList& state, Grid& grid, const SizeTableRows& rows);

/// The rows of a folder's size table ("n", TAB, name, TAB, length) and their total.
struct FolderSizeRows {
    QStringList rows;
    qint64 grandTotal = 0;
};

/// The rows of `files` in directory order; `stopped` is asked before each row and ends
/// the table where it says so. Touches nothing else, so it may run on any thread.
[[nodiscard]] FolderSizeRows FolderSizeRowTexts(const std::vector<platform::FileEntry>& files,
                                                const std::function<bool()>& stopped);

/// Shows the rows of `folder` in `grid`: `error` is the reason the read stopped ("" when
/// it did not) and is said; no rows: "no files found" (unless the read failed) and
/// nothing shown.
SizeTableResult ShowFolderSizeRows(const QString& folder, const FolderSizeRows& rows,
                                   const QString& error, Grid& grid, Prompts& prompts);

/// The size table of the files of `folder` (ending in "/"), in directory order, read and
/// shown in one go.
SizeTableResult FolderSizeTable(const QString& folder, const Settings& settings, Grid& grid,
                                Prompts& prompts);
