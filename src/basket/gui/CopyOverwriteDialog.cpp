#include "basket/gui/CopyOverwriteDialog.h"

#include "basket/OverwritePairs.h"
#include "controls/gui/GridView.h"
#include "controls/gui/WindowGuards.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

CopyOverwriteDialog::CopyOverwriteDialog(OverwritePairs& pairs, Prompts& prompts, QWidget* parent)
    : QDialog(parent), pairs_(pairs), prompts_(prompts)
{
    setObjectName(QStringLiteral("CopyOverwrite"));
    setWindowTitle(QStringLiteral("OverWrite Existing Files"));
    build();
    resize(820, 320);
}

void CopyOverwriteDialog::build()
{
    auto* layout = new QVBoxLayout(this);
    model_ = new GridModel(pairs_.grid(), this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("OverwriteGrid"));
    grid_->setModel(model_);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() != OverwritePairs::AnswerColumn)
            return;
        pairs_.toggle(index.row());
        refresh();
    });
    layout->addWidget(grid_, 1);

    auto* buttons = new QHBoxLayout;
    flip_ = new QPushButton(QStringLiteral("Flip all YES/NO"), this);
    flip_->setObjectName(QStringLiteral("Clear"));
    copy_ = new QPushButton(OverwritePairs::copyCaption(false), this);
    copy_->setObjectName(QStringLiteral("Copy"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    options_ = new QPushButton(QStringLiteral("Options"), this);
    options_->setObjectName(QStringLiteral("Command1"));
    for (QPushButton* b : {flip_, copy_, cancel_, options_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    optionFrame_ = new QFrame(this);
    optionFrame_->setObjectName(QStringLiteral("CMDFrame"));
    optionFrame_->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QHBoxLayout(optionFrame_);
    nextVersion_ = new QCheckBox(QStringLiteral("Use next version of a file"), optionFrame_);
    nextVersion_->setObjectName(QStringLiteral("Check1"));
    frameLayout->addWidget(nextVersion_);
    frameLayout->addStretch(1);
    optionFrame_->hide();
    layout->addWidget(optionFrame_);

    connect(flip_, &QPushButton::clicked, this, [this] {
        pairs_.flipAll();
        refresh();
    });
    connect(copy_, &QPushButton::clicked, this, [this] { copyMarked(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(options_, &QPushButton::clicked, this, [this] { optionFrame_->show(); });
    connect(nextVersion_, &QCheckBox::toggled, this,
            [this](bool on) { copy_->setText(OverwritePairs::copyCaption(on)); });
}

void CopyOverwriteDialog::refresh()
{
    model_->refresh();
    const int widths[] = {50, 90, 110, 200};
    for (int col = 0; col < 4; ++col)
        grid_->setColumnWidth(col, widths[col]);
}

int CopyOverwriteDialog::copyMarked()
{
    const bool anything = pairs_.anyYes();
    int copied = 0;
    {
        BusyPointer busy;
        copied = pairs_.copyMarked(nextVersion_->isChecked(), prompts_);
    }
    if (anything)
        accept();
    return copied;
}
