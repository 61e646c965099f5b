#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

/// The flex-grid model: rows x cols of text cells, the first `fixedRows` rows and
/// `fixedCols` columns fixed (headers), column widths in twips, column alignments,
/// row insertion and removal, sorting by a column and one rectangular selection.
/// Views (GridView) show it; everything here works headless.
class Grid {
public:
    enum class Alignment { General, Left, Center, Right };
    enum class SortMode {
        None,
        TextAscending,
        TextDescending,
        NumericAscending,
        NumericDescending
    };

    /// A width of -1 means the view's default column width.
    static constexpr int DefaultWidth = -1;

    Grid();

    [[nodiscard]] int rows() const { return int(cells_.size()); }
    [[nodiscard]] int cols() const { return cols_; }
    [[nodiscard]] int fixedRows() const { return fixedRows_; }
    [[nodiscard]] int fixedCols() const { return fixedCols_; }
    /// Growing adds empty cells; shrinking drops rows or columns at the end. The
    /// fixed counts are kept below the sizes.
    void setRows(int rows);
    void setCols(int cols);
    void setFixedRows(int n);
    void setFixedCols(int n);

    /// Empties every cell; sizes, widths and alignments stay.
    void clear();
    /// One empty fixed row, `cols` columns (default widths and alignments), no fixed
    /// columns, no selection and no sort memory: the start of every size table.
    void reset(int cols);

    /// Cell text; "" outside the grid.
    [[nodiscard]] QString textMatrix(int row, int col) const;
    /// Sets a cell; outside the grid does nothing.
    void setTextMatrix(int row, int col, const QString& text);

    [[nodiscard]] int colWidth(int col) const;
    void setColWidth(int col, int twips);
    [[nodiscard]] Alignment colAlignment(int col) const;
    void setColAlignment(int col, Alignment alignment);

    /// Header format: "|" separates the columns, a leading "<", "^" or ">" aligns the
    /// column left, centred or right. Sets the number of columns, their alignments and
    /// the texts of row 0 (which is created when missing).
    void setFormatString(const QString& format);

    /// Appends a row (or inserts it before `index` when 0 <= index < rows) whose
    /// cells are the TAB-separated parts of `rowText`, from column 0.
    void addItem(const QString& rowText, int index = -1);
    /// The same with the cells given one by one (no TAB splitting).
    void addRow(QStringList cells, int index = -1);
    /// Removes a row; out of range does nothing.
    void removeItem(int row);

    /// Sorts the non-fixed rows by column `col`; stable. Text sorts ignore case;
    /// numeric sorts read each cell as a number (non-numbers count as 0).
    void sort(int col, SortMode mode);
    /// The header-click sort: numeric ascending unless the last sort was numeric
    /// ascending (then descending); column 1 alternates text ascending/descending.
    /// Afterwards the current row is the first non-fixed row. Returns the mode used.
    SortMode headerSort(int col);
    [[nodiscard]] SortMode lastSort() const { return lastSort_; }

    /// The selection: from (row, col) to (rowSel, colSel), in either order.
    void setSelection(int row, int col, int rowSel, int colSel);
    [[nodiscard]] int row() const { return row_; }
    [[nodiscard]] int col() const { return col_; }
    [[nodiscard]] int rowSel() const { return rowSel_; }
    [[nodiscard]] int colSel() const { return colSel_; }

    /// The cells of the selection, TABs between the cells, every row ended by CR LF.
    [[nodiscard]] QString selectionText() const;
    /// The same for every row and column of the grid.
    [[nodiscard]] QString wholeText() const;

    QString tag; ///< free text the owner keeps with the grid ("[folder]", "MDB")

    /// A cell's own font; a point size of 0 keeps the view's size.
    struct CellFont {
        QString name;
        double pointSize = 0;
        bool bold = false;
        bool italic = false;
    };
    /// The font of a cell decided from the grid's contents (so a sort keeps it with its
    /// row); none, or nothing returned, leaves the view's font. reset() drops it.
    std::function<std::optional<CellFont>(const Grid& grid, int row, int col)> cellFont;

private:
    [[nodiscard]] QString rangeText(int r1, int c1, int r2, int c2) const;

    std::vector<QStringList> cells_;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    std::vector<int> widths_;
    std::vector<Alignment> alignments_;
    int row_ = 1, col_ = 1, rowSel_ = 1, colSel_ = 1;
    SortMode lastSort_ = SortMode::None;
};
