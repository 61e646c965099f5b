#include "view/table/gui/TableViewer.h"

#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "formats/XlsWorkbook.h"
#include "platform/FileAccess.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/table/TableViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>

namespace {
const QString WorkingCopyName = QStringLiteral("TempMdbs.mdb");
}

TableViewer::TableViewer(ViewWindow& view, Settings& settings, Prompts& prompts, CancelKey& cancel)
    : QObject(&view), view_(view), settings_(settings), prompts_(prompts), cancel_(cancel)
{
    view_.setKindView(ViewAction::Spreadsheet,
                      [this](const ViewRequest& request) { return ViewSpreadsheet(request); });
    view_.setKindView(ViewAction::Database,
                      [this](const ViewRequest& request) { return ViewDatabase(request); });
    connect(view_.tableTree(), &QAbstractItemView::clicked, this,
            [this](const QModelIndex&) { nodeClicked(view_.tableTree()->currentNode()); });
}

void TableViewer::showTree()
{
    NodeTreeView* tree = view_.tableTree();
    view_.tableGrid()->hide();
    tree->raise();
    tree->show();
}

void TableViewer::showGrid()
{
    GridView* grid = view_.tableGrid();
    grid->refresh();
    if (grid->isHidden()) {
        view_.tableTree()->hide();
        view_.tableTree()->lower();
        grid->raise();
        grid->show();
        grid->setFocus();
    }
}

bool TableViewer::ViewSpreadsheet(const ViewRequest& request)
{
    try {
        BuildWorkbookTree(view_.dbsTree(), request.name, xls::SheetNames(request.fullPath()));
    } catch (const platform::TableSourceError&) {
        return false;
    }
    showTree();
    return true;
}

bool TableViewer::ViewDatabase(const ViewRequest& request)
{
    view_.tableGrid()->hide();
    view_.RadeZazeda()->hide();
    BusyPointer busy;
    QApplication::processEvents();
    const QString copy = WithSlash(settings_.workFolder) + WorkingCopyName;
    view_.setViewMode(ViewMode::Database, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(copy);
    view_.tableGrid()->grid().reset(2);
    if (settings_.workFolder.isEmpty() || !platform::copyFile(request.fullPath(), copy))
        return false;
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    try {
        view_.tableTree()->collapseAll();
        BuildDatabaseTree(view_.dbsTree(), request.name, platform::Database(copy));
    } catch (const platform::TableSourceError&) {
        return false;
    }
    // The field lines are padded into columns, which only a fixed pitch keeps.
    view_.tableTree()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    showTree();
    return true;
}

bool TableViewer::ShowSheet(const QString& sheet)
{
    const QString path = view_.CurrentViewFile();
    BusyPointer busy;
    view_.tableGrid()->hide();
    const bool shown = ::ShowSheet(view_.tableGrid()->grid(), path, sheet, cancel_, prompts_,
                                   [this] { showGrid(); });
    if (!shown)
        return false;
    view_.setViewMode(ViewMode::Workbook, path);
    view_.SetViewPath(QString());
    showGrid();
    view_.SetViewPath(TableStatusText(path, settings_.workFolder, sheet));
    return true;
}

bool TableViewer::ShowTable(const QString& table)
{
    BusyPointer busy;
    const QString database = view_.tableFile();
    view_.tableGrid()->hide();
    const bool shown =
        ::ShowTable(view_.tableGrid()->grid(), database, table, view_.CurrentViewFile(), cancel_,
                    prompts_, [this] { showGrid(); });
    if (!shown)
        return false;
    showGrid();
    view_.SetViewPath(TableStatusText(view_.CurrentViewFile(), settings_.workFolder, table));
    return true;
}

void TableViewer::nodeClicked(NodeTree::Id id)
{
    const NodeTree& tree = view_.dbsTree();
    const ViewMode mode = view_.viewMode();
    if (loading_ || mode == ViewMode::SystemInfo || !tree.contains(id) ||
        tree.node(id).parent == NodeTree::None)
        return;
    const QString text = tree.node(id).text;
    loading_ = true;
    if (mode == ViewMode::Workbook)
        ShowSheet(text);
    else if (mode == ViewMode::Database && !tree.children(id).empty())
        ShowTable(text);
    loading_ = false;
}
