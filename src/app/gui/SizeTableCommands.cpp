#include "app/gui/SizeTableCommands.h"

#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "trees/Statistics.h"
#include "view/gui/ViewWindow.h"

#include <QAction>

SizeTableCommands::SizeTableCommands(Settings& settings, Prompts& prompts, CancelKey& cancel,
                                     FileListPanel& panel, std::function<ViewWindow*()> viewWindow,
                                     QObject* parent)
    : QObject(parent), settings_(settings), prompts_(prompts), cancel_(cancel), panel_(panel),
      viewWindow_(std::move(viewWindow))
{
    QAction* sizeTable = panel.menus().files.sizeTable;
    sizeTable->setEnabled(true);
    connect(sizeTable, &QAction::triggered, this, [this] { TriggerFileSizes(); });
}

void SizeTableCommands::present(ViewWindow* view, const QString& message, qint64 total)
{
    view->ShowGrid();
    view->SetViewMessage(message);
    view->SetViewPath(QString());
    view->menuItem(ViewMenuItem::ShowSizeBar)->setEnabled(true);
    grandTotal_ = total;
    // A table filled behind a minimised or hidden window would go unseen.
    if (view->isMinimized())
        view->showNormal();
    else
        view->show();
    view->raise();
    view->activateWindow();
    Q_EMIT tableShown(total);
}

void SizeTableCommands::TriggerFileSizes()
{
    FileListState& state = panel_.state();
    if (state.fileTree.count() < 2 || state.fileTreeTag == u"X")
        return;
    BusyPointer busy;
    NodeTree::Id current = panel_.fileList()->currentNode();
    if (current == NodeTree::None)
        current = state.fileTree.root();
    ViewWindow* view = viewWindow_();
    view->CloseView();
    const SizeTableResult result = ShowSizeTable(state, view->tableGrid()->grid(), current);
    if (result.shown)
        present(view, result.viewMessage, result.grandTotal);
}

void SizeTableCommands::FolderSizeTable(const QString& folder)
{
    BusyPointer busy;
    ViewWindow* view = viewWindow_();
    view->CloseView();
    GridView* grid = view->tableGrid();
    grid->hide();
    const SizeTableResult result =
        ::FolderSizeTable(folder, settings_, grid->grid(), cancel_, prompts_);
    if (result.shown)
        present(view, result.viewMessage, result.grandTotal);
}
