#pragma once

#include <QString>
#include <QStringList>
#include <vector>

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
    OverwritePairs& pairs; ///< emptied at the start; gets the conflicts
    /// Escape between files asks "cancel?": read from the presses delivered so far, so
    /// a window must return to its event loop between steps for a press to be seen.
    CancelKey* cancelKey = nullptr;
    CopyProgress* progress = nullptr;
};

struct CopyOutcome {
    int copied = 0;
    int failed = 0; ///< each one reported with its reason
    bool cancelled = false;
    /// Conflicts were found: the "OverWrite Existing Files" dialog decides them.
    [[nodiscard]] bool needsDialog(const CopyContext& context) const;
};

/// A copy of basket rows one file per step, so that a window can run it from its event
/// loop and stay answering. The rows are read when it is made: later changes of the
/// basket do not reach it. CopyBasketRows and StampCopyBasketRows run one to its end.
class BasketRowCopy {
public:
    enum class Naming { Own, Stamp };

    /// `context` must outlive the copy.
    BasketRowCopy(const Basket& basket, const QString& folder, int first, int last, Naming naming,
                  CopyContext& context);
    /// Copies the next file, or ends the copy (the last progress, the closing message).
    /// False once the copy has ended; outcome() is final then.
    bool step();
    [[nodiscard]] const CopyOutcome& outcome() const { return outcome_; }

private:
    struct Row {
        QString path;
        QString shown;
        qint64 size = 0;
    };
    [[nodiscard]] QString destinationOf(const Row& row, int number) const;
    void copyRow(const Row& row);
    void end();

    CopyContext& context_;
    QString target_;
    Naming naming_;
    std::vector<Row> rows_;
    qint64 bytesTotal_ = 0;
    qint64 bytesDone_ = 0;
    size_t next_ = 0;
    bool ended_ = false;
    CopyOutcome outcome_;
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

/// A copy of files dropped on the folder tree into one folder, one file per step (each
/// as CopyOneFile), so that a window can run it from its event loop. The conflicts are
/// left in context.pairs.
class DroppedFilesCopy {
public:
    /// `context` must outlive the copy; its pairs are emptied now.
    DroppedFilesCopy(QStringList sources, const QString& folder, bool nextVersionOnOverwrite,
                     CopyContext& context);
    /// After the cancel check, copies the next file; false once the copy has ended.
    bool step();
    [[nodiscard]] int copied() const { return copied_; }
    [[nodiscard]] bool cancelled() const { return cancelled_; }

private:
    CopyContext& context_;
    QStringList sources_;
    QString folder_;
    bool nextVersion_;
    qsizetype next_ = 0;
    int copied_ = 0;
    bool cancelled_ = false;
};

/// "error copying:" with both paths and the system's reason.
void ReportCopyError(Prompts& prompts, const QString& source, const QString& destination,
                     const QString& reason);

/// The copy of one file of the file list into `folder` ("Copy one file to:" and a file
/// dropped on the folder tree): "cannot copy to itself" onto itself; over an existing
/// file, the next version name when `nextVersionOnOverwrite`, else only after a Yes to
/// "Overwrite ?"; then "copied: " and both paths. True when copied.
bool CopySingleFile(const QString& source, const QString& folder, bool nextVersionOnOverwrite,
                    Prompts& prompts);
