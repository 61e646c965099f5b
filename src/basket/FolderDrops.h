#pragma once

#include "browse/FileDrag.h"

#include <QString>
#include <QStringList>

class Basket;
class Prompts;
struct Settings;

/// The copies a drop on the folder tree asks for; the window does them with its
/// progress and its overwrite dialog.
class DropCopier {
public:
    virtual ~DropCopier() = default;
    /// Copies basket rows `first`..`last` into `folder`.
    virtual void copyBasketRows(const QString& folder, int first, int last) = 0;
    /// Copies each source into `folder` under its own name, then reports the count or
    /// lets the user decide the conflicts.
    virtual void copyFiles(const QStringList& sources, const QString& folder) = 0;
};

/// Files dropped on a folder of the folder tree.
struct FilesDrop {
    DraggedSet set = DraggedSet::Files;
    QStringList sources;  ///< full paths of the files
    QString listedFolder; ///< for WholeList: the folder the list showed, ending in "/"
};

/// The basket (its grid or its icon) dropped on `folder`: "RadeZazeda is empty", or
/// after a Yes to "copy n files in RadeZazeda to: folder" every row is copied. True when
/// the copy ran.
bool DropBasketOnFolder(const Basket& basket, const QString& folder, Prompts& prompts,
                        DropCopier& copier);

/// Files dropped on `folder` (ending in "/"): the whole list asks "copy n files shown in
/// folder: ... to ..." unless it is that folder ("source and destination directory are
/// same"); a group or several files ask "copy n files to ..."; one file is copied by
/// CopySingleFile, which asks before it overwrites. True when a copy ran.
bool DropFilesOnFolder(const FilesDrop& drop, const QString& folder, bool nextVersionOnOverwrite,
                       Prompts& prompts, DropCopier& copier);

/// The paths that are not folders (a drop on the folder tree copies files only).
[[nodiscard]] QStringList FilesAmong(const QStringList& paths);

/// Entries dragged out of the file list while it shows the basket are not copied:
/// "In order to copy RadeZazeda, drag-drop RadeZazeda icon to Folder Tree".
void RefuseListedBasketDrop(Prompts& prompts);

/// Files dropped on the basket by path (from another program, another window): a folder
/// adds its files, a basket file is passed over, one file is added with its "file
/// added:" report, several with one " n files added to RadeZazeda". Returns the count.
int AddDroppedPaths(Basket& basket, const QStringList& paths, const Settings& settings);
