#include "basket/gui/BasketGridView.h"

#include "basket/Basket.h"
#include "basket/gui/BasketDrag.h"
#include "browse/FileDrag.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QMouseEvent>

BasketGridView::BasketGridView(QWidget* parent) : GridView(parent)
{
    setObjectName(QStringLiteral("RadeZazeda"));
    setAcceptDrops(true);
    setDragEnabled(false); // drags start by hand, so a press still selects
    setMouseTracking(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void BasketGridView::refreshRows()
{
    refresh();
    if (grid().row() < 1)
        selectionModel()->clearSelection(); // the header is never shown selected
    keepPathColumnsHidden();
}

void BasketGridView::keepPathColumnsHidden()
{
    for (const int col : {int(Basket::PathColumn), int(Basket::NameColumn)}) {
        if (!isColumnHidden(col) || columnWidth(col) > 0) {
            setColumnWidth(col, 0);
            setColumnHidden(col, true);
        }
    }
}

int BasketGridView::gridRowAt(const QPoint& pos) const
{
    const int rows = model()->rowCount();
    if (rows == 0)
        return -1;
    const int row = rowAt(pos.y());
    return row < 0 ? rows - 1 : row;
}

void BasketGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    GridView::currentChanged(current, previous);
    if (current.isValid())
        grid().setSelection(current.row(), Basket::ShownColumn, current.row(), Basket::ShownColumn);
    keepPathColumnsHidden();
}

void BasketGridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at.row() >= 1) {
        setCurrentIndex(model()->index(at.row(), Basket::ShownColumn));
        grid().setSelection(at.row(), Basket::ShownColumn, at.row(), Basket::ShownColumn);
    }
    pressed_ = event->button() == Qt::LeftButton;
    pressPos_ = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return; // the right button acts on release
    QTableView::mousePressEvent(event);
}

void BasketGridView::mouseMoveEvent(QMouseEvent* event)
{
    keepPathColumnsHidden();
    const QPoint pos = event->position().toPoint();
    if (pressed_ && (event->buttons() & Qt::LeftButton) &&
        (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        pressed_ = false;
        auto* drag = new QDrag(this);
        const int row = grid().row();
        const QString path = row >= 1 ? grid().textMatrix(row, Basket::PathColumn) : QString();
        drag->setMimeData(basketdrag::payload(basketdrag::FromGrid,
                                              path.isEmpty() ? QStringList() : QStringList{path}));
        drag->exec(Qt::CopyAction);
        return;
    }
    const int row = rowAt(pos.y());
    Q_EMIT hovered(row >= 1 ? grid().textMatrix(row, Basket::ShownColumn) : QString());
    if (!(event->buttons() & Qt::LeftButton))
        QTableView::mouseMoveEvent(event);
}

void BasketGridView::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_ = false;
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        if (at.isValid() && at.row() >= 1)
            Q_EMIT menuRequested(at.row(), event->globalPosition().toPoint());
        return;
    }
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && at.isValid() && at.row() == 0 && grid().rows() > 1)
        Q_EMIT headerClicked(at.column());
}

bool BasketGridView::accepts(const QMimeData* data)
{
    return !basketdrag::sourceOf(data).isEmpty() || MayCarryFiles(data);
}

void BasketGridView::dragEnterEvent(QDragEnterEvent* event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
}

void BasketGridView::dragMoveEvent(QDragMoveEvent* event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
}

void BasketGridView::dropEvent(QDropEvent* event)
{
    if (!accepts(event->mimeData()))
        return;
    event->acceptProposedAction();
    Q_EMIT dropped(event->mimeData(), gridRowAt(event->position().toPoint()));
}
