#include "basket/OverwritePairs.h"

#include "basket/Basket.h"
#include "basket/FileCopy.h"
#include "basket/NextVersionName.h"
#include "platform/Attributes.h"
#include "platform/Prompts.h"
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
    for (int row = 1; row + 1 < grid_.rows(); row += 2) {
        if (grid_.textMatrix(row, AnswerColumn) != Yes)
            continue;
        const QString destination = grid_.textMatrix(row, PathColumn);
        const QString source = grid_.textMatrix(row + 1, PathColumn);
        if (nextVersion) {
            const QString version = NextVersionName(QString(), destination);
            if (!version.isEmpty() && CopyFileSafely(source, version))
                ++copied;
            continue;
        }
        // A read-only destination goes too; the copy replaces it only once it is whole.
        (void)platform::setOwnerWritable(destination, true);
        if (CopyFileSafely(source, destination))
            ++copied;
    }
    prompts.message(copied == 0 ? QStringLiteral("no files copied")
                                : NumText(copied) + QStringLiteral(" files copied"));
    return copied;
}

QString OverwritePairs::copyCaption(bool nextVersion)
{
    return nextVersion ? QStringLiteral("Copy Files marked Yes")
                       : QStringLiteral("OverWrite Files marked Yes");
}

QStringList OverwritePairs::rowTexts() const
{
    QStringList rows;
    for (int row = 1; row < grid_.rows(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid_.cols(); ++col)
            cells << grid_.textMatrix(row, col);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
}
