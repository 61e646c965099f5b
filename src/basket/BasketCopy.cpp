#include "basket/BasketCopy.h"

#include "basket/Basket.h"
#include "basket/FileCopy.h"
#include "basket/NextVersionName.h"
#include "basket/OverwritePairs.h"
#include "platform/CancelKey.h"
#include "platform/FileAccess.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/FileInfo.h"

#include <functional>

namespace {

/// Destination file name of a row for a plain copy: the path's name, or for an archive
/// entry (a shown name holding the entry's own "/" after the "|") the entry's name.
QString copyName(const QString& path, const QString& shown)
{
    const qsizetype bar = shown.lastIndexOf(u'|');
    if (bar >= 0)
        return NameAfterLastBackslash(shown.mid(bar + 1));
    return NameAfterLastBackslash(path);
}

CopyOutcome runToEnd(BasketRowCopy& copy)
{
    while (copy.step()) {
    }
    return copy.outcome();
}

} // namespace

bool CopyOutcome::needsDialog(const CopyContext& context) const
{
    return context.pairs.hasPairs();
}

void ReportCopyError(Prompts& prompts, const QString& source, const QString& destination,
                     const QString& reason)
{
    prompts.message(QStringLiteral("error copying:") + LineBreak + source + LineBreak +
                    QStringLiteral("TO") + LineBreak + destination + LineBreak + reason);
}

QString StampCopyName(const QString& source, int number)
{
    return TimestampName(source) + QLatin1Char('-') +
           QString::number(number).rightJustified(3, u'0') + ExtensionOf(source).trimmed();
}

BasketRowCopy::BasketRowCopy(const Basket& basket, const QString& folder, int first, int last,
                             Naming naming, CopyContext& context)
    : context_(context), target_(WithSlash(folder)), naming_(naming)
{
    context_.pairs.clear();
    first = qMax(first, 1);
    last = qMin(last, basket.grid().rows() - 1);
    for (int row = first; row <= last; ++row) {
        const qint64 size = basket.grid().textMatrix(row, Basket::SizeColumn).toLongLong();
        rows_.push_back({basket.path(row), basket.shown(row), size});
        bytesTotal_ += size;
    }
}

QString BasketRowCopy::destinationOf(const Row& row, int number) const
{
    return naming_ == Naming::Stamp ? StampCopyName(row.path, number)
                                    : copyName(row.path, row.shown);
}

bool BasketRowCopy::step()
{
    if (ended_)
        return false;
    const int total = int(rows_.size());
    if (next_ >= rows_.size()) {
        end();
        return false;
    }
    if (context_.progress &&
        !context_.progress->update(int(next_), total, bytesDone_, bytesTotal_)) {
        outcome_.cancelled = true;
        end();
        return false;
    }
    if (context_.cancelKey && EscapeDelivered(*context_.cancelKey, context_.prompts)) {
        outcome_.cancelled = true;
        end();
        return false;
    }
    copyRow(rows_[next_]);
    ++next_;
    return true;
}

void BasketRowCopy::copyRow(const Row& row)
{
    const QString destination = target_ + destinationOf(row, int(next_) + 1);
    if (row.path.compare(destination, Qt::CaseInsensitive) == 0) {
        context_.prompts.message(
            QStringLiteral("source and destination files are same, copying ignored"));
        return;
    }
    if (FileLenOrZero(destination) > 0) {
        context_.pairs.addConflict(destination, row.path);
        return;
    }
    QString why;
    if (CopyFileSafely(
            row.path, destination, [this](qint64 n) { bytesDone_ += n; }, &why)) {
        ++outcome_.copied;
    } else {
        ++outcome_.failed;
        ReportCopyError(context_.prompts, row.path, destination, why);
    }
}

