#include "basket/Basket.h"

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <exception>

namespace {

const QString Tab = QStringLiteral("\t");

/// The duplicate-check key: ASCII folded inline, the rest through Qt's case folding.
QString folded(const QString& path)
{
    QString key(path.size(), Qt::Uninitialized);
    QChar* out = key.data();
    const QChar* in = path.constData();
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = in[i].unicode();
        if (c >= 128)
            return path.toCaseFolded();
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return key;
}

QStringList rowCells(const QString& fullPath, const QString& name, const QString& shown,
                     qint64 size)
{
    return {fullPath, name, shown, QString::number(size)};
}

} // namespace

qint64 FileLenOrZero(const QString& path)
{
    if (path.isEmpty())
        return 0;
    const std::optional<platform::FileEntry> entry = platform::statFile(path);
    return entry ? entry->size : 0;
}

Basket::Basket(Grid& grid, Prompts& prompts, BasketHost& host)
    : grid_(grid), prompts_(prompts), host_(host)
{
    ResetBasketGrid();
}

void Basket::ResetBasketGrid()
{
    grid_.clear();
    grid_.setCols(4);
    grid_.setRows(2);
    grid_.setFixedCols(2);
    grid_.setFixedRows(1);
    grid_.setRows(1);
    grid_.setFormatString(QStringLiteral("||File|>Size"));
    grid_.setColAlignment(SizeColumn, Grid::Alignment::Right);
    grid_.setColWidth(PathColumn, 0);
    grid_.setColWidth(NameColumn, 0);
    grid_.setColWidth(ShownColumn, 2600);
    grid_.setColWidth(SizeColumn, 800);
    grid_.setSelection(1, ShownColumn, 1, ShownColumn); // the first entry, once there is one
    index_.clear();
    host_.setViewPath(QString());
    host_.setViewMessage(QString());
    host_.gridChanged();
}

bool Basket::IsInBasket(const QString& fullPath) const
{
    return index_.contains(folded(fullPath));
}

void Basket::indexAdd(const QString& fullPath)
{
    ++index_[folded(fullPath)];
}

void Basket::indexRemove(const QString& fullPath)
{
    const auto it = index_.find(folded(fullPath));
    if (it == index_.end())
        return;
    if (--it.value() <= 0)
        index_.erase(it);
}

void Basket::insertRow(const QStringList& cells, int index)
{
    grid_.addRow(cells, index);
    indexAdd(cells.front());
}

bool Basket::AddFileToBasket(const QString& folder, const QString& name, NodeSource source,
                             const QString& entryRef, Notice notice,
                             std::optional<qint64> knownSize)
{
    try {
        int target = insertionRow >= 1 ? insertionRow : grid_.rows() - 1;
        if (target == 1)
            target = 0;
        if (source != NodeSource::File && source != NodeSource::ArchiveEntry)
            return false;
        const QString fullPath = folder + name;
        const bool added = !IsInBasket(fullPath);
        const qint64 size = knownSize ? *knownSize : FileLenOrZero(fullPath);
        const QString shownName =
            source == NodeSource::ArchiveEntry ? host_.currentFolderPath() + entryRef : fullPath;
        const QStringList cells = rowCells(fullPath, name, shownName, size);
        if (added) {
            insertRow(cells, target + 1);
            rowsChanged();
        }
        if (!host_.gridVisible() && notice == Notice::Announce) {
            prompts_.message(QStringLiteral("file added:") + LineBreak + cells.at(ShownColumn) +
                             LineBreak + QString::number(target + 1) +
                             QStringLiteral(" files in the basket"));
        }
        if (batch_ > 0) {
            changedInBatch_ = true; // the count is shown when the batch closes
        } else {
            showCount();
            host_.focusGrid();
        }
        return added;
    } catch (const std::exception&) {
        prompts_.message(QStringLiteral("error adding file to basket"), Title);
        return false;
    }
}

void Basket::rowsChanged()
{
    if (batch_ > 0)
        changedInBatch_ = true;
    else
        host_.gridChanged();
}

void Basket::endBatch()
{
    if (--batch_ > 0 || !changedInBatch_)
        return;
    changedInBatch_ = false;
    host_.gridChanged();
    showCount();
    host_.focusGrid();
}

void Basket::addLoadedEntry(const QString& entry)
{
    insertRow(rowCells(entry, NameAfterLastBackslash(entry), entry, FileLenOrZero(entry)), -1);
}

bool Basket::moveRow(int current, int dropRow)
{
    const int rows = grid_.rows();
    if (current < 1 || current >= rows || dropRow < 0 || dropRow >= rows || dropRow == current)
        return false;
    QStringList cells;
    for (int col = 0; col < 4; ++col)
        cells << grid_.textMatrix(current, col);
    grid_.addItem(cells.join(Tab), dropRow + 1);
    grid_.removeItem(dropRow < current ? current + 1 : current);
    const int landed = dropRow < current ? dropRow + 1 : dropRow;
    grid_.setSelection(landed, ShownColumn, landed, ShownColumn);
    host_.gridChanged();
    return true;
}

bool Basket::deleteRow(int row)
{
    if (empty() || row < 1 || row >= grid_.rows())
        return false;
    if (entries() == 1) {
        ResetBasketGrid();
        return true;
    }
    indexRemove(path(row));
    grid_.removeItem(row);
    const int current = qMin(row, grid_.rows() - 1);
    grid_.setSelection(current, ShownColumn, current, ShownColumn);
    host_.gridChanged();
    showCount();
    return true;
}

bool Basket::clearAsked()
{
    if (empty())
        return false;
    if (!prompts_.askYesNo(QStringLiteral("clear RadeZazeda?"), Title))
        return false;
    ResetBasketGrid();
    return true;
}

void Basket::sortByHeader(int col)
{
    const bool descending = grid_.tag == u"1";
    grid_.tag = descending ? QStringLiteral("2") : QStringLiteral("1");
    Grid::SortMode mode;
    if (col == SizeColumn)
        mode = descending ? Grid::SortMode::NumericDescending : Grid::SortMode::NumericAscending;
    else
        mode = descending ? Grid::SortMode::TextDescending : Grid::SortMode::TextAscending;
    grid_.sort(col, mode);
    grid_.setSelection(grid_.row(), col, grid_.row(), col);
    host_.gridChanged();
}

qint64 Basket::totalSize() const
{
    qint64 sum = 0;
    for (int row = 1; row < grid_.rows(); ++row)
        sum += grid_.textMatrix(row, SizeColumn).toLongLong();
    return sum;
}

QString Basket::summaryText() const
{
    return NumText(entries()) + QStringLiteral(" files, ") + SizeText(double(totalSize()));
}

void Basket::showCount()
{
    host_.setViewMessage(QStringLiteral("RadeZazeda:") + NumText(entries()) +
                         QStringLiteral(" files"));
}
