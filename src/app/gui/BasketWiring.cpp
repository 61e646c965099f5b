#include "app/gui/BasketWiring.h"

#include "app/gui/BasketWindow.h"
#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketFileList.h"
#include "basket/BasketZip.h"
#include "basket/ListDrops.h"
#include "basket/gui/BasketDrag.h"
#include "basket/gui/BasketGridView.h"
#include "basket/gui/BasketIcon.h"
#include "basket/gui/BasketMenu.h"
#include "basket/gui/BasketPanel.h"
#include "browse/FileTreeBuilder.h"
#include "browse/FilterTabs.h"
#include "browse/FolderTree.h"
#include "browse/NodeClick.h"
#include "browse/NodePaths.h"
#include "browse/ResolveFileNode.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/gui/InfoForm.h"
#include "view/picture/PictureFolder.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

namespace {

const QString FileListName = QStringLiteral("File1t");
const QString FolderTreeName = QStringLiteral("tvwDirTree");

} // namespace

BasketWiring::BasketWiring(BasketWindow& window, QObject* parent) : QObject(parent), window_(window)
{
    panel_ = new BasketPanel(window.settings(), window.prompts(), window.cancelKey(),
                             &window.hostWidget());
    panel_->setHooks({
        [this] { return window_.CurrentFolderPath(); },
        [this](const QString& text) { window_.view().SetViewPath(text); },
        [this](const QString& text) { window_.view().SetViewMessage(text); },
        [this] { return window_.view().viewArea().width(); },
        [this](const QStringList& paths) { return PicturesAmong(paths, window_.settings()); },
    });

    FileListPanel* list = &window.listPanel();
    list->fileListModel()->setObjectName(FileListName);
    list->fileListModel()->setDragPayload([this](NodeTree::Id id) { return fileListDrag(id); });
    list->fileList()->setDragEnabled(true);
    list->fileList()->setDragDropMode(QAbstractItemView::DragOnly);
    list->fileList()->viewport()->setAcceptDrops(true);
    list->fileList()->viewport()->installEventFilter(this);

    NodeTreeView* tree = &window.folderView();
    tree->nodeModel()->setObjectName(FolderTreeName);
    tree->nodeModel()->setDragPayload([this](NodeTree::Id id) { return folderTreeDrag(id); });
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    tree->viewport()->setAcceptDrops(true);
    tree->viewport()->installEventFilter(this);

    connectMenus();
    connectPanel();
}

void BasketWiring::placeOn(ViewWindow* view)
{
    view->placeBasket(panel_->grid(), panel_->icon());
    view->setKindView(ViewAction::Basket, [this](const ViewRequest& request) {
        openBasketFile(request.fullPath());
        return true;
    });
}

void BasketWiring::connectPanel()
{
    connect(panel_, &BasketPanel::emptied, this, [this] {
        closeBasketChart();
        FileListPanel* list = &window_.listPanel();
        if (!ListShowsBasket(list->state()))
            return;
        list->state().clearListing();
        list->statusLabel()->setText(QStringLiteral(" no files"));
    });
    connect(panel_, &BasketPanel::hidden, this, [this] {
        closeBasketChart();
        window_.view().focusFileHistory();
    });
    connect(panel_, &BasketPanel::layoutWanted, this, [this] {
        ViewWindow& view = window_.view();
        if (panel_->gridShown() && !view.isVisible())
            view.show();
        view.LayoutView();
        // The shown basket can be charted.
        if (panel_->gridShown())
            view.allowSizeBars();
    });
    connect(panel_, &BasketPanel::propertiesWanted, this, [this](const QString& path) {
        ShowFileProperties(path, window_.prompts(), &window_.hostWidget());
    });
    connect(panel_, &BasketPanel::dropReceived, this,
            [this](const QMimeData* data, bool) { dropOnBasket(data); });
    connect(panel_, &BasketPanel::thumbnailsWanted, this, &BasketWiring::showThumbnails);
}

