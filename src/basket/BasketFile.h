#pragma once

#include "controls/NodeTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class FileList;

class Basket;
class Prompts;
struct Settings;

/// The lines of a basket file: the scrambled header, then each entry (the shown name of
/// every row), every line ended by CR LF.
[[nodiscard]] QByteArray BasketFileBytes(const Basket& basket);

/// Writes the basket to `path`, asking "... file already exists, overwrite?" first when
/// a non-empty file is there. The file is written beside its place and renamed into it.
/// Reports "RadeZazeda saved to:" and returns true when written.
bool SaveBasketFile(const Basket& basket, const QString& path, Prompts& prompts);

/// The entries after the header line: each field ends at a comma or at the end of its
/// line, a field in double quotes loses them (a comma inside stays), blanks around a
/// field are dropped and empty fields are skipped.
[[nodiscard]] QStringList ParseBasketEntries(QStringView text);

/// What a basket file holds.
struct BasketFileContents {
    bool isBasket = false; ///< the first line decodes to "RadeZazeda"
    QString headerLine;    ///< the first line as read
    QStringList entries;
};

/// Reads a basket file; isBasket false when it cannot be read or is another .bsk file.
[[nodiscard]] BasketFileContents ReadBasketFile(const QString& path);

enum class BasketLoad {
    Loaded,    ///< the basket now holds the file's entries
    NotBasket, ///< another kind of .bsk file: show it as text; the basket is untouched
    Unreadable ///< nothing read; the basket is untouched
};

/// Replaces the basket with the file's entries and shows the grid.
BasketLoad LoadBasketFile(Basket& basket, const QString& path);

/// The same, and lists the entries under `node` of `tree` (unless it has children
/// already): key "[" + node text + "]" + entry, image "k" + icon index, "k28" when the
/// file is missing or empty.
BasketLoad LoadBasketFile(Basket& basket, const QString& path, NodeTree& tree, NodeTree::Id node,
                          const Settings& settings);

/// True when `path` has the basket kind and its first line decodes to "RadeZazeda".
[[nodiscard]] bool IsBasketFile(const QString& path, const Settings& settings);

/// Removes every line equal to `entry` (exactly) from the basket file at `path`; the
/// header and the other lines stay in order. The new file replaces the old one by a
/// rename, so any failure leaves the old file whole. Returns the number of lines
/// removed, or -1 on a failure (reported through `prompts`).
int RemoveBasketFileEntry(const QString& path, const QString& entry, Prompts& prompts);

/// "Remove entry" on an entry listed under an opened basket file's node: removes its
/// lines from the file (RemoveBasketFileEntry) and lists the file's entries under the
/// node again (asking nothing while the list is being changed). -1 when the node is not
/// such an entry or the file could not be changed.
int RemoveListedBasketFileEntry(FileList& list, NodeTree::Id entryNode, const Settings& settings,
                                Prompts& prompts);
