// The "View" and "Window" menus of the view window and the commands behind them.
#include "controls/gui/GridView.h"
#include "platform/Prompts.h"
#include "platform/gui/Clipboard.h"
#include "shared/Settings.h"
#include "view/report/TreeToText.h"
#include "view/window/gui/ViewWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QWebEngineView>

namespace {
const QString PasteHint = QStringLiteral("copied to clipboard, use CTRL-V to paste");
}

void ViewWindow::buildMenus()
{
    const auto add = [](QMenu* menu, const QString& caption, bool enabled) {
        QAction* action = menu->addAction(caption);
        action->setEnabled(enabled);
        return action;
    };
    // Items of features that are not here yet stay visible but disabled.
    QMenu* view = menuBar()->addMenu(QStringLiteral("View"));
    menuItems_[ViewMenuItem::RotateLeft] = add(view, QStringLiteral("Rotate left"), false);
    menuItems_[ViewMenuItem::RotateRight] = add(view, QStringLiteral("Rotate right"), false);
    connect(add(view, QStringLiteral("System Information"), true), &QAction::triggered, this,
            &ViewWindow::ShowSystemInfo);
    QAction* options = add(view, QStringLiteral("Options"), true);
    menuItems_[ViewMenuItem::Options] = options;
    connect(options, &QAction::triggered, this, &ViewWindow::optionsWanted);
    view->addSeparator();
    QAction* sizeBar = add(view, QStringLiteral("Show size bar"), false);
    sizeBar->setCheckable(true);
    menuItems_[ViewMenuItem::ShowSizeBar] = sizeBar;
    connect(sizeBar, &QAction::triggered, this, &ViewWindow::sizeBarsWanted);
    QAction* findText = add(view, QStringLiteral("Find Text"), true);
    findText->setShortcut(QKeySequence::Find);
    connect(findText, &QAction::triggered, this, &ViewWindow::FindText);
    QAction* copy = add(view, QStringLiteral("Copy"), true);
    menuItems_[ViewMenuItem::Copy] = copy;
    connect(copy, &QAction::triggered, this, &ViewWindow::Copy);
    view->addSeparator();
    QAction* cancel = add(view, QStringLiteral("Cancel"), true);
    menuItems_[ViewMenuItem::Cancel] = cancel;
    connect(cancel, &QAction::triggered, this, &ViewWindow::CancelView);

    QMenu* window = menuBar()->addMenu(QStringLiteral("Window"));
    connect(add(window, QStringLiteral("Normal"), true), &QAction::triggered, this,
            &ViewWindow::Normal);
    connect(add(window, QStringLiteral("Maximise"), true), &QAction::triggered, this,
            &ViewWindow::Maximise);
    window->addSeparator();
    window->addAction(QStringLiteral("Cancel")); // only closes the menu
}

void ViewWindow::Copy()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (viewMode_ == ViewMode::Thumbnails || thumbPage_ == ThumbPage::Pictures) {
        prompts_.message(QStringLiteral("right-click on picture to copy"));
    } else if (viewMode_ == ViewMode::Picture) {
        clipboard->setImage(shownPicture_);
        prompts_.message(shownPictureName_ + LineBreak +
                         QStringLiteral("copied, use CTRL-V to paste"));
    } else if (viewMode_ == ViewMode::SystemInfo) {
        platform::copyTextToClipboard(TreeToText(tree_));
        prompts_.message(QStringLiteral("information tree ") + PasteHint);
    } else if (!grid_->isHidden()) {
        grid_->copySelection();
        prompts_.message(QStringLiteral("grid ") + PasteHint);
    } else if (!basketGrid_->isHidden()) {
        basketGrid_->copyAll();
        prompts_.message(QStringLiteral("grid ") + PasteHint);
    } else {
        platform::copyTextToClipboard(textBox_->textCursor().selection().toPlainText());
        prompts_.message(PasteHint);
    }
}

void ViewWindow::Normal()
{
    showNormal();
}

void ViewWindow::Maximise()
{
    showMaximized();
    LayoutView();
}

void ViewWindow::CancelView()
{
    if (browser_)
        browser_->stop();
    stopMedia();
}

void ViewWindow::GoBack()
{
    stopMedia();
    if (!browser_)
        return;
    browser_->back();
    // Focus returns to the view that was shown.
    if (!browser_->isHidden())
        browser_->setFocus();
    else if (!textBox_->isHidden())
        textBox_->setFocus();
}
