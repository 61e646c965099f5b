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

BasketZipRequest BasketZipFiles(const Basket& basket, const QString& zipPath, int first, int last)
{
    BasketZipRequest request{zipPath, {}};
    first = qMax(first, 1);
    last = qMin(last, basket.grid().rows() - 1);
    for (int row = first; row <= last; ++row)
        request.files << basket.path(row);
    return request;
}

BasketZipResult ZipBasketFiles(const BasketZipRequest& request,
                               const std::function<bool()>& cancelled)
{
    BasketZipResult result;
    ZipJob zip;
    prepare(zip, request.zipPath);
    for (const QString& file : request.files) {
        if (cancelled && cancelled()) {
            result.outcome = ZipOutcome::Cancelled;
            return result;
        }
        zip.AddFileSpec(file);
        result.sourceBytes += FileLenOrZero(file);
    }
    if (result.sourceBytes == 0) {
        result.outcome = ZipOutcome::NothingToZip;
        return result;
    }
    bool stopped = false;
    if (cancelled)
        zip.Cancel = [&cancelled, &stopped] { return stopped = cancelled(); };
    const bool zipped = zip.Zip();
    if (stopped) {
        result.outcome = ZipOutcome::Cancelled;
    } else if (zipped) {
        result.outcome = ZipOutcome::Zipped;
        result.zipBytes = FileLenOrZero(request.zipPath);
    } else {
        result.error = zip.LastError;
    }
    return result;
}

void ReportBasketZip(const BasketZipRequest& request, const BasketZipResult& result,
                     Prompts& prompts)
{
    const QString& zipPath = request.zipPath;
    switch (result.outcome) {
    case ZipOutcome::Cancelled:
        return;
    case ZipOutcome::NothingToZip:
        prompts.message(QStringLiteral("nothing to zip"));
        return;
    case ZipOutcome::Zipped:
        prompts.message(
            ZipReportText(int(request.files.size()), zipPath, result.sourceBytes, result.zipBytes));
        return;
    case ZipOutcome::NotCreated:
        break;
    }
    if (result.error == ZipJob::DuplicateNamesText)
        prompts.message(zipPath + QStringLiteral(" was not created.") + LineBreak + LineBreak +
                        QStringLiteral("There may be duplicate file names in the Table.") +
                        LineBreak + QStringLiteral("Use 'Store paths' option."));
    else
        prompts.message(zipPath + QStringLiteral(" was not created.") + LineBreak + result.error);
}

ZipOutcome ZipBasketRows(const Basket& basket, const QString& zipPath, int first, int last,
                         Prompts& prompts, CancelKey* cancelKey)
{
    basket.host().setViewPath(QStringLiteral("Zipping files..."));
    const BasketZipRequest request = BasketZipFiles(basket, zipPath, first, last);
    std::function<bool()> cancelled;
    if (cancelKey)
        cancelled = [cancelKey, &prompts] { return EscapeDelivered(*cancelKey, prompts); };
    const BasketZipResult result = ZipBasketFiles(request, cancelled);
    basket.host().setViewPath(QString());
    ReportBasketZip(request, result, prompts);
    return result.outcome;
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
