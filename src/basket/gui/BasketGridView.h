#pragma once

#include "controls/gui/GridView.h"

#include <QPoint>

class QMimeData;

/// The basket grid on the view window: the path and name columns stay hidden, a
/// press selects the row under the mouse, a left drag carries the grid (row moves,
/// drops on the folder tree), a right release over an entry asks for its menu, a header
/// click asks for a sort. Drops are handed on with the grid row under the mouse.
class BasketGridView : public GridView {
    Q_OBJECT
public:
    explicit BasketGridView(QWidget* parent = nullptr);

    /// Shows the grid's rows again and hides the two path columns.
    void refreshRows();
    /// The grid row at a point of the viewport: 0 over the header, the last row below
    /// the rows, -1 when the grid has no rows.
    [[nodiscard]] int gridRowAt(const QPoint& pos) const;

Q_SIGNALS:
    /// The shown name of the row under the mouse ("" over the header).
    void hovered(const QString& shownName);
    void menuRequested(int row, const QPoint& globalPos);
    void headerClicked(int col);
    /// Something was dropped on grid row `row`.
    void dropped(const QMimeData* data, int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void keepPathColumnsHidden();
    [[nodiscard]] static bool accepts(const QMimeData* data);

    QPoint pressPos_;
    bool pressed_ = false;
};
