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
QString copyName(const Basket& basket, int row)
{
    const QString shown = basket.shown(row);
    const qsizetype bar = shown.lastIndexOf(u'|');
    if (bar >= 0)
        return NameAfterLastBackslash(shown.mid(bar + 1));
    return NameAfterLastBackslash(basket.path(row));
}

using DestinationOf = std::function<QString(int row, int number)>;

CopyOutcome copyRows(const Basket& basket, const QString& folder, int first, int last,
                     CopyContext& context, const DestinationOf& destinationOf)
{
    CopyOutcome outcome;
    context.pairs.clear();
    const QString target = WithSlash(folder);
    first = qMax(first, 1);
    last = qMin(last, basket.grid().rows() - 1);
    const int total = qMax(0, last - first + 1);
    qint64 bytesTotal = 0;
    for (int row = first; row <= last; ++row)
        bytesTotal += basket.grid().textMatrix(row, Basket::SizeColumn).toLongLong();
    qint64 bytesDone = 0;
    int number = 0;
    for (int row = first; row <= last; ++row) {
        if (context.progress &&
            !context.progress->update(row - first, total, bytesDone, bytesTotal)) {
            outcome.cancelled = true;
            break;
        }
        if (context.cancelKey && EscapePressed(*context.cancelKey, context.prompts)) {
            outcome.cancelled = true;
            break;
        }
        const QString source = basket.path(row);
        const QString destination = target + destinationOf(row, ++number);
        if (source.compare(destination, Qt::CaseInsensitive) == 0) {
            context.prompts.message(
                QStringLiteral("source and destination files are same, copying ignored"));
            continue;
        }
        if (FileLenOrZero(destination) > 0) {
            context.pairs.addConflict(destination, source);
            continue;
        }
        QString why;
        if (CopyFileSafely(
                source, destination, [&bytesDone](qint64 n) { bytesDone += n; }, &why)) {
            ++outcome.copied;
        } else {
            ++outcome.failed;
            ReportCopyError(context.prompts, source, destination, why);
        }
    }
    if (context.progress) {
        if (!outcome.cancelled)
            context.progress->update(total, total, bytesDone, bytesTotal);
        context.progress->finish();
    }
    if (!context.pairs.hasPairs() && outcome.copied > 0)
        context.prompts.message(NumText(outcome.copied) + QStringLiteral(" files copied to:") +
                                LineBreak + target);
    return outcome;
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

CopyOutcome CopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                           CopyContext& context)
{
    return copyRows(basket, folder, first, last, context,
                    [&basket](int row, int) { return copyName(basket, row); });
}

CopyOutcome StampCopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                                CopyContext& context)
{
    return copyRows(basket, folder, first, last, context, [&basket](int row, int number) {
        return StampCopyName(basket.path(row), number);
    });
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