void BasketWiring::closeBasketChart()
{
    // The chart of rows that are gone or hidden would only say "nothing to draw" at the
    // next resize.
    ViewWindow& view = window_.view();
    if (view.viewMode() == ViewMode::BasketSizeBars)
        view.hideSizeBars();
}

void BasketWiring::showThumbnails(const QStringList& pictures)
{
    ViewWindow& view = window_.view();
    view.show();
    view.raise();
    if (PictureSoundViews* views = PictureSoundViews::of(&view))
        views->ShowThumbnails(pictures);
}

void BasketWiring::connectMenus()
{
    FileListPanel* list = &window_.listPanel();
    const FileListMenus& menus = list->menus();
    const FileListMenus::FileNodeMenu& file = menus.fileNode;
    file.addToBasket->setEnabled(true);
    connect(file.addToBasket, &QAction::triggered, this,
            [this] { panel_->basket().insertionRow = -1; });
    connect(list, &FileListPanel::archiveEntryToBasket, this,
            [this](NodeTree::Id id) { addResolvedNode(id); });
    file.copyTo->setEnabled(true);
    file.zipTo->setEnabled(true);
    connect(file.copyTo, &QMenu::aboutToShow, this, [this] { pendingCopyFolder_.clear(); });
    connect(file.copyDefault, &QAction::triggered, this, [this] {
        const QString folder = window_.CurrentFolderPath();
        pendingCopyFolder_ = folder.isEmpty() ? window_.settings().tempFolder : folder;
    });
    connect(file.copySelected, &QAction::triggered, this, [this] {
        const QString folder = window_.prompts().chooseFolder(QStringLiteral("Select folder"),
                                                              window_.CurrentFolderPath());
        pendingCopyFolder_ = folder.isEmpty() ? QString() : WithSlash(folder);
    });
    connect(file.zipTo, &QMenu::aboutToShow, this, [this] {
        pendingZipFile_.clear();
        zipCancelled_ = false;
    });
    connect(file.zipSelected, &QAction::triggered, this, [this, file] {
        pendingZipFile_ = window_.prompts().chooseSaveFile(
            QStringLiteral("Select destination file "), window_.CurrentFolderPath(),
            QStringLiteral("Zip Files (*.zip)"), Prompts::Overwrite::DialogAsks);
        zipCancelled_ = pendingZipFile_.isEmpty();
        if (!zipCancelled_) {
            zipDefault_ = pendingZipFile_;
            file.zipDefault->setText(zipDefault_);
        }
    });
    file.removeBasketEntry->setEnabled(true);
    connect(file.removeBasketEntry, &QAction::triggered, this,
            &BasketWiring::removeBasketFileEntry);

    menus.files.addToBasket->setEnabled(true);
    connect(menus.files.addToBasket, &QAction::triggered, this, [this, list] {
        const FileList& state = list->state();
        NodeTree::Id node = list->fileList()->currentNode();
        if (ClassifyFileNode(state, node) != FileNodeKind::Group)
            node = state.tree().root();
        AddNodeToBasket(panel_->basket(), state, node, window_.CurrentFolderPath());
    });
    // Enabled while some file of the list is marked (see eventFilter).
    connect(menus.files.addSelectedToBasket, &QAction::triggered, this, [this, list] {
        AddSelectedToBasket(panel_->basket(), list->state(), window_.CurrentFolderPath(),
                            window_.settings());
    });

    QAction* treeAdd = &window_.folderBasketItem();
    treeAdd->setEnabled(true);
    connect(treeAdd, &QAction::triggered, this, [this] {
        panel_->basket().insertionRow = -1;
        const QString key = window_.menuFolderKey();
        if (!key.isEmpty() && !IsSystemFolderKey(key)) {
            BusyPointer busy;
            AddFolderToBasket(panel_->basket(), key, window_.settings());
        }
    });
}

QString BasketWiring::zipTarget()
{
    if (zipDefault_.isEmpty()) {
        zipDefault_ = window_.CurrentFolderPath() + QStringLiteral("temp.zip");
        window_.listPanel().menus().fileNode.zipDefault->setText(zipDefault_);
    }
    return zipDefault_;
}

