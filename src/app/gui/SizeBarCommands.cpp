#include "app/gui/SizeBarCommands.h"

#include "browse/gui/FileListPanel.h"
#include "controls/gui/GridView.h"
#include "controls/gui/PageStack.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/SizeBarChart.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QGridLayout>

SizeBarCommands::SizeBarCommands(Settings& settings, Prompts& prompts, FileListPanel& panel,
                                 std::function<ViewWindow*()> viewWindow, QObject* parent)
    : QObject(parent), settings_(settings), prompts_(prompts), panel_(panel),
      viewWindow_(std::move(viewWindow))
{}

PageStack* SizeBarCommands::pagesOf(ViewWindow* view)
{
    QWidget* tab = view->sizeBarTab();
    auto* pages = tab->findChild<PageStack*>(QString(), Qt::FindDirectChildrenOnly);
    if (!pages) {
        pages = new PageStack(tab);
        auto* layout = new QGridLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(pages, 0, 0);
        connect(pages, &PageStack::pageChosen, this, [this](int) { DrawSizeBars(labelWidth_); });
    }
    return pages;
}

void SizeBarCommands::attach(ViewWindow* view)
{
    if (view == attached_)
        return;
    attached_ = view;
    QAction* item = view->menuItem(ViewMenuItem::ShowSizeBar);
    connect(item, &QAction::triggered, this, [this, view, item](bool checked) {
        if (!checked) {
            view->sizeBarTab()->hide();
            if (isSizeBars(view->viewMode()))
                view->setViewMode(ViewMode::None);
            return;
        }
        item->setChecked(DrawSizeBars(-1));
    });
    connect(view, &ViewWindow::pageNeedsRedraw, this, [this](ViewMode mode) {
        if (isSizeBars(mode))
            DrawSizeBars(labelWidth_);
    });
}

GridView* SizeBarCommands::chartSource(ViewWindow* view, bool& basket)
{
    // The basket on screen covers the size table: its rows are what the user sees.
    GridView* basketGrid = view->basketGrid();
    basket = basketGrid && !basketGrid->isHidden();
    return basket ? basketGrid : &view->grid();
}

bool SizeBarCommands::DrawSizeBars(int labelWidth)
{
    ViewWindow* view = viewWindow_();
    attach(view);
    const ViewMode mode = view->viewMode();
    bool basket = false;
    GridView* source = chartSource(view, basket);
    const Grid& grid = source->grid();
    if ((mode != ViewMode::None && !isSizeBars(mode)) || source->isHidden() ||
        !HasSizeBarData(grid)) {
        prompts_.message(QStringLiteral("nothing to draw"), QString());
        return false;
    }
    labelWidth_ = labelWidth;
    PageStack* pages = pagesOf(view);
    QWidget* tab = view->sizeBarTab();
    tab->show();
    tab->raise();
    const SizeBarKind kind = basket ? BasketSizeBarKind()
                                    : SizeBarKind{panel_.state().setup().treeType,
                                                  settings_.extensionNames, grid.cols() == 3};
    SizeBarStyle style;
    style.bar = QColor::fromRgb(QRgb(settings_.colours[5]));
    style.line = view->palette().color(QPalette::Highlight);
    const QList<QImage> drawn = DrawSizeBarPages(grid, kind, labelWidth, pages->pageArea(), style);
    const int page = std::min(pages->page(), int(drawn.size()) - 1);
    if (pages->pageCount() != drawn.size())
        pages->setPageCount(int(drawn.size()));
    pages->setPage(std::max(0, page));
    pages->showImage(drawn.value(std::max(0, page)));
    view->menuItem(ViewMenuItem::ShowSizeBar)->setChecked(true);
    view->setViewMode(basket ? ViewMode::BasketSizeBars : ViewMode::FolderSizeBars);
    return true;
}
