#pragma once

#include "browse/SharedVector.h"

#include <QString>
#include <QStringList>
#include <vector>

/// The sortable item list behind listedNames and the trees' scratch lines: each item is a text
/// (which may itself hold TABs), a TAB and its item data as decimal text. Public
/// indexes count from 0; an index out of range makes an operation do nothing.
class ListBoy {
public:
    [[nodiscard]] int ListCount() const { return int(items_.read().size()); }

    /// Appends (no index), puts at the top (index <= 0), or inserts before `index`.
    /// An index at or past ListCount adds nothing. New items have item data 0.
    void Additem(const QString& itemText);
    void Additem(const QString& itemText, int index);
    void RemoveItem(int index);
    /// Item text (column < 1) or field `column` (1-based; the item data is the last).
    [[nodiscard]] QString list(int index, int column = 0) const;
    /// The item text without a copy; an empty text for an index out of range.
    [[nodiscard]] const QString& textAt(int index) const;
    void UpdateText(int index, const QString& newText);
    [[nodiscard]] double GetItemData(int index) const;
    void SetItemData(int index, double itemData);
    void Clear();

    /// Index of the first item fitting the wildcard pattern, or -1. Searches upward
    /// from 0, or downward from the end when `searchDirection` is true; a start index
    /// above 0 replaces the starting point. An empty list or a start out of range gives -1.
    [[nodiscard]] int Find(const QString& findText, int columnNumber = 0,
                           bool searchDirection = false, int startIndex = 0,
                           bool caseSensitive = false) const;
    /// Index of the first item whose item data equals `value`, or -1.
    [[nodiscard]] int FindItemData(double value, int startIndex = 0,
                                   bool searchDirection = false) const;

    /// Sort by the whole stored line (text, TAB, item data), by character codes.
    void SortAscending();
    void SortDescending();
    /// Sort by item data; numeric for whole values from 0 to 10^12 - 1 (others are
    /// placed as if clamped to that range). Equal values keep no particular order.
    void SortItemDataAscending();
    void SortItemDataDescending();

    /// Appends every line of a text file (UTF-8, else Latin-1; LF or CR LF) with item
    /// data 0; false on any file error, keeping the lines read before it.
    bool LoadFile(const QString& fileName);
    /// Writes the item texts as UTF-8, one per line (LF), through a temporary file
    /// beside the target that replaces it; false on any error (the old file stays).
    bool SaveFile(const QString& fileName) const;

    /// Whether the two lists share their items (one is an unchanged copy of the other).
    [[nodiscard]] bool sharesItemsWith(const ListBoy& other) const
    {
        return items_.sameData(other.items_);
    }
    /// Every item text, in order.
    [[nodiscard]] QStringList texts() const;
    /// Appends every line as an item (the list-box copy of the original).
    void CopyFromList(const QStringList& lines);

    /// Number of items a caller expects to add; avoids regrowth for big listings.
    void reserve(int count) { items_.write().reserve(size_t(count)); }

    /// One item: the line it stands for is text, TAB, data written as decimal text.
    /// Kept apart so that adding and reading texts shares the caller's strings, and the
    /// data is only written out when a comparison reaches it.
    struct Item {
        QString text;
        double data = 0;
    };

private:
    void sortByItemData(bool descending);

    SharedVector<Item> items_;
};