void BasketRowCopy::end()
{
    ended_ = true;
    const int total = int(rows_.size());
    if (context_.progress) {
        if (!outcome_.cancelled)
            context_.progress->update(total, total, bytesDone_, bytesTotal_);
        context_.progress->finish();
    }
    if (!context_.pairs.hasPairs() && outcome_.copied > 0)
        context_.prompts.message(NumText(outcome_.copied) + QStringLiteral(" files copied to:") +
                                 LineBreak + target_);
}

CopyOutcome CopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                           CopyContext& context)
{
    BasketRowCopy copy(basket, folder, first, last, BasketRowCopy::Naming::Own, context);
    return runToEnd(copy);
}

CopyOutcome StampCopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                                CopyContext& context)
{
    BasketRowCopy copy(basket, folder, first, last, BasketRowCopy::Naming::Stamp, context);
    return runToEnd(copy);
}

bool CopyOneFile(const QString& source, const QString& folder, const QString& name,
                 bool nextVersionOnOverwrite, CopyContext& context)
{
    const QString target = WithSlash(folder);
    QString destinationName = name;
    if (FileLenOrZero(target + name) > 0) {
        if (!nextVersionOnOverwrite) {
            context.pairs.addConflict(target + name, source);
            return false;
        }
        destinationName = NextVersionName(target, name);
        if (destinationName.isEmpty()) {
            context.prompts.message(QStringLiteral("no free version name left for:") + LineBreak +
                                    target + name);
            return false;
        }
    }
    QString why;
    if (CopyFileSafely(source, target + destinationName, {}, &why))
        return true;
    ReportCopyError(context.prompts, source, target + destinationName, why);
    return false;
}

DroppedFilesCopy::DroppedFilesCopy(QStringList sources, const QString& folder,
                                   bool nextVersionOnOverwrite, CopyContext& context)
    : context_(context), sources_(std::move(sources)), folder_(folder),
      nextVersion_(nextVersionOnOverwrite)
{
    context_.pairs.clear();
}

bool DroppedFilesCopy::step()
{
    if (cancelled_ || next_ >= sources_.size())
        return false;
    if (context_.cancelKey && EscapeDelivered(*context_.cancelKey, context_.prompts)) {
        cancelled_ = true;
        return false;
    }
    const QString& source = sources_[next_++];
    if (CopyOneFile(source, folder_, NameAfterLastBackslash(source), nextVersion_, context_))
        ++copied_;
    return next_ < sources_.size();
}

namespace {

QString describe(const QString& path)
{
    return path + LineBreak + DateTimeText(path, 1) + QStringLiteral(", Last Updated - ") +
           SizeText(double(FileLenOrZero(path)));
}

} // namespace

bool CopySingleFile(const QString& source, const QString& folder, bool nextVersionOnOverwrite,
                    Prompts& prompts)
{
    const QString target = WithSlash(folder);
    QString destination = target + NameAfterLastBackslash(source);
    if (destination.compare(source, Qt::CaseInsensitive) == 0) {
        prompts.message(QStringLiteral("cannot copy to itself"));
        return false;
    }
    if (platform::pathExists(destination)) {
        if (nextVersionOnOverwrite) {
            const QString version = NextVersionName(target, NameAfterLastBackslash(source));
            if (version.isEmpty()) {
                prompts.message(QStringLiteral("no free version name left for:") + LineBreak +
                                destination);
                return false;
            }
            destination = target + version;
        } else if (!prompts.askYesNo(describe(destination) + LineBreak + LineBreak +
                                     QStringLiteral("Overwrite ?") + LineBreak + LineBreak +
                                     QStringLiteral("With") + LineBreak + LineBreak +
                                     describe(source))) {
            return false;
        }
    }
    // A read-only destination is replaced by the rename; nothing there is changed first,
    // since a link there could point at a file outside the folder.
    QString why;
    if (!CopyFileSafely(source, destination, {}, &why)) {
        ReportCopyError(prompts, source, destination, why);
        return false;
    }
    prompts.message(QStringLiteral("copied: ") + source + LineBreak + QStringLiteral("to: ") +
                    destination);
    return true;
}