bool BasketWiring::handleFileCommand(NodeActionKind kind, const QString& folder,
                                     const QString& name)
{
    Prompts& prompts = window_.prompts();
    if (kind == NodeActionKind::AddToBasket) {
        panel_->basket().AddFileToBasket(folder, name, NodeSource::File, QString(),
                                         Basket::Notice::Announce);
        return true;
    }
    if (kind == NodeActionKind::Copy) {
        const QString target = pendingCopyFolder_;
        pendingCopyFolder_.clear();
        if (!target.isEmpty())
            CopySingleFile(folder + name, target, window_.settings().nextVersionOnOverwrite,
                           prompts);
        return true;
    }
    if (kind == NodeActionKind::Zip) {
        if (zipCancelled_) { // "Selected File" was cancelled
            zipCancelled_ = false;
            return true;
        }
        const QString zip = pendingZipFile_.isEmpty() ? zipTarget() : pendingZipFile_;
        pendingZipFile_.clear();
        BusyPointer busy;
        ZipOneFileReported(folder + name, zip, prompts);
        return true;
    }
    return false;
}

bool BasketWiring::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease &&
        watched == window_.listPanel().fileList()->viewport()) {
        // The list marks the file after this filter: look once the release is done.
        QTimer::singleShot(0, this, [this] {
            FileListPanel* list = &window_.listPanel();
            list->menus().files.addSelectedToBasket->setEnabled(
                !MarkedEntries(list->state()).isEmpty());
        });
        return false;
    }
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* data = drop->mimeData();
    const bool basketDrag = !basketdrag::sourceOf(data).isEmpty();
    if (watched == window_.listPanel().fileList()->viewport()) {
        // The basket dropped on the file list lists it there.
        if (!basketDrag)
            return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            showBasketIfListed();
        return true;
    }
    if (watched != window_.folderView().viewport())
        return QObject::eventFilter(watched, event);
    // Every drag over the tree is decided here: the tree's own folders, stale nodes and
    // payloads without files are refused.
    const DropItems items = type == QEvent::Drop ? readDrop(data) : readDrop(data, Peek::Only);
    if (!FolderTreeTakes(basketDrag, items)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        dropOnFolderTree(data, drop->position().toPoint());
    return true;
}

void BasketWiring::showBasketIfListed()
{
    FileListPanel* list = &window_.listPanel();
    // The list being rebuilt would overwrite the basket at its hand-over: list it after.
    if (list->deferWhileBusy([self = QPointer(this)] {
            if (self)
                self->showBasketIfListed();
        }))
        return;
    FileList& state = list->state();
    BusyPointer busy;
    ShowBasketInFileList(panel_->basket(), state, QStringLiteral("*"), window_.settings());
    FilterTabs* tabs = window_.filterTabs();
    if (tabs && tabs->selectedTab() != tabs->allTab() && state.listedNames().ListCount() > 1) {
        // The selected tab narrows the whole basket as it narrows a folder, and counts
        // only what it kept.
        tabs->SelectCategory(tabs->selectedTab());
        return;
    }
    if (state.setup().treeType != TreeType::PlainList && state.listedNames().ListCount() > 1)
        list->trees().RebuildCurrentTree(state, window_.settings());
    list->showStatus();
}

QMimeData* BasketWiring::fileListDrag(NodeTree::Id id) const
{
    FileListPanel* list = &window_.listPanel();
    const QString listed = window_.CurrentFolderPath();
    const DraggedPaths dragged = DraggedPathsOf(list->state(), id, listed, window_.settings());
    const NodeTreeModel* model = list->fileListModel();
    return MakeFileDrag(dragged.paths,
                        {QCoreApplication::applicationPid(), model->serial(), model->generation(),
                         DragList::FileList, id, dragged.set, listed});
}

QMimeData* BasketWiring::folderTreeDrag(NodeTree::Id id) const
{
    const NodeTreeModel* model = window_.folderView().nodeModel();
    const QString key = model->tree().key(id);
    return MakeFileDrag(IsSystemFolderKey(key) ? QStringList() : QStringList{key},
                        {QCoreApplication::applicationPid(), model->serial(), model->generation(),
                         DragList::FolderTree, id, DraggedSet::Folder, QString()});
}

