// "Find Text": the browser's find bar for web pages, the "Find" dialog for the text
// views and the grid.
#include "controls/gui/GridView.h"
#include "view/text/gui/SearForm.h"
#include "view/text/gui/WebFindBar.h"
#include "view/window/gui/ViewWindow.h"

#include <QTextEdit>
#include <QWebEngineView>

SearForm* ViewWindow::searForm()
{
    if (!searForm_)
        searForm_ = new SearForm(
            *textBox_, grid_->grid(), [this](int row, int col) { grid_->showCell(row, col); },
            prompts_, this);
    return searForm_;
}

void ViewWindow::FindText()
{
    SearForm* form = searForm();
    form->state().resetGrid();
    if (browser_ && browser_->isVisible() && viewMode_ == ViewMode::Web) {
        if (!webFind_)
            webFind_ = new WebFindBar(*browser_);
        browser_->setFocus();
        webFind_->open();
        return;
    }
    if (viewMode_ == ViewMode::Picture)
        return;
    // The grid is shown over the text view, which stays visible beneath it. A size table
    // leaves the view mode empty (it shows no file) and is searched all the same.
    if (grid_->isVisible()) {
        form->searchesGrid = true;
    } else if (viewMode_ != ViewMode::None && textBox_->isVisible()) {
        form->searchesGrid = false; // a dialog last used on the grid searches the text again
    } else {
        return;
    }
    form->show();
    form->raise();
    form->activateWindow();
}
