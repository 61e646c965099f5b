#pragma once

#include "browse/FileList.h"

#include <QHash>
#include <functional>
#include <vector>

struct Settings;

/// Turns one sorted scratch line ("key TAB entry") into its group text; `tab` is the
/// position of the first TAB.
using GroupTextFunction = std::function<QStringView(QStringView line, int tab)>;

/// The common end of every grouped build: sorts the scratch lines "key TAB entry", puts
/// the header entry on top of them, records the tree folder path, rebuilds the node tree
/// (root, then one group node per change of group text in walk order, files under their
/// group) and marks the list in use. `groupImage` empty means the image of the group's
/// first file. Returns the file count.
int BuildGroupsFromList1(FileList& state, ListBoy& scratchLines, const Settings& settings,
                         bool walkBackwards, const GroupTextFunction& groupText,
                         const QString& groupImage);

/// The files of a grouped build, gathered before sorting: each file's group key (kept
/// once per distinct key) and its entry as filed, sharing the list's own text. The
/// scratch lines "key TAB entry" are not built.
class GroupedFiles {
public:
    /// Adds a file filed as `entry` under `key`. Files sort by `order` first (a key that
    /// begins with a number of fixed width sorts as that number), then by key, then by entry.
    void add(const QString& key, const QString& entry, quint64 order = 0);
    [[nodiscard]] quint64 orderOf(size_t file) const { return orders_[file]; }
    /// Makes room for `count` files, so a huge folder's arrays do not regrow.
    void reserve(size_t count);
    [[nodiscard]] size_t size() const { return entries_.size(); }
    [[nodiscard]] const QString& keyOf(size_t file) const { return keys_[keyOf_[file]]; }
    [[nodiscard]] quint32 keyIndexOf(size_t file) const { return keyOf_[file]; }
    [[nodiscard]] const QString& entryOf(size_t file) const { return entries_[file]; }
    [[nodiscard]] const std::vector<QString>& keys() const { return keys_; }

private:
    std::vector<QString> keys_;
    std::vector<quint32> keyOf_;
    std::vector<quint64> orders_;
    std::vector<QString> entries_;
    QHash<QString, quint32> keyIndex_;
};

/// BuildGroupsFromList1 over `files` instead of scratch lines, in the very order sorting
/// their scratch lines gives, without making them. `groupText` is given
/// the key alone as the line (the TAB at its end).
int BuildGroupsFromFiles(FileList& state, const Settings& settings, bool walkBackwards,
                         const GroupTextFunction& groupText, const QString& groupImage,
                         const GroupedFiles& files);

/// Compares the scratch-line order of two entries under one key: each entry followed by
/// the TAB and the item data "0" its line would end with, by character codes.
[[nodiscard]] int CompareFiledEntries(QStringView a, QStringView b);

/// The scratch line "key TAB entry", built in one allocation.
[[nodiscard]] QString ScratchLine(QStringView key, QStringView entry);
