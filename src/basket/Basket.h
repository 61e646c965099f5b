#pragma once

#include "basket/BasketHost.h"
#include "browse/NodeSource.h"
#include "controls/Grid.h"

#include <QHash>
#include <QString>
#include <optional>

class Prompts;

/// The basket: the rows of a Grid (header row 0; columns full path, name, shown
/// name, size) with a case-insensitive index of the full paths, so the duplicate check
/// of every added file is one hash lookup. Every change of rows goes through here.
class Basket {
public:
    static inline const QString Title = QStringLiteral("RadeZazeda");
    enum Column { PathColumn = 0, NameColumn = 1, ShownColumn = 2, SizeColumn = 3 };

    Basket(Grid& grid, Prompts& prompts, BasketHost& host);

    [[nodiscard]] Grid& grid() { return grid_; }
    [[nodiscard]] const Grid& grid() const { return grid_; }
    [[nodiscard]] Prompts& prompts() const { return prompts_; }
    [[nodiscard]] BasketHost& host() const { return host_; }
    /// Number of entry rows (rows - 1, never below 0).
    [[nodiscard]] int entries() const { return qMax(0, grid_.rows() - 1); }
    [[nodiscard]] bool empty() const { return grid_.rows() < 2; }
    [[nodiscard]] QString path(int row) const { return grid_.textMatrix(row, PathColumn); }
    [[nodiscard]] QString shown(int row) const { return grid_.textMatrix(row, ShownColumn); }

    /// The row AddFileToBasket inserts after; below 1 appends.
    int insertionRow = -1;

    /// Empties the grid back to its header "||File|>Size" with the two hidden columns,
    /// and clears both status panels.
    void ResetBasketGrid();
    /// True when some entry's full path equals `fullPath` ignoring letter case.
    [[nodiscard]] bool IsInBasket(const QString& fullPath) const;

    /// Whether an addition is reported in a message box while the grid is hidden.
    enum class Notice { Silent, Announce };

    /// Adds one file: a file on disk, or an archive entry already extracted into `folder`
    /// (shown as the listed folder + `entryRef`); any other source adds nothing. True when
    /// a row was added; a duplicate is skipped silently.
    /// `knownSize` spares a second read of a size the caller's listing already has.
    bool AddFileToBasket(const QString& folder, const QString& name, NodeSource source,
                         const QString& entryRef, Notice notice,
                         std::optional<qint64> knownSize = {});

    /// While a batch is open, the view hears of changed rows once, when it closes.
    void beginBatch() { ++batch_; }
    void endBatch();

    /// Appends the row a basket file holds: path, its name, path, its size.
    void addLoadedEntry(const QString& entry);

    /// Moves the current row below the row it was dropped on (onto the header: to row 1).
    /// Nothing when either row is out of range or they are equal. True when moved.
    bool moveRow(int current, int dropRow);
    /// "Delete filename from Basket": removes an entry row, or resets the grid when it is
    /// the only one. True when something was removed.
    bool deleteRow(int row);
    /// "Clear RadeZazeda": asks "clear RadeZazeda?" and resets on Yes. True when cleared.
    bool clearAsked();
    /// The header click: sorts by `col`, ascending unless the last header sort was
    /// ascending; the grid's tag keeps "1" or "2".
    void sortByHeader(int col);

    /// Sum of the size column over all entries.
    [[nodiscard]] qint64 totalSize() const;
    /// "Properties" for the whole basket: " 3 files, 1.5 Kb".
    [[nodiscard]] QString summaryText() const;
    /// "RadeZazeda: 3 files" in the second status panel.
    void showCount();

private:
    void indexAdd(const QString& fullPath);
    void indexRemove(const QString& fullPath);
    void insertRow(const QStringList& cells, int index);
    void rowsChanged();

    Grid& grid_;
    Prompts& prompts_;
    BasketHost& host_;
    QHash<QString, int> index_; ///< folded full path -> number of rows holding it
    int batch_ = 0;
    bool changedInBatch_ = false;
};

/// The length of a file in bytes; 0 when it is missing or unreadable.
[[nodiscard]] qint64 FileLenOrZero(const QString& path);

/// Holds a basket batch open for its lifetime.
class BasketBatch {
public:
    explicit BasketBatch(Basket& basket) : basket_(basket) { basket_.beginBatch(); }
    ~BasketBatch() { basket_.endBatch(); }
    BasketBatch(const BasketBatch&) = delete;
    BasketBatch& operator=(const BasketBatch&) = delete;

private:
    Basket& basket_;
};
