#pragma once

#include "controls/Grid.h"

#include <QString>

class Prompts;

/// The conflicts of a copy, as the "OverWrite Existing Files" dialog shows them: two rows
/// per conflict (the existing destination, then the source), columns pair number,
/// "Yes"/"No", size text, last-updated text, full path. The dialog's buttons act here.
class OverwritePairs {
public:
    static inline const QString Format =
        QStringLiteral("<No   |OverWrite?|>Size              |>LastUpdated                  |Name "
                       "(destination,source)");
    enum Column {
        PairColumn = 0,
        AnswerColumn = 1,
        SizeColumn = 2,
        DateColumn = 3,
        PathColumn = 4
    };

    OverwritePairs();

    [[nodiscard]] Grid& grid() { return grid_; }
    [[nodiscard]] const Grid& grid() const { return grid_; }
    /// Back to the header row alone.
    void clear();
    [[nodiscard]] int pairCount() const { return (grid_.rows() - 1) / 2; }
    [[nodiscard]] bool hasPairs() const { return grid_.rows() > 1; }

    /// Appends one conflict, both rows "No" and numbered (rows / 2) + 1.
    void AddOverwritePair(const QString& destination, const QString& source,
                          const QString& destinationSize, const QString& destinationDate,
                          const QString& sourceSize, const QString& sourceDate);
    /// Records the conflict of copying `source` onto the existing `destination`.
    void addConflict(const QString& destination, const QString& source);

    /// A click on the answer column of `row`: toggles it and the other row of its pair.
    void toggle(int row);
    /// "Flip all YES/NO": every row "Yes" when row 1 reads "No", else every row "No".
    void flipAll();
    [[nodiscard]] bool anyYes() const;

    /// The "Copy" button: copies every pair marked Yes (source over destination, or to
    /// the destination's next version name when `nextVersion`), then reports "no files
    /// copied" or " n files copied"; "nothing marked Yes to copy" when none is marked.
    /// Returns the number copied; each failure is reported with its reason and counted
    /// in failedCount().
    int copyMarked(bool nextVersion, Prompts& prompts);
    /// The pairs the last copyMarked() could not copy.
    [[nodiscard]] int failedCount() const { return failed_; }

    /// The "Copy" button's caption for the state of "Use next version of a file".
    [[nodiscard]] static QString copyCaption(bool nextVersion);

    /// Every row below the header, its cells joined by TABs.
    [[nodiscard]] QStringList rowTexts() const;
    /// Every row below the header as its cells.
    [[nodiscard]] QList<QStringList> rowCells() const;

private:
    Grid grid_;
    int failed_ = 0;
};
