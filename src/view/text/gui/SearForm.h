#pragma once

#include "view/text/TextSearch.h"

#include <QDialog>
#include <functional>

class Grid;
class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

/// The "Find" dialog of the view window: searches the text view forward from the last
/// hit, or the table grid cell by cell while searchesGrid is set. Not modal.
class SearForm : public QDialog {
    Q_OBJECT
public:
    /// `showCell` shows a hit in the grid's view (selected, in focus, scrolled to it).
    SearForm(QTextEdit& text, Grid& grid, std::function<void(int row, int col)> showCell,
             Prompts& prompts, QWidget* parent);

    /// True while it searches the grid, else it searches the text.
    bool searchesGrid = false;
    [[nodiscard]] TextSearchState& state() { return state_; }

    /// The text to find (`Text1`).
    [[nodiscard]] QLineEdit* findWhat() const { return findWhat_; }
    [[nodiscard]] QCheckBox* wholeWords() const { return wholeWords_; }
    [[nodiscard]] QCheckBox* matchCase() const { return matchCase_; }

    /// "Find next": one search step; "text not found" when there is no further hit.
    void FindNext();

private:
    void findInText();
    void findInGrid();

    QTextEdit& textView_;
    Grid& grid_;
    std::function<void(int row, int col)> showCell_;
    Prompts& prompts_;
    TextSearchState state_;
    QLineEdit* findWhat_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
};
