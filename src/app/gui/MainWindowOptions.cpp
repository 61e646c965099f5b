// The options dialog as the main window opens it, and its changes shown at once.
#include "app/gui/MainWindow.h"
#include "controls/gui/HistoryListBox.h"
#include "options/gui/OptionsForm.h"
#include "platform/FileAccess.h"
#include "view/window/gui/ViewWindow.h"

void MainWindow::openOptions()
{
    settings_.settingsChanged = SettingsChange::AskAtExit;
    if (!optionsForm_) {
        // The new folder must exist or be made; it becomes the base of the next run's
        // working folder (this run keeps its own).
        const auto makeFolder = [](const QString& folder) { return platform::makeFolders(folder); };
        optionsForm_ = new OptionsForm(settings_, prompts_, makeFolder, this);
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
    folderHistoryBox_->Clear();
    if (viewWindow_)
        viewWindow_->ReloadFileHistory();
}
