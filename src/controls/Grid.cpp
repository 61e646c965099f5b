#include "controls/Grid.h"

#include <algorithm>

namespace {

QStringList emptyRow(int cols)
{
    QStringList row;
    row.reserve(cols);
    for (int c = 0; c < cols; ++c)
        row.append(QString());
    return row;
}

double numericValue(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

} // namespace

Grid::Grid()
{
    cells_.assign(2, emptyRow(cols_));
    widths_.assign(cols_, DefaultWidth);
    alignments_.assign(cols_, Alignment::General);
}

void Grid::setRows(int rows)
{
    rows = std::max(rows, 0);
    cells_.resize(rows, emptyRow(cols_));
    fixedRows_ = std::min(fixedRows_, rows);
}

void Grid::setCols(int cols)
{
    cols = std::max(cols, 0);
    for (QStringList& row : cells_) {
        while (row.size() < cols)
            row.append(QString());
        while (row.size() > cols)
            row.removeLast();
    }
    cols_ = cols;
    widths_.resize(cols, DefaultWidth);
    alignments_.resize(cols, Alignment::General);
    fixedCols_ = std::min(fixedCols_, cols);
}

void Grid::setFixedRows(int n)
{
    fixedRows_ = std::clamp(n, 0, rows());
}

void Grid::setFixedCols(int n)
{
    fixedCols_ = std::clamp(n, 0, cols_);
}

void Grid::clear()
{
    for (QStringList& row : cells_)
        row = emptyRow(cols_);
}

void Grid::reset(int cols)
{
    cells_.clear();
    cols_ = 0;
    widths_.clear();
    alignments_.clear();
    setCols(cols);
    setRows(1);
    fixedRows_ = 1;
    fixedCols_ = 0;
    row_ = col_ = rowSel_ = colSel_ = 0;
    lastSort_ = SortMode::None;
    tag.clear();
    cellFont = nullptr;
}

QString Grid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return {};
    return cells_[row][col];
}

void Grid::setTextMatrix(int row, int col, const QString& text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols_)
        return;
    cells_[row][col] = text;
}

int Grid::colWidth(int col) const
{
    return col >= 0 && col < cols_ ? widths_[col] : DefaultWidth;
}

void Grid::setColWidth(int col, int twips)
{
    if (col >= 0 && col < cols_)
        widths_[col] = twips;
}

Grid::Alignment Grid::colAlignment(int col) const
{
    return col >= 0 && col < cols_ ? alignments_[col] : Alignment::General;
}

void Grid::setColAlignment(int col, Alignment alignment)
{
    if (col >= 0 && col < cols_)
        alignments_[col] = alignment;
}

void Grid::setFormatString(const QString& format)
{
    const QStringList parts = format.split(QLatin1Char('|'));
    setCols(int(parts.size()));
    if (rows() == 0)
        setRows(1);
    for (int c = 0; c < cols_; ++c) {
        QString text = parts[c];
        Alignment a = Alignment::General;
        if (text.startsWith(QLatin1Char('<')))
            a = Alignment::Left;
        else if (text.startsWith(QLatin1Char('^')))
            a = Alignment::Center;
        else if (text.startsWith(QLatin1Char('>')))
            a = Alignment::Right;
        if (a != Alignment::General)
            text.remove(0, 1);
        alignments_[c] = a;
        cells_[0][c] = text;
    }
}

void Grid::addItem(const QString& rowText, int index)
{
    QStringList row = emptyRow(cols_);
    const QStringList parts = rowText.split(QLatin1Char('\t'));
    for (int c = 0; c < cols_ && c < parts.size(); ++c)
        row[c] = parts[c];
    if (index >= 0 && index < rows())
        cells_.insert(cells_.begin() + index, std::move(row));
    else
        cells_.push_back(std::move(row));
}

void Grid::addRow(QStringList cells, int index)
{
    QStringList row = std::move(cells);
    if (row.size() > cols_)
        row.resize(cols_);
    while (row.size() < cols_)
        row.append(QString());
    if (index >= 0 && index < rows())
        cells_.insert(cells_.begin() + index, std::move(row));
    else
        cells_.push_back(std::move(row));
}

void Grid::removeItem(int row)
{
    if (row < 0 || row >= rows())
        return;
    cells_.erase(cells_.begin() + row);
    fixedRows_ = std::min(fixedRows_, rows());
}

void Grid::sort(int col, SortMode mode)
{
    if (col < 0 || col >= cols_ || fixedRows_ >= rows() || mode == SortMode::None)
        return;
    auto first = cells_.begin() + fixedRows_;
    switch (mode) {
    case SortMode::TextAscending:
        std::stable_sort(first, cells_.end(), [col](const QStringList& a, const QStringList& b) {
            return QString::compare(a[col], b[col], Qt::CaseInsensitive) < 0;
        });
        break;
    case SortMode::TextDescending:
        std::stable_sort(first, cells_.end(), [col](const QStringList& a, const QStringList& b) {
            return QString::compare(a[col], b[col], Qt::CaseInsensitive) > 0;
        });
        break;
    case SortMode::NumericAscending:
        std::stable_sort(first, cells_.end(), [col](const QStringList& a, const QStringList& b) {
            return numericValue(a[col]) < numericValue(b[col]);
        });
        break;
    case SortMode::NumericDescending:
        std::stable_sort(first, cells_.end(), [col](const QStringList& a, const QStringList& b) {
            return numericValue(a[col]) > numericValue(b[col]);
        });
        break;
    case SortMode::None:
        break;
    }
    lastSort_ = mode;
}

Grid::SortMode Grid::headerSort(int col)
{
    SortMode mode;
    if (col == 1)
        mode = lastSort_ == SortMode::TextAscending ? SortMode::TextDescending
                                                    : SortMode::TextAscending;
    else
        mode = lastSort_ == SortMode::NumericAscending ? SortMode::NumericDescending
                                                       : SortMode::NumericAscending;
    sort(col, mode);
    lastSort_ = mode;
    row_ = rowSel_ = std::min(fixedRows_, rows() - 1);
    return mode;
}

void Grid::setSelection(int row, int col, int rowSel, int colSel)
{
    row_ = row;
    col_ = col;
    rowSel_ = rowSel;
    colSel_ = colSel;
}

QString Grid::rangeText(int r1, int c1, int r2, int c2) const
{
    if (r1 > r2)
        std::swap(r1, r2);
    if (c1 > c2)
        std::swap(c1, c2);
    r1 = std::max(r1, 0);
    c1 = std::max(c1, 0);
    r2 = std::min(r2, rows() - 1);
    c2 = std::min(c2, cols_ - 1);
    QString text;
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            if (c > c1)
                text += QLatin1Char('\t');
            text += cells_[r][c];
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

QString Grid::selectionText() const
{
    return rangeText(row_, col_, rowSel_, colSel_);
}

QString Grid::wholeText() const
{
    return rangeText(0, 0, rows() - 1, cols_ - 1);
}
