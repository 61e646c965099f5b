// Placement of the view window's top strip and view area.
#include "controls/gui/GridView.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/ScreenFit.h"
#include "controls/gui/WindowGuards.h"
#include "view/window/gui/ClickLabel.h"
#include "view/window/gui/ViewWindow.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QTextEdit>
#include <QWebEngineView>

namespace {
constexpr int Margin = 2;
constexpr int GobackWidth = 64;
constexpr int PptHeight = 22;
} // namespace

void ViewWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutView();
}

void ViewWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    KeepOnScreen(this);
}

void ViewWindow::LayoutView()
{
    QWidget* area = centralWidget();
    if (!area)
        return;
    {
        RedrawLock lock(this);
        const int width = area->width();
        const int stripHeight = fileHistory_->sizeHint().height();
        backLabel_->setGeometry(Margin, Margin, GobackWidth, stripHeight);
        int historyLeft = 2 * Margin + GobackWidth;
        if (basketIcon_) {
            basketIcon_->move(historyLeft, Margin + (stripHeight - basketIcon_->height()) / 2);
            historyLeft += basketIcon_->width() + Margin;
        }
        fileHistory_->setGeometry(historyLeft, Margin, qMax(40, width - historyLeft - Margin),
                                  stripHeight);

        const int top = stripHeight + 2 * Margin;
        viewArea_ = QRect(0, top, width, qMax(0, area->height() - top));
        for (QWidget* view : {static_cast<QWidget*>(textBox_), static_cast<QWidget*>(browser_),
                              static_cast<QWidget*>(treeView_), static_cast<QWidget*>(grid_),
                              static_cast<QWidget*>(basketGrid_), pageCanvas_, sizeBarTab_}) {
            if (view)
                view->setGeometry(viewArea_);
        }
        firstChartNote_->setGeometry(viewArea_.left(), viewArea_.top(), viewArea_.width(),
                                     PptHeight);
        documentPreview_->setGeometry(viewArea_.adjusted(0, PptHeight, 0, 0));
        const QSize run = runDocument_->sizeHint();
        runDocument_->setGeometry(
            QRect(QPoint(viewArea_.center().x() - run.width() / 2,
                         documentPreview_->geometry().center().y() + 2 * run.height()),
                  run));
    }
    if (basketGrid_ && !basketGrid_->isHidden())
        basketGrid_->raise();
    if (isRedrawnPage(viewMode_))
        Q_EMIT pageNeedsRedraw(viewMode_);
}

void ViewWindow::placeBasket(GridView* grid, QWidget* icon)
{
    QWidget* area = centralWidget();
    if (grid && grid != basketGrid_) {
        delete basketGrid_;
        basketGrid_ = grid;
        grid->setParent(area);
        grid->hide();
    }
    if (icon) {
        basketIcon_ = icon;
        icon->setParent(area);
        icon->show();
    }
    LayoutView();
}
