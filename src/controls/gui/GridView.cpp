#include "controls/gui/GridView.h"

#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "platform/gui/Clipboard.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <algorithm>

GridModel::GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

void GridModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.rows();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.cols();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row();
    const int c = index.column();
    const bool fixed = r < grid_.fixedRows() || c < grid_.fixedCols();
    switch (role) {
    case Qt::DisplayRole:
        return platform::displayFileName(
            grid_.textMatrix(r, c)); // raw bytes, format characters shown
    case Qt::TextAlignmentRole: {
        Qt::Alignment h = Qt::AlignLeft;
        switch (grid_.colAlignment(c)) {
        case Grid::Alignment::Right:
            h = Qt::AlignRight;
            break;
        case Grid::Alignment::Center:
            h = Qt::AlignHCenter;
            break;
        case Grid::Alignment::Left:
            break;
        case Grid::Alignment::General: {
            // General: numbers right, text left, as the flex grid shows them.
            bool ok = false;
            grid_.textMatrix(r, c).trimmed().toDouble(&ok);
            h = ok ? Qt::AlignRight : Qt::AlignLeft;
            break;
        }
        }
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::FontRole:
        if (grid_.cellFont) {
            if (const auto cell = grid_.cellFont(grid_, r, c)) {
                QFont font(cell->name);
                if (cell->pointSize > 0)
                    font.setPointSizeF(cell->pointSize);
                font.setBold(cell->bold);
                font.setItalic(cell->italic);
                return font;
            }
        }
        return {};
    case Qt::BackgroundRole:
        if (fixed)
            return QApplication::palette().brush(QPalette::Button);
        return {};
    case Qt::ForegroundRole:
        if (fixed)
            return QApplication::palette().brush(QPalette::ButtonText);
        return {};
    default:
        return {};
    }
}

GridView::GridView(QWidget* parent) : QTableView(parent)
{
    model_ = new GridModel(grid_, this);
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { syncSelection(); });

    // The fixed columns: a second view of the same cells over the left edge, scrolled
    // up and down with the grid but never across.
    fixedColumns_ = new QTableView(this);
    fixedColumns_->setModel(model_);
    fixedColumns_->setSelectionModel(selectionModel());
    fixedColumns_->horizontalHeader()->hide();
    fixedColumns_->verticalHeader()->hide();
    fixedColumns_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    fixedColumns_->setFocusPolicy(Qt::NoFocus);
    fixedColumns_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fixedColumns_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    fixedColumns_->setWordWrap(false);
    fixedColumns_->setFrameShape(QFrame::NoFrame);
    fixedColumns_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedColumns_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedColumns_->setVerticalScrollMode(verticalScrollMode());
    fixedColumns_->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixedColumns_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(fixedColumns_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeFixedColumns(); });
}

void GridView::placeFixedColumns()
{
    const int fixed = std::min(grid_.fixedCols(), grid_.cols());
    int width = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        fixedColumns_->setColumnHidden(c, c >= fixed);
        if (c < fixed) {
            fixedColumns_->setColumnWidth(c, columnWidth(c));
            width += columnWidth(c);
        }
    }
    if (width == 0) {
        fixedColumns_->hide();
        return;
    }
    const QRect shown = viewport()->geometry();
    fixedColumns_->setGeometry(shown.left(), shown.top(), std::min(width, shown.width()),
                               shown.height());
    fixedColumns_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    fixedColumns_->show();
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeFixedColumns();
}

int GridView::twipsToPixels(int twips) const
{
    return twips * logicalDpiX() / 1440;
}

void GridView::applyWidths()
{
    for (int c = 0; c < grid_.cols(); ++c) {
        const int w = grid_.colWidth(c);
        const int stored =
            w == Grid::DefaultWidth ? horizontalHeader()->defaultSectionSize() : twipsToPixels(w);
        // Stored widths were chosen for a smaller font: widen a column rather than cut
        // its texts, within reason. A zero width still hides the column.
        const int wanted = std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c));
        setColumnWidth(c, stored == 0 ? 0 : std::max(stored, std::min(wanted, 400)));
    }
    placeFixedColumns();
}

void GridView::showCell(int row, int col)
{
    setFocus();
    grid_.setSelection(row, col, row, col);
    refresh();
    scrollTo(model_->index(row, col), QAbstractItemView::PositionAtTop);
    QScrollBar* across = horizontalScrollBar();
    across->setValue(across->value() + columnViewportPosition(col));
}

void GridView::refresh()
{
    model_->refresh();
    applyWidths();
    const int r = grid_.row();
    if (r >= 0 && r < grid_.rows())
        setCurrentIndex(model_->index(r, std::clamp(grid_.col(), 0, grid_.cols() - 1)));
}

void GridView::syncSelection()
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int r1 = selected.first().row(), r2 = r1, c1 = selected.first().column(), c2 = c1;
    for (const QModelIndex& i : selected) {
        r1 = std::min(r1, i.row());
        r2 = std::max(r2, i.row());
        c1 = std::min(c1, i.column());
        c2 = std::max(c2, i.column());
    }
    grid_.setSelection(r1, c1, r2, c2);
}

void GridView::copySelection()
{
    platform::copyTextToClipboard(grid_.selectionText());
    if (prompts_)
        prompts_->message(QStringLiteral("grid cells copied to clipboard"));
}

void GridView::copyAll()
{
    platform::copyTextToClipboard(grid_.wholeText());
    if (prompts_)
        prompts_->message(QStringLiteral("grid copied to clipboard"));
}

void GridView::sortByHeader(int col)
{
    grid_.headerSort(col);
    refresh();
    Q_EMIT sorted(col);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        return;
    // A click on a heading cell selects the whole column, which sorts by it.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid() || at.row() >= grid_.fixedRows() || grid_.rows() <= grid_.fixedRows())
        return;
    grid_.setSelection(grid_.fixedRows(), at.column(), grid_.rows() - 1, at.column());
    sortByHeader(at.column());
}
