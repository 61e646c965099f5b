// The "Other" page of the options dialog.
#include "options/gui/OptionsForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QCheckBox* checkBox(const QString& caption, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

QWidget* OptionsForm::buildOtherPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    unknownAsText_ = checkBox(QStringLiteral("Treat unknown file type as a text file"),
                              "unknownAsTextCheck", page);
    extensionNames_ =
        checkBox(QStringLiteral("Use names for file extensions"), "extensionNamesCheck", page);
    showSystemHidden_ =
        checkBox(QStringLiteral("Show System and Hidden Files"), "showSystemHiddenCheck", page);
    nextVersion_ = checkBox(QStringLiteral("Use next file version number when over writing files"),
                            "nextVersionCheck", page);
    mouseOverFilter_ = checkBox(QStringLiteral("Show Filtered files when MouseOver a FilterTab"),
                                "mouseOverFilterCheck", page);
    for (QCheckBox* box :
         {unknownAsText_, extensionNames_, showSystemHidden_, nextVersion_, mouseOverFilter_})
        layout->addWidget(box);

    auto* selection = new QGroupBox(page);
    auto* selectionLayout = new QVBoxLayout(selection);
    auto* selectionGroup = new QButtonGroup(selection);
    const char* modeNames[] = {"noSelectionOption", "multiSelectOption", "singleClickOption"};
    const QString modeCaptions[] = {QStringLiteral("None above"),
                                    QStringLiteral("Multi-select files"),
                                    QStringLiteral("Single-click to view file")};
    for (size_t i = 0; i < selectionModes_.size(); ++i) {
        selectionModes_[i] = new QRadioButton(modeCaptions[i], selection);
        selectionModes_[i]->setObjectName(QLatin1String(modeNames[i]));
        selectionGroup->addButton(selectionModes_[i]);
        selectionLayout->addWidget(selectionModes_[i]);
    }
    layout->addWidget(selection);

    auto* tempBox = new QGroupBox(QStringLiteral("Temporary directory"), page);
    auto* tempLayout = new QVBoxLayout(tempBox);
    tempFolder_ = new QLineEdit(tempBox);
    tempFolder_->setObjectName(QStringLiteral("tempFolderText"));
    auto* note = new QLabel(TempFolderNote, tempBox);
    note->setWordWrap(true);
    tempLayout->addWidget(tempFolder_);
    tempLayout->addWidget(note);
    layout->addWidget(tempBox);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto* clear = new QPushButton(QStringLiteral("Clear File/Folder History"), page);
    clear->setObjectName(QStringLiteral("clearHistoryButton"));
    auto* apply = new QPushButton(QStringLiteral("Apply"), page);
    apply->setObjectName(QStringLiteral("applyOtherButton"));
    apply->setToolTip(QStringLiteral("Apply options and exit"));
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(apply);
    layout->addLayout(buttons);

    connect(clear, &QPushButton::clicked, this, &OptionsForm::clearHistories);
    connect(apply, &QPushButton::clicked, this, &OptionsForm::applyOtherOptions);
    return page;
}