DropItems BasketWiring::readDrop(const QMimeData* data, Peek peek) const
{
    const NodeTreeModel* files = window_.listPanel().fileListModel();
    const NodeTreeModel* folders = window_.folderView().nodeModel();
    const std::vector<OwnList> lists{
        {DragList::FileList, files->serial(), files->generation()},
        {DragList::FolderTree, folders->serial(), folders->generation()}};
    const qint64 process = QCoreApplication::applicationPid();
    return peek == Peek::Only ? PeekDrop(data, process, lists) : ReadDrop(data, process, lists);
}

void BasketWiring::dropOnBasket(const QMimeData* data)
{
    const DropItems items = readDrop(data);
    if (items.kind == DropItems::Kind::Paths) {
        BusyPointer busy;
        AddDroppedPaths(panel_->basket(), items.paths, window_.settings());
        return;
    }
    if (items.kind != DropItems::Kind::OwnNode)
        return;
    if (items.source == DragList::FolderTree) {
        const QString key = window_.folderView().nodeModel()->tree().key(items.node);
        if (IsSystemFolderKey(key))
            return;
        BusyPointer busy;
        AddFolderToBasket(panel_->basket(), key, window_.settings());
        return;
    }
    BusyPointer busy;
    DropListNodeOnBasket(panel_->basket(), window_.listPanel().state(), items.node,
                         window_.CurrentFolderPath(), window_.settings(), window_.prompts());
}

void BasketWiring::addResolvedNode(NodeTree::Id id)
{
    AddResolvedListNode(panel_->basket(), window_.listPanel().state(), id,
                        window_.CurrentFolderPath(), window_.settings(), window_.prompts());
}

bool BasketWiring::dropOnFolderTree(const QMimeData* data, const QPoint& pos)
{
    NodeTreeView& folders = window_.folderView();
    const QString folder = FolderDropTarget(folders.nodeModel()->tree(), folders.nodeAt(pos));
    if (folder.isEmpty())
        return false;
    Prompts& prompts = window_.prompts();
    const Settings& settings = window_.settings();
    if (!basketdrag::sourceOf(data).isEmpty())
        return DropBasketOnFolder(panel_->basket(), folder, prompts, *this);
    const DropItems items = readDrop(data);
    if (items.kind == DropItems::Kind::Paths)
        return DropFilesOnFolder(PathsDropOnFolder(items), folder, settings.nextVersionOnOverwrite,
                                 prompts, *this);
    if (items.kind != DropItems::Kind::OwnNode || items.source != DragList::FileList)
        return false;
    return DropListNodeOnFolder(window_.listPanel().state(), items.node, folder,
                                window_.CurrentFolderPath(), settings, prompts, *this);
}

void BasketWiring::copyBasketRows(const QString& folder, int first, int last)
{
    panel_->copyRows(folder, first, last, false);
}

void BasketWiring::copyFiles(const QStringList& sources, const QString& folder)
{
    panel_->copyFiles(sources, folder);
}

void BasketWiring::openBasketFile(const QString& path)
{
    FileList& list = window_.listPanel().state();
    BasketLoad load = BasketLoad::NotBasket;
    // A listed basket file shows its entries below its node, so the list changes too.
    if (const NodeTree::Id node = list.tree().find(path); node != NodeTree::None)
        list.rebuildTree([&](NodeTree& tree) {
            load = LoadBasketFile(panel_->basket(), path, tree, node, window_.settings());
        });
    else
        load = LoadBasketFile(panel_->basket(), path);
    if (load == BasketLoad::NotBasket)
        window_.view().ViewText(path);
    else if (load == BasketLoad::Loaded)
        panel_->showGrid();
}

void BasketWiring::removeBasketFileEntry()
{
    FileListPanel* list = &window_.listPanel();
    RemoveListedBasketFileEntry(list->state(), list->fileList()->currentNode(), window_.settings(),
                                window_.prompts());
}
