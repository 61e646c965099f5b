#include "basket/OverwritePairs.h"

#include "basket/Basket.h"
#include "basket/BasketCopy.h"
#include "basket/FileCopy.h"
#include "basket/NextVersionName.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/FileInfo.h"

namespace {

const QString Yes = QStringLiteral("Yes");
const QString No = QStringLiteral("No");

} // namespace

OverwritePairs::OverwritePairs()
{
    clear();
}

void OverwritePairs::clear()
{
    grid_.setRows(1);
    grid_.setFixedRows(1);
    grid_.setFixedCols(0);
    grid_.setFormatString(Format);
    grid_.setSelection(0, 0, 0, 0);
}

void OverwritePairs::AddOverwritePair(const QString& destination, const QString& source,
                                      const QString& destinationSize,
                                      const QString& destinationDate, const QString& sourceSize,
                                      const QString& sourceDate)
{
    const QString pair = NumText(grid_.rows() / 2 + 1);
    const QString tab = QStringLiteral("\t");
    grid_.addItem(pair + tab + No + tab + destinationSize + tab + destinationDate + tab +
                  destination);
    grid_.addItem(pair + tab + No + tab + sourceSize + tab + sourceDate + tab + source);
}

void OverwritePairs::addConflict(const QString& destination, const QString& source)
{
    AddOverwritePair(destination, source, SizeText(double(FileLenOrZero(destination))),
                     DateTimeText(destination, 1), SizeText(double(FileLenOrZero(source))),
                     DateTimeText(source, 1));
}

void OverwritePairs::toggle(int row)
{
    if (row < 1 || row >= grid_.rows())
        return;
    const QString now = grid_.textMatrix(row, AnswerColumn) == No ? Yes : No;
    const int first = row % 2 == 1 ? row : row - 1; // pairs start at rows 1, 3, 5, ...
    grid_.setTextMatrix(first, AnswerColumn, now);
    grid_.setTextMatrix(first + 1, AnswerColumn, now);
}

void OverwritePairs::flipAll()
{
    if (!hasPairs())
        return;
    const QString now = grid_.textMatrix(1, AnswerColumn) == No ? Yes : No;
    for (int row = 1; row < grid_.rows(); ++row)
        grid_.setTextMatrix(row, AnswerColumn, now);
}

bool OverwritePairs::anyYes() const
{
    for (int row = 1; row < grid_.rows(); ++row)
        if (grid_.textMatrix(row, AnswerColumn) == Yes)
            return true;
    return false;
}

int OverwritePairs::copyMarked(bool nextVersion, Prompts& prompts)
{
    if (!anyYes()) {
        prompts.message(QStringLiteral("nothing marked Yes to copy"));
        return 0;
    }
    int copied = 0;
    failed_ = 0;
    for (int row = 1; row + 1 < grid_.rows(); row += 2) {
        if (grid_.textMatrix(row, AnswerColumn) != Yes)
            continue;
        const QString source = grid_.textMatrix(row + 1, PathColumn);
        QString destination = grid_.textMatrix(row, PathColumn);
        if (nextVersion) {
            const QString version = NextVersionName(QString(), destination);
            if (version.isEmpty()) {
                prompts.message(QStringLiteral("no free version name left for:") + LineBreak +
                                destination);
                ++failed_;
                continue;
            }
            destination = version;
        }
        // A read-only destination goes too: the rename replaces it once the copy is whole,
        // and nothing at the destination (a link may point anywhere) is changed first.
        QString why;
        if (CopyFileSafely(source, destination, {}, &why)) {
            ++copied;
        } else {
            ++failed_;
            ReportCopyError(prompts, source, destination, why);
        }
    }
    QString report = copied == 0 ? QStringLiteral("no files copied")
                                 : NumText(copied) + QStringLiteral(" files copied");
    if (failed_ > 0)
        report += LineBreak + NumText(failed_) + QStringLiteral(" files could not be copied");
    prompts.message(report);
    return copied;
}

QString OverwritePairs::copyCaption(bool nextVersion)
{
    return nextVersion ? QStringLiteral("Copy Files marked Yes")
                       : QStringLiteral("OverWrite Files marked Yes");
}

QList<QStringList> OverwritePairs::rowCells() const
{
    QList<QStringList> rows;
    for (int row = 1; row < grid_.rows(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid_.cols(); ++col)
            cells << grid_.textMatrix(row, col);
        rows << cells;
    }
    return rows;
}

QStringList OverwritePairs::rowTexts() const
{
    QStringList rows;
    for (const QStringList& cells : rowCells())
        rows << cells.join(QLatin1Char('\t'));
    return rows;
}
