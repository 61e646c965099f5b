#pragma once

#include "controls/Grid.h"

#include <QAbstractTableModel>
#include <QTableView>

class Prompts;

/// A table model over a Grid; the grid stays the owner of the cells. Call
/// `refresh()` after changing the grid.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(Grid& grid, QObject* parent = nullptr);

    [[nodiscard]] Grid& grid() const { return grid_; }
    /// One model reset after the grid was changed.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Grid& grid_;
};

/// The flex grid on screen: fixed rows and columns drawn as headers, column widths
/// from twips at the screen's logical DPI, a click on a fixed-row cell sorts by that
/// column, Ctrl+C copies the selected cells.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    [[nodiscard]] Grid& grid() { return grid_; }
    /// Shows the grid's current contents, widths and selection.
    void refresh();
    /// Selects the cell and gives the grid the focus, with the cell's row as the top row
    /// shown and its column as the left one.
    void showCell(int row, int col);
    /// Where "grid cells copied to clipboard" is reported; none keeps it silent.
    void setPrompts(Prompts* prompts) { prompts_ = prompts; }

    /// Copies the selected cells to the clipboard and reports it.
    void copySelection();
    /// Copies every cell to the clipboard and reports it.
    void copyAll();
    /// Sorts by column `col` as a header click does.
    void sortByHeader(int col);

    /// Pixels for a width in twips at this widget's logical DPI.
    [[nodiscard]] int twipsToPixels(int twips) const;

    /// The grid's fixed columns (row numbers), drawn over the left edge so that they
    /// stay in place while the other columns scroll; hidden without fixed columns.
    [[nodiscard]] QTableView* fixedColumns() const { return fixedColumns_; }

Q_SIGNALS:
    /// The grid was sorted by a header click.
    void sorted(int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncSelection();
    void applyWidths();
    void placeFixedColumns();

    Grid grid_;
    GridModel* model_ = nullptr;
    Prompts* prompts_ = nullptr;
    QTableView* fixedColumns_ = nullptr;
};
