#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Basket;
class CancelKey;
class Prompts;

/// How a zip of basket rows ended.
enum class ZipOutcome {
    Zipped,       ///< the zip file exists: " n files zipped to:" with the sizes
    NothingToZip, ///< the rows' files hold no bytes at all
    NotCreated,   ///< nothing was written (duplicate names, errors): reported with the reason
    Cancelled     ///< Escape and Yes while gathering: nothing is written
};

/// The files of basket rows `first`..`last` to zip into `zipPath`, read from the basket
/// on the window's thread so that the zip itself can run on another.
struct BasketZipRequest {
    QString zipPath;
    QStringList files;
};
[[nodiscard]] BasketZipRequest BasketZipFiles(const Basket& basket, const QString& zipPath,
                                              int first, int last);

/// What a zip of basket files came to.
struct BasketZipResult {
    ZipOutcome outcome = ZipOutcome::NotCreated;
    qint64 sourceBytes = 0;
    qint64 zipBytes = 0;
    QString error; ///< why it was not created
};

/// Zips the request's files (names only, no folders); touches no window and asks
/// nothing, so it may run on any thread. `cancelled` is asked before each file is
/// counted and between the files written; true abandons the zip with nothing written.
[[nodiscard]] BasketZipResult ZipBasketFiles(const BasketZipRequest& request,
                                             const std::function<bool()>& cancelled);

/// Tells the user how a zip ended: the report, "nothing to zip" or "was not created"
/// with the reason; nothing for a cancelled zip (the user's own choice).
void ReportBasketZip(const BasketZipRequest& request, const BasketZipResult& result,
                     Prompts& prompts);

/// Zips rows `first`..`last` (file names only, no folders) into `zipPath` and reports
/// the outcome, all in one call. Escape is read from the presses delivered so far;
/// `cancelKey` may be null.
ZipOutcome ZipBasketRows(const Basket& basket, const QString& zipPath, int first, int last,
                         Prompts& prompts, CancelKey* cancelKey);

/// The report of a zip that exists: count, path, total source and zipped sizes.
[[nodiscard]] QString ZipReportText(int files, const QString& zipPath, qint64 sourceBytes,
                                    qint64 zipBytes);

/// Zips one file (its name only) into `zipPath`; true when it was written, else `error`
/// (when given) holds the reason. The caller reports file + "zipped to:" + zip path.
bool ZipOneFile(const QString& file, const QString& zipPath, QString* error = nullptr);

/// "Zip one file to:": zips it and says file + "zipped to:" + zip path, or zip path +
/// " was not created." with the reason. True when written.
bool ZipOneFileReported(const QString& file, const QString& zipPath, Prompts& prompts);
