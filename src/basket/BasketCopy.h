#pragma once

#include <QString>

class Basket;
class CancelKey;
class OverwritePairs;
class Prompts;
struct Settings;

/// Hears how a long copy goes; the window shows it with a Cancel button.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    /// Called before each file and after it; false asks the copy to stop before the
    /// next file (what was copied stays).
    virtual bool update(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal) = 0;
    /// The copy ended.
    virtual void finish() {}
};

/// What a copy needs around it.
struct CopyContext {
    Prompts& prompts;
    OverwritePairs& pairs;          ///< emptied at the start; gets the conflicts
    CancelKey* cancelKey = nullptr; ///< Escape between files asks "cancel?"
    CopyProgress* progress = nullptr;
};

struct CopyOutcome {
    int copied = 0;
    int failed = 0; ///< each one reported with its reason
    bool cancelled = false;
    /// Conflicts were found: the "OverWrite Existing Files" dialog decides them.
    [[nodiscard]] bool needsDialog(const CopyContext& context) const;
};

/// Copies rows `first`..`last` of the basket into `folder` under their own names. An
/// existing non-empty destination is never replaced here: it becomes a pair in
/// context.pairs. Reports " n files copied to:" when there are no pairs.
CopyOutcome CopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                           CopyContext& context);

/// The same under time-stamp names: creation time stamp + "-" + running number "000"
/// + the extension.
CopyOutcome StampCopyBasketRows(const Basket& basket, const QString& folder, int first, int last,
                                CopyContext& context);

/// The destination name of a time-stamp copy.
[[nodiscard]] QString StampCopyName(const QString& source, int number);

/// Copies one file for the drops on the folder tree: an existing non-empty destination
/// gets the next version name when `nextVersionOnOverwrite`, else it becomes a pair and
/// nothing is copied. True when the file was copied.
bool CopyOneFile(const QString& source, const QString& folder, const QString& name,
                 bool nextVersionOnOverwrite, CopyContext& context);

/// "error copying:" with both paths and the system's reason.
void ReportCopyError(Prompts& prompts, const QString& source, const QString& destination,
                     const QString& reason);

/// The copy of one file of the file list into `folder` ("Copy one file to:" and a file
/// dropped on the folder tree): "cannot copy to itself" onto itself; over an existing
/// file, the next version name when `nextVersionOnOverwrite`, else only after a Yes to
/// "Overwrite ?"; then "copied: " and both paths. True when copied.
bool CopySingleFile(const QString& source, const QString& folder, bool nextVersionOnOverwrite,
                    Prompts& prompts);
