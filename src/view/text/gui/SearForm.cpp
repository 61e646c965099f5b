#include "view/text/gui/SearForm.h"

#include "controls/Grid.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

SearForm::SearForm(QTextEdit& text, Grid& grid, std::function<void(int row, int col)> showCell,
                   Prompts& prompts, QWidget* parent)
    : QDialog(parent), textView_(text), grid_(grid), showCell_(std::move(showCell)),
      prompts_(prompts)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    auto* label = new QLabel(QStringLiteral("Find what:"), this);
    findWhat_ = new QLineEdit(this);
    label->setBuddy(findWhat_);
    wholeWords_ = new QCheckBox(QStringLiteral("Match whole words only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match case"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    // Both searches run forward; the buttons are there as the dialog has always had them.
    up_ = new QRadioButton(QStringLiteral("Up"), direction);
    down_ = new QRadioButton(QStringLiteral("Down"), direction);
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);
    auto* findNext = new QPushButton(QStringLiteral("Find next"), this);
    findNext->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(findWhat_, 0, 1);
    layout->addWidget(findNext, 0, 2);
    layout->addWidget(wholeWords_, 1, 0, 1, 2);
    layout->addWidget(cancel, 1, 2);
    layout->addWidget(matchCase_, 2, 0);
    layout->addWidget(direction, 2, 1);

    connect(findNext, &QPushButton::clicked, this, &SearForm::FindNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void SearForm::FindNext()
{
    if (searchesGrid)
        findInGrid();
    else
        findInText();
}

void SearForm::findInText()
{
    const qsizetype at = FindNextInText(textView_.toPlainText(), findWhat_->text(), state_,
                                        wholeWords_->isChecked(), matchCase_->isChecked());
    if (at < 0) {
        prompts_.message(QStringLiteral("text not found"));
        return;
    }
    QTextCursor cursor(textView_.document());
    cursor.setPosition(int(at));
    cursor.setPosition(int(state_.textStart), QTextCursor::KeepAnchor);
    textView_.setTextCursor(cursor);
    textView_.ensureCursorVisible();
    textView_.setFocus();
}

void SearForm::findInGrid()
{
    if (!FindNextInGrid(grid_, findWhat_->text(), state_)) {
        prompts_.message(QStringLiteral("text not found"));
        return;
    }
    showCell_(state_.gridRow, state_.gridCol);
}
