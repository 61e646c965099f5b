#include "view/table/gui/TableViewer.h"

#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "formats/XlsWorkbook.h"
#include "platform/CancelKey.h"
#include "platform/FileAccess.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/ViewerHost.h"
#include "view/table/TableViews.h"

#include <QFile>
#include <QFontDatabase>
#include <QTimer>

namespace {
const QString WorkingCopyName = QStringLiteral("TempMdbs.mdb");
}

TableViewer::TableViewer(ViewerHost& host, Settings& settings, Prompts& prompts, CancelKey& cancel)
    : QObject(&host.hostWidget()), host_(host), settings_(settings), prompts_(prompts),
      cancel_(cancel)
{
    host_.setKindView(ViewAction::Spreadsheet,
                      [this](const ViewRequest& request) { return ViewSpreadsheet(request); });
    host_.setKindView(ViewAction::Database,
                      [this](const ViewRequest& request) { return ViewDatabase(request); });
    connect(&host_.treeView(), &QAbstractItemView::clicked, this,
            [this](const QModelIndex&) { nodeClicked(host_.treeView().currentNode()); });
}

TableViewer::~TableViewer() = default;

void TableViewer::showTree()
{
    NodeTreeView* tree = &host_.treeView();
    host_.grid().hide();
    tree->raise();
    tree->show();
}

void TableViewer::showGrid()
{
    GridView* grid = &host_.grid();
    grid->refresh();
    if (grid->isHidden()) {
        host_.treeView().hide();
        host_.treeView().lower();
        grid->raise();
        grid->show();
        grid->setFocus();
    }
}

bool TableViewer::ViewSpreadsheet(const ViewRequest& request)
{
    try {
        BuildWorkbookTree(host_.tree(), request.name, xls::SheetNames(request.fullPath()));
    } catch (const platform::TableSourceError&) {
        return false;
    }
    showTree();
    return true;
}

bool TableViewer::ViewDatabase(const ViewRequest& request)
{
    host_.grid().hide();
    BusyPointer busy;
    // Painted now, without running other events in the middle of the dispatch: the grid
    // leaves the screen before a large database is copied.
    host_.hostWidget().repaint();
    const QString copy = WithSlash(settings_.workFolder) + WorkingCopyName;
    host_.setViewMode(ViewMode::Database, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(copy);
    host_.grid().grid().reset(2);
    if (settings_.workFolder.isEmpty() || !platform::copyFile(request.fullPath(), copy))
        return false;
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    try {
        host_.treeView().collapseAll();
        BuildDatabaseTree(host_.tree(), request.name, platform::Database(copy));
    } catch (const platform::TableSourceError&) {
        return false;
    }
    // The field lines are padded into columns, which only a fixed pitch keeps.
    host_.treeView().setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    showTree();
    return true;
}

bool TableViewer::ShowSheet(const QString& sheet)
{
    if (load_)
        return false;
    const QString path = host_.CurrentViewFile();
    host_.grid().hide();
    std::unique_ptr<GridLoad> load =
        GridLoad::openSheet(host_.grid().grid(), path, sheet, prompts_);
    if (!load)
        return false;
    startLoad(std::move(load), [this, path, sheet] {
        host_.setViewMode(ViewMode::Workbook, path);
        host_.SetViewPath(QString());
        showGrid();
        host_.SetViewPath(TableStatusText(path, settings_.workFolder, sheet));
    });
    return true;
}

bool TableViewer::ShowTable(const QString& table)
{
    if (load_)
        return false;
    host_.grid().hide();
    std::unique_ptr<GridLoad> load = GridLoad::openTable(host_.grid().grid(), host_.tableFile(),
                                                         table, host_.CurrentViewFile(), prompts_);
    if (!load)
        return false;
    startLoad(std::move(load), [this, table] {
        showGrid();
        host_.SetViewPath(TableStatusText(host_.CurrentViewFile(), settings_.workFolder, table));
    });
    return true;
}

void TableViewer::startLoad(std::unique_ptr<GridLoad> load, std::function<void()> shown)
{
    cancel_.clear();
    loadMode_ = host_.viewMode();
    load_ = std::move(load);
    busy_ = std::make_unique<BusyPointer>();
    whenShown_ = std::move(shown);
    QTimer::singleShot(0, this, &TableViewer::loadStep);
}

void TableViewer::loadStep()
{
    if (host_.viewMode() != loadMode_) {
        // Another view took the window: the rows so far stay in the hidden grid.
        load_.reset();
        busy_.reset();
        whenShown_ = {};
        Q_EMIT loaded(false);
        return;
    }
    const GridLoad::Step step = load_->step(cancel_, prompts_);
    if (step == GridLoad::Step::More) {
        showGrid();
        QTimer::singleShot(0, this, &TableViewer::loadStep);
        return;
    }
    load_.reset();
    busy_.reset();
    const std::function<void()> shown = std::move(whenShown_);
    if (step == GridLoad::Step::Done)
        shown();
    Q_EMIT loaded(step == GridLoad::Step::Done);
}

void TableViewer::nodeClicked(NodeTree::Id id)
{
    const NodeTree& tree = host_.tree();
    const ViewMode mode = host_.viewMode();
    if (load_ || mode == ViewMode::SystemInfo || !tree.contains(id) ||
        tree.node(id).parent == NodeTree::None)
        return;
    const QString text = tree.node(id).text;
    if (mode == ViewMode::Workbook)
        ShowSheet(text);
    else if (mode == ViewMode::Database && !tree.children(id).empty())
        ShowTable(text);
}
