#include "app/gui/SizeBarCommands.h"

#include "browse/gui/FileListPanel.h"
#include "controls/Grid.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/SizeBarChart.h"
#include "view/window/gui/ViewWindow.h"

SizeBarCommands::SizeBarCommands(Settings& settings, Prompts& prompts, FileListPanel& panel,
                                 std::function<ViewWindow*()> viewWindow, QObject* parent)
    : QObject(parent), settings_(settings), prompts_(prompts), panel_(panel),
      viewWindow_(std::move(viewWindow))
{}

void SizeBarCommands::attach(ViewWindow* view)
{
    if (view == attached_)
        return;
    attached_ = view;
    connect(view, &ViewWindow::sizeBarsWanted, this, [this, view](bool shown) {
        if (!shown || !DrawSizeBars(-1))
            view->hideSizeBars();
    });
    connect(view, &ViewWindow::pageNeedsRedraw, this, [this](ViewMode mode) {
        if (isSizeBars(mode))
            DrawSizeBars(labelWidth_);
    });
}

bool SizeBarCommands::DrawSizeBars(int labelWidth)
{
    ViewWindow* view = viewWindow_();
    attach(view);
    const ViewMode mode = view->viewMode();
    const ViewWindow::ChartTable source = view->chartTable();
    if ((mode != ViewMode::None && !isSizeBars(mode)) || !source.table ||
        !HasSizeBarData(*source.table)) {
        prompts_.message(QStringLiteral("nothing to draw"), QString());
        return false;
    }
    labelWidth_ = labelWidth;
    const Grid& grid = *source.table;
    const SizeBarKind kind = source.basket
                                 ? BasketSizeBarKind()
                                 : SizeBarKind{panel_.state().setup().treeType,
                                               settings_.extensionNames, grid.cols() == 3};
    SizeBarStyle style;
    style.bar = QColor::fromRgb(QRgb(settings_.colours[5]));
    style.line = view->palette().color(QPalette::Highlight);
    view->showSizeBars(
        [&](QSize area) { return DrawSizeBarPages(grid, kind, labelWidth, area, style); },
        source.basket ? ViewMode::BasketSizeBars : ViewMode::FolderSizeBars);
    return true;
}
