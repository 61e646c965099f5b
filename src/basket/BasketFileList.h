#pragma once

#include "browse/FileList.h"
#include "browse/ResolveFileNode.h"

#include <QString>

class Basket;
struct Settings;

/// Adds every file of `folder` ("*.*", no subfolders; hidden files only with
/// ShowSystemHidden) in name order, then reports how many were added. Returns that count.
int AddFolderToBasket(Basket& basket, const QString& folder, const Settings& settings);

/// Adds the files under a node of the file list: a group's files, every group's files for
/// the root of a grouped tree (names beginning with "." left out), the root's children
/// for a plain listing. `currentFolder` is the folder the list shows. Returns the count.
int AddNodeToBasket(Basket& basket, const FileList& state, NodeTree::Id id,
                    const QString& currentFolder);

/// Gets the file that node `id` resolved to ready to add: an entry of an archive shown
/// below it (an archive inside another one too) is extracted into the working folder,
/// and its copy there becomes the folder and name; a zip archive of the list without
/// children is copied to the working folder. False when an entry could not be extracted
/// (what went wrong was said): then there is nothing to add.
bool PrepareResolvedFile(ResolvedFileNode& file, const FileList& state, NodeTree::Id id,
                         const Settings& settings, Prompts& prompts);

/// Adds every marked file of the list (NodeMark::Marked), then " n files added" or "no selected
/// files". Returns the count.
int AddSelectedToBasket(Basket& basket, const FileList& state, const QString& currentFolder,
                        const Settings& settings);

/// Lists the entries in the file list as the folder "RadeZazeda". `filter` "*" shows all,
/// else a ";"-separated name pattern ("*.txt;*.md") picks the entries shown; nothing
/// shown gives the "no files" placeholder. Returns the number shown.
int ShowBasketInFileList(const Basket& basket, FileList& state, const QString& filter,
                         const Settings& settings);
