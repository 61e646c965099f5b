#include "controls/gui/GridView.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/PageStack.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QGridLayout>

Grid& ViewWindow::beginTable()
{
    CloseView();
    grid_->hide();
    return grid_->grid();
}

void ViewWindow::showTable(const QString& message)
{
    ShowGrid();
    SetViewMessage(message);
    SetViewPath(QString());
    allowSizeBars();
    // A table filled behind a minimised or hidden window would go unseen.
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

ViewWindow::ChartTable ViewWindow::chartTable()
{
    // The basket on screen covers the size table: its rows are what the user sees.
    const bool basket = basketGrid_ && !basketGrid_->isHidden();
    GridView* source = basket ? basketGrid_ : grid_;
    return {source->isHidden() ? nullptr : &source->grid(), basket};
}

PageStack& ViewWindow::sizeBarPages()
{
    if (!sizeBarPages_) {
        sizeBarPages_ = new PageStack(sizeBarTab_);
        auto* layout = new QGridLayout(sizeBarTab_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(sizeBarPages_, 0, 0);
        // Another page is drawn as a resize draws the chart again.
        connect(sizeBarPages_, &PageStack::pageChosen, this,
                [this](int) { Q_EMIT pageNeedsRedraw(viewMode_); });
    }
    return *sizeBarPages_;
}

void ViewWindow::showSizeBars(const std::function<QList<QImage>(QSize area)>& draw, ViewMode mode)
{
    PageStack& pages = sizeBarPages();
    sizeBarTab_->show();
    sizeBarTab_->raise();
    const QList<QImage> drawn = draw(pages.pageArea());
    const int page = std::max(0, std::min(pages.page(), int(drawn.size()) - 1));
    if (pages.pageCount() != drawn.size())
        pages.setPageCount(int(drawn.size()));
    pages.setPage(page);
    pages.showImage(drawn.value(page));
    menuItem(ViewMenuItem::ShowSizeBar)->setChecked(true);
    setViewMode(mode);
}

void ViewWindow::hideSizeBars()
{
    sizeBarTab_->hide();
    menuItem(ViewMenuItem::ShowSizeBar)->setChecked(false);
    if (isSizeBars(viewMode_))
        setViewMode(ViewMode::None);
}

void ViewWindow::allowSizeBars()
{
    menuItem(ViewMenuItem::ShowSizeBar)->setEnabled(true);
}

void ViewWindow::focusFileHistory()
{
    fileHistory_->setFocus();
}

void ViewWindow::setHistoryPictures(std::function<QIcon(int image)> picture)
{
    fileHistory_->setPictureSource(std::move(picture));
}
