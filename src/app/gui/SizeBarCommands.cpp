#include "app/gui/SizeBarCommands.h"

#include "browse/gui/FileListPanel.h"
#include "controls/gui/GridView.h"
#include "controls/gui/PageStack.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/SizeBarChart.h"
#include "view/gui/ViewWindow.h"

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
    if (QAction* item = view->menuAction(QStringLiteral("Show size bar"))) {
        connect(item, &QAction::triggered, this, [this, view, item](bool checked) {
            if (!checked) {
                view->sizeBarTab()->hide();
                if (view->ViewMode().startsWith(QLatin1String("BAR")))
                    view->setViewMode(QString());
                return;
            }
            item->setChecked(DrawSizeBars(-1));
        });
    }
    connect(view, &ViewWindow::pageNeedsRedraw, this, [this](const QString& mode) {
        if (mode.startsWith(QLatin1String("BAR")))
            DrawSizeBars(labelWidth_);
    });
}

GridView* SizeBarCommands::chartSource(ViewWindow* view, bool& basket)
{
    // The RadeZazeda on screen covers the size table: its rows are what the user sees.
    GridView* basketGrid = view->RadeZazeda();
    basket = basketGrid && !basketGrid->isHidden();
    return basket ? basketGrid : view->tableGrid();
}

bool SizeBarCommands::DrawSizeBars(int labelWidth)
{
    ViewWindow* view = viewWindow_();
    attach(view);
    const QString mode = view->ViewMode();
    bool basket = false;
    GridView* source = chartSource(view, basket);
    const Grid& grid = source->grid();
    if ((!mode.isEmpty() && !mode.startsWith(QLatin1String("BAR"))) || source->isHidden() ||
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
                                    : SizeBarKind{panel_.state().treeType,
                                                  settings_.extensionNames != 0, grid.cols() == 3};
    SizeBarStyle style;
    style.bar = QColor::fromRgb(QRgb(settings_.colours[5]));
    style.line = view->palette().color(QPalette::Highlight);
    const QList<QImage> drawn = DrawSizeBarPages(grid, kind, labelWidth, pages->pageArea(), style);
    const int page = std::min(pages->page(), int(drawn.size()) - 1);
    if (pages->pageCount() != drawn.size())
        pages->setPageCount(int(drawn.size()));
    pages->setPage(std::max(0, page));
    pages->showImage(drawn.value(std::max(0, page)));
    if (QAction* item = view->menuAction(QStringLiteral("Show size bar")))
        item->setChecked(true);
    view->setViewMode(basket ? QStringLiteral("BARB") : QStringLiteral("BARV"));
    return true;
}
