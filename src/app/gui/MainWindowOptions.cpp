// The options dialog as the main window opens it, and its changes shown at once.
#include "app/TempFolder.h"
#include "app/gui/MainWindow.h"
#include "options/gui/OptionsForm.h"
#include "view/gui/ViewWindow.h"

void MainWindow::openOptions()
{
    settings_.settingsChanged = 1;
    if (!optionsForm_) {
        optionsForm_ = new OptionsForm(settings_, prompts_, CreateTempFolder, this);
        optionsForm_->setWindowModality(Qt::ApplicationModal);
        connect(optionsForm_, &OptionsForm::optionsApplied, this, &MainWindow::applyOptions);
        connect(optionsForm_, &OptionsForm::historiesCleared, this, &MainWindow::clearHistories);
    }
    optionsForm_->loadFromSettings();
    optionsForm_->show();
    optionsForm_->raise();
    optionsForm_->activateWindow();
}

void MainWindow::applyOptions()
{
    applyFonts();
    applyColours();
    if (viewWindow_)
        viewWindow_->applyOptions();
}

void MainWindow::clearHistories()
{
    history_.clear();
    reloadFolderHistoryBox();
    if (viewWindow_)
        viewWindow_->ReloadFileHistory();
}
