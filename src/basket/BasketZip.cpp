#include "basket/BasketZip.h"

#include "archive/ZipJob.h"
#include "basket/Basket.h"
#include "platform/CancelKey.h"
#include "platform/FileAccess.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {

void prepare(ZipJob& zip, const QString& zipPath)
{
    zip.ZipFile = zipPath;
    zip.StoreFolderNames = false;
    zip.RecurseSubDirs = false;
    zip.ClearFileSpecs();
}

} // namespace

QString ZipReportText(int files, const QString& zipPath, qint64 sourceBytes, qint64 zipBytes)
{
    const double percent = sourceBytes > 0 ? 100.0 * double(zipBytes) / double(sourceBytes) : 0;
    QString percentText = QString::number(percent, 'f', 1);
    if (percentText.startsWith(QLatin1String("0.")))
        percentText.remove(0, 1); // "##.#" writes no leading zero
    return NumText(files) + QStringLiteral(" files zipped to:") + LineBreak + zipPath + LineBreak +
           LineBreak + QStringLiteral("total source =\t") + SizeText(double(sourceBytes)) +
           LineBreak + QStringLiteral("total zipped =\t") + SizeText(double(zipBytes)) +
           QStringLiteral(" (") + percentText + QStringLiteral("% of source)");
}

ZipOutcome ZipBasketRows(const Basket& basket, const QString& zipPath, int first, int last,
                         Prompts& prompts, CancelKey* cancelKey)
{
    basket.host().setViewPath(QStringLiteral("Zipping files..."));
    ZipJob zip;
    prepare(zip, zipPath);
    first = qMax(first, 1);
    last = qMin(last, basket.grid().rows() - 1);
    qint64 total = 0;
    for (int row = first; row <= last; ++row) {
        if (cancelKey && EscapePressed(*cancelKey, prompts)) {
            basket.host().setViewPath(QString());
            return ZipOutcome::Cancelled;
        }
        zip.AddFileSpec(basket.path(row));
        total += FileLenOrZero(basket.path(row));
    }
    if (total == 0) {
        basket.host().setViewPath(QString());
        prompts.message(QStringLiteral("nothing to zip"));
        return ZipOutcome::NothingToZip;
    }
    bool cancelled = false;
    if (cancelKey)
        zip.Cancel = [cancelKey, &prompts, &cancelled] {
            cancelled = EscapePressed(*cancelKey, prompts);
            return cancelled;
        };
    const bool zipped = zip.Zip();
    basket.host().setViewPath(QString());
    if (cancelled) // the user's own choice: nothing was written, nothing to explain
        return ZipOutcome::Cancelled;
    if (zipped) {
        prompts.message(ZipReportText(last - first + 1, zipPath, total, FileLenOrZero(zipPath)));
        return ZipOutcome::Zipped;
    }
    if (zip.LastError == ZipJob::DuplicateNamesText)
        prompts.message(zipPath + QStringLiteral(" was not created.") + LineBreak + LineBreak +
                        QStringLiteral("There may be duplicate file names in the Table.") +
                        LineBreak + QStringLiteral("Use 'Store paths' option."));
    else
        prompts.message(zipPath + QStringLiteral(" was not created.") + LineBreak + zip.LastError);
    return ZipOutcome::NotCreated;
}

bool ZipOneFile(const QString& file, const QString& zipPath, QString* error)
{
    ZipJob zip;
    prepare(zip, zipPath);
    zip.AddFileSpec(file);
    const QString problem = platform::fileReadProblem(file);
    const bool zipped = problem.isEmpty() && zip.Zip();
    if (!zipped && error)
        *error = problem.isEmpty() ? zip.LastError : file + QStringLiteral(": ") + problem;
    return zipped;
}

bool ZipOneFileReported(const QString& file, const QString& zipPath, Prompts& prompts)
{
    QString why;
    const bool zipped = ZipOneFile(file, zipPath, &why);
    if (zipped)
        prompts.message(file + LineBreak + QStringLiteral("zipped to:") + LineBreak + zipPath);
    else
        prompts.message(zipPath + QStringLiteral(" was not created.") + LineBreak + why);
    return zipped;
}
