#pragma once

#include <QDialog>

class GridModel;
class OverwritePairs;
class Prompts;
class QCheckBox;
class QFrame;
class QPushButton;
class QTableView;

/// "OverWrite Existing Files": the conflicts of a copy, two rows each (destination, then
/// source). A click on the answer column toggles a pair; "Flip all YES/NO" turns every
/// answer; the copy button copies the pairs marked Yes, over the old file or, with "Use
/// next version of a file", to its next version name beside it.
class CopyOverwriteDialog : public QDialog {
    Q_OBJECT
public:
    CopyOverwriteDialog(OverwritePairs& pairs, Prompts& prompts, QWidget* parent = nullptr);

    /// Shows the pairs as they stand now.
    void refresh();

    // The controls, for the window's own use and for tests.
    [[nodiscard]] QTableView* overwriteGrid() const { return grid_; }
    [[nodiscard]] QPushButton* flipAllButton() const { return flip_; }
    [[nodiscard]] QPushButton* copyButton() const { return copy_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }
    [[nodiscard]] QPushButton* optionsButton() const { return options_; }
    [[nodiscard]] QCheckBox* nextVersionBox() const { return nextVersion_; }

    /// The copy button: copies the marked pairs; closes the dialog when something was
    /// marked. Returns the number copied.
    int copyMarked();

private:
    void build();

    OverwritePairs& pairs_;
    Prompts& prompts_;
    GridModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QPushButton* flip_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* options_ = nullptr;
    QFrame* optionFrame_ = nullptr;
    QCheckBox* nextVersion_ = nullptr;
};
