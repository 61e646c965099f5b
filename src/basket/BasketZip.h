#pragma once

#include <QString>

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

/// Zips rows `first`..`last` (file names only, no folders) into `zipPath` and reports
/// the outcome. `cancelKey` may be null.
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
