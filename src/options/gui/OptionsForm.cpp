#include "options/gui/OptionsForm.h"

#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

OptionsForm::OptionsForm(Settings& settings, Prompts& prompts, FolderMaker makeFolder,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts), makeFolder_(std::move(makeFolder))
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("optionPages"));
    pages_->addTab(buildColourPage(), QStringLiteral("Colors"));
    pages_->addTab(buildFontPage(), QStringLiteral("Fonts"));
    pages_->addTab(buildOtherPage(), QStringLiteral("Other"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    loadFromSettings();
}

void OptionsForm::loadFromSettings()
{
    chooseColourTarget(colourTarget_);
    chooseFontTarget(fontTarget_);

    const OtherOptions o = OtherOptionsOf(settings_);
    unknownAsText_->setChecked(o.unknownAsText);
    extensionNames_->setChecked(o.extensionNames);
    showSystemHidden_->setChecked(o.showSystemHidden);
    nextVersion_->setChecked(o.nextVersionOnOverwrite);
    mouseOverFilter_->setChecked(o.mouseOverFilter);
    selectionModes_[size_t(o.selection)]->setChecked(true);
    tempFolder_->setText(o.tempFolder);
}

OtherOptions OptionsForm::otherOptionsShown() const
{
    OtherOptions o;
    o.unknownAsText = unknownAsText_->isChecked();
    o.extensionNames = extensionNames_->isChecked();
    o.showSystemHidden = showSystemHidden_->isChecked();
    o.nextVersionOnOverwrite = nextVersion_->isChecked();
    o.mouseOverFilter = mouseOverFilter_->isChecked();
    for (size_t i = 0; i < selectionModes_.size(); ++i) {
        if (selectionModes_[i]->isChecked())
            o.selection = SelectionMode(i);
    }
    o.tempFolder = tempFolder_->text();
    return o;
}

void OptionsForm::applyOtherOptions()
{
    const OtherOptions shown = otherOptionsShown();
    StoreOtherOptions(settings_, shown);
    Q_EMIT optionsApplied();
    const TempFolderCheck check = CheckTempFolder(shown.tempFolder, makeFolder_);
    if (!check.ok()) {
        prompts_.message(check.message);
        return;
    }
    settings_.tempFolder = check.folder;
    tempFolder_->setText(check.folder);
    close();
}

void OptionsForm::clearHistories()
{
    if (!prompts_.askYesNo(QStringLiteral("clear file and folder histories?")))
        return;
    settings_.fileHistory.clear();
    settings_.folderHistory.clear();
    Q_EMIT historiesCleared();
}
