#include "app/gui/BasketWiring.h"

#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketFileList.h"
#include "basket/BasketZip.h"
#include "basket/gui/BasketDrag.h"
#include "basket/gui/BasketGridView.h"
#include "basket/gui/BasketIcon.h"
#include "basket/gui/BasketMenu.h"
#include "basket/gui/BasketPanel.h"
#include "browse/FileTreeBuilder.h"
#include "browse/FilterTabs.h"
#include "browse/NodeClick.h"
#include "browse/ResolveFileNode.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/gui/InfoForm.h"
#include "view/PictureFolder.h"
#include "view/gui/PictureSoundViews.h"
#include "view/gui/ViewWindow.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace {

const QString FileListName = QStringLiteral("File1t");
const QString FolderTreeName = QStringLiteral("tvwDirTree");

bool isSystemFolderKey(const QString& key)
{
    return key.startsWith(QLatin1String("root")) || key.startsWith(QLatin1String("desk")) ||
           key.startsWith(QLatin1String("SpecialFolders")) || !key.startsWith(u'/');
}

bool listShowsBasket(FileListPanel& list)
{
    const NodeTree& tree = list.state().fileTree;
    return tree.root() != NodeTree::None && tree.node(tree.root()).text == u"RadeZazeda";
}

} // namespace

BasketWiring::BasketWiring(MainWindow& window) : QObject(&window), window_(window)
{
    panel_ = new BasketPanel(window.settings(), window.prompts(), window.cancelKey(), &window);
    panel_->setHooks({
        [this] { return window_.CurrentFolderPath(); },
        [this](const QString& text) { window_.viewWindow()->SetViewPath(text); },
        [this](const QString& text) { window_.viewWindow()->SetViewMessage(text); },
        [this] { return window_.viewWindow()->viewArea().width(); },
        [this](const QStringList& paths) { return PicturesAmong(paths, window_.settings()); },
    });

    FileListPanel* list = window.fileListPanel();
    list->fileListModel()->setObjectName(FileListName);
    list->fileList()->setDragEnabled(true);
    list->fileList()->setDragDropMode(QAbstractItemView::DragOnly);
    list->fileList()->viewport()->setAcceptDrops(true);
    list->fileList()->viewport()->installEventFilter(this);

    NodeTreeView* tree = window.folderTreeView();
    tree->nodeModel()->setObjectName(FolderTreeName);
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
        FileListPanel* list = window_.fileListPanel();
        if (!listShowsBasket(*list))
            return;
        list->state().fileTree.clear();
        list->state().File1Backup.Clear();
        list->statusLabel()->setText(QStringLiteral(" no files"));
    });
    connect(panel_, &BasketPanel::hidden, this, [this] {
        closeBasketChart();
        window_.viewWindow()->Filehistory()->setFocus();
    });
    connect(panel_, &BasketPanel::layoutWanted, this, [this] {
        ViewWindow* view = window_.viewWindow();
        if (panel_->gridShown() && !view->isVisible())
            view->show();
        view->LayoutView();
        // The shown basket can be charted.
        if (panel_->gridShown())
            view->menuItem(ViewMenuItem::ShowSizeBar)->setEnabled(true);
    });
    connect(panel_, &BasketPanel::propertiesWanted, this,
            [this](const QString& path) { ShowFileProperties(path, window_.prompts(), &window_); });
    connect(panel_, &BasketPanel::dropReceived, this, &BasketWiring::dropOnBasket);
    connect(panel_, &BasketPanel::thumbnailsWanted, this, &BasketWiring::showThumbnails);
}

void BasketWiring::closeBasketChart()
{
    // The chart of rows that are gone or hidden would only say "nothing to draw" at the
    // next resize.
    ViewWindow* view = window_.viewWindow();
    if (view->viewMode() != ViewMode::BasketSizeBars)
        return;
    view->sizeBarTab()->hide();
    view->setViewMode(ViewMode::None);
    view->menuItem(ViewMenuItem::ShowSizeBar)->setChecked(false);
}

void BasketWiring::showThumbnails(const QStringList& pictures)
{
    ViewWindow* view = window_.viewWindow();
    view->show();
    view->raise();
    if (PictureSoundViews* views = PictureSoundViews::of(view))
        views->ShowThumbnails(pictures);
}

void BasketWiring::connectMenus()
{
    FileListPanel* list = window_.fileListPanel();
    const FileListMenus& menus = list->menus();
    const FileListMenus::File1viewMenu& file = menus.file1view;
    file.addToBasket->setEnabled(true);
    connect(file.addToBasket, &QAction::triggered, this,
            [this] { panel_->basket().insertionRow = -1; });
    connect(list, &FileListPanel::archiveEntryToBasket, this,
            [this](NodeTree::Id id) { addResolvedNode(id, QStringLiteral("A")); });
    file.copyTo->setEnabled(true);
    file.zipTo->setEnabled(true);
    connect(file.copyTo, &QMenu::aboutToShow, this, [this, file] {
        const QString folder = window_.CurrentFolderPath();
        file.copyDefault->setData(QStringLiteral("C") +
                                  (folder.isEmpty() ? window_.settings().tempFolder : folder));
        pendingCopyFolder_.clear();
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
        if (!zipCancelled_)
            file.zipDefault->setText(pendingZipFile_);
    });
    file.removeBasketEntry->setEnabled(true);
    connect(file.removeBasketEntry, &QAction::triggered, this,
            &BasketWiring::removeBasketFileEntry);

    menus.files.addToBasket->setEnabled(true);
    connect(menus.files.addToBasket, &QAction::triggered, this, [this, list] {
        const FileListState& state = list->state();
        NodeTree::Id node = list->fileList()->currentNode();
        if (ClassifyFileNode(state, node) != FileNodeKind::Group)
            node = state.fileTree.root();
        AddNodeToBasket(panel_->basket(), state, node, window_.CurrentFolderPath());
    });
    // Enabled while some file of the list is marked (see eventFilter).
    connect(menus.files.addSelectedToBasket, &QAction::triggered, this, [this, list] {
        AddSelectedToBasket(panel_->basket(), list->state(), window_.CurrentFolderPath(),
                            window_.settings());
    });

    QAction* treeAdd = window_.menus().tvwview.addToBasket;
    treeAdd->setEnabled(true);
    connect(treeAdd, &QAction::triggered, this, [this] {
        panel_->basket().insertionRow = -1;
        const NodeTree::Id node = window_.folderTreeState().CurrentFolderNode;
        const QString key = window_.folderTree().key(node);
        if (!isSystemFolderKey(key)) {
            BusyPointer busy;
            AddFolderToBasket(panel_->basket(), key, window_.settings());
        }
    });
}

QString BasketWiring::zipTarget() const
{
    QAction* zipDefault = window_.fileListPanel()->menus().file1view.zipDefault;
    if (zipDefault->text() == u"Default")
        zipDefault->setText(window_.CurrentFolderPath() + QStringLiteral("temp.zip"));
    return zipDefault->text();
}

bool BasketWiring::handleFileCommand(const QString& code, const QString& folder,
                                     const QString& name)
{
    Prompts& prompts = window_.prompts();
    if (code == u"AB") {
        panel_->basket().AddFileToBasket(folder, name, QStringLiteral("NN"), QString(),
                                         QStringLiteral("Y"), QStringLiteral("A"));
        return true;
    }
    if (code.startsWith(u'C')) {
        const QString target = code.size() > 1 ? code.mid(1) : pendingCopyFolder_;
        pendingCopyFolder_.clear();
        if (!target.isEmpty())
            CopySingleFile(folder + name, target, window_.settings().nextVersionOnOverwrite == 1,
                           prompts);
        return true;
    }
    if (code == u"Z") {
        if (zipCancelled_) { // "Selected File" was cancelled
            zipCancelled_ = false;
            return true;
        }
        const QString zip = pendingZipFile_.isEmpty() ? zipTarget() : pendingZipFile_;
        pendingZipFile_.clear();
        BusyPointer busy;
        QString why;
        if (ZipOneFile(folder + name, zip, &why))
            prompts.message(folder + name + LineBreak + QStringLiteral("zipped to:") + LineBreak +
                            zip);
        else
            prompts.message(zip + QStringLiteral(" was not created.") + LineBreak + why);
        return true;
    }
    return false;
}

bool BasketWiring::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease &&
        watched == window_.fileListPanel()->fileList()->viewport()) {
        // The list marks the file after this filter: look once the release is done.
        QTimer::singleShot(0, this, [this] {
            FileListPanel* list = window_.fileListPanel();
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
    if (watched == window_.fileListPanel()->fileList()->viewport()) {
        // The basket dropped on the file list lists it there.
        if (!basketDrag)
            return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            showBasketIfListed();
        return true;
    }
    if (watched != window_.folderTreeView()->viewport())
        return QObject::eventFilter(watched, event);
    const auto node = NodeTreeModel::draggedNode(data);
    if (!basketDrag && !(node && node->source == FileListName))
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        dropOnFolderTree(data, drop->position().toPoint());
    return true;
}

void BasketWiring::showBasketIfListed()
{
    FileListPanel* list = window_.fileListPanel();
    FileListState& state = list->state();
    BusyPointer busy;
    ShowBasketInFileList(panel_->basket(), state, QStringLiteral("*"), window_.settings());
    FilterTabs* tabs = window_.filterStrip() ? &window_.filterStrip()->filters() : nullptr;
    if (tabs && tabs->selectedTab() != tabs->allTab() && state.File1Backup.ListCount() > 1) {
        // The selected tab narrows the whole basket as it narrows a folder, and counts
        // only what it kept.
        tabs->SelectCategory(tabs->selectedTab());
        return;
    }
    if (state.treeType != TreeType::PlainList && state.File1Backup.ListCount() > 1)
        list->trees().RebuildCurrentTree(state, window_.settings());
    list->showStatus();
}

void BasketWiring::dropOnBasket(const QMimeData* data, bool onIcon)
{
    const auto node = NodeTreeModel::draggedNode(data);
    if (!node)
        return;
    if (node->source == FolderTreeName) {
        const QString key = window_.folderTree().key(node->id);
        if (isSystemFolderKey(key))
            return;
        BusyPointer busy;
        AddFolderToBasket(panel_->basket(), key, window_.settings());
        return;
    }
    (void)onIcon;
    if (node->source == FileListName)
        dropFileListNode(node->id);
}

void BasketWiring::dropFileListNode(NodeTree::Id id)
{
    FileListPanel* list = window_.fileListPanel();
    const FileListState& state = list->state();
    const NodeTree& tree = state.fileTree;
    if (!tree.contains(id) || listShowsBasket(*list))
        return;
    const Settings& settings = window_.settings();
    if (IsBasketFile(tree.key(id), settings))
        return;
    const FileNodeKind kind = ClassifyFileNode(state, id);
    if (kind == FileNodeKind::Root || kind == FileNodeKind::Group) {
        AddNodeToBasket(panel_->basket(), state, id, window_.CurrentFolderPath());
        return;
    }
    addResolvedNode(id, QStringLiteral("B"));
}

void BasketWiring::addResolvedNode(NodeTree::Id id, const QString& origin)
{
    FileListPanel* list = window_.fileListPanel();
    const FileListState& state = list->state();
    const Settings& settings = window_.settings();
    ResolvedFileNode file =
        ResolveFileNode(state, id, window_.CurrentFolderPath(), settings.workFolder, settings);
    if (PrepareResolvedFile(file, state, id, settings, window_.prompts()))
        panel_->basket().AddFileToBasket(file.folder, file.name, file.code, file.entryRef,
                                         QStringLiteral("Y"), origin);
}

bool BasketWiring::dropOnFolderTree(const QMimeData* data, const QPoint& pos)
{
    NodeTreeView* treeView = window_.folderTreeView();
    const NodeTree& folders = window_.folderTree();
    const NodeTree::Id target = treeView->nodeAt(pos);
    const QString key = folders.key(target);
    if (target == NodeTree::None || isSystemFolderKey(key) || folders.tag(target) == u"X")
        return false;
    const QString folder = WithSlash(key);
    Prompts& prompts = window_.prompts();
    if (!basketdrag::sourceOf(data).isEmpty()) {
        Basket& basket = panel_->basket();
        if (basket.empty()) {
            prompts.message(QStringLiteral("RadeZazeda is empty"));
            return false;
        }
        if (prompts.askYesNo(QStringLiteral("copy") + NumText(basket.entries()) +
                                 QStringLiteral(" files in RadeZazeda to: ") + folder,
                             QStringLiteral("Copy RadeZazeda")))
            panel_->copyRows(folder, 1, basket.entries(), false);
        return true;
    }
    const auto node = NodeTreeModel::draggedNode(data);
    FileListPanel* list = window_.fileListPanel();
    if (listShowsBasket(*list)) {
        prompts.message(QStringLiteral("In order to copy RadeZazeda, drag-drop RadeZazeda icon "
                                       "to Folder Tree"),
                        QStringLiteral("Copy"));
        return false;
    }
    const FileNodeKind kind = ClassifyFileNode(list->state(), node->id);
    if (kind == FileNodeKind::Root || kind == FileNodeKind::Group) {
        copyListedFiles(node->id, folder);
        return true;
    }
    if (kind != FileNodeKind::File)
        return false;
    const Settings& settings = window_.settings();
    ResolvedFileNode file = ResolveFileNode(list->state(), node->id, window_.CurrentFolderPath(),
                                            settings.workFolder, settings);
    if (!PrepareResolvedFile(file, list->state(), node->id, settings, prompts))
        return true;
    CopySingleFile(file.folder + file.name, folder, settings.nextVersionOnOverwrite == 1, prompts);
    return true;
}

void BasketWiring::copyListedFiles(NodeTree::Id id, const QString& folder)
{
    FileListPanel* list = window_.fileListPanel();
    const NodeTree& tree = list->state().fileTree;
    const QString listed = window_.CurrentFolderPath();
    const bool root = id == tree.root();
    QStringList sources;
    const auto addFile = [&](NodeTree::Id file) {
        const QString text = tree.node(file).text;
        if (!text.startsWith(u'|') && list->state().fileTreeTag != u"X")
            sources << (text.startsWith(u'/') ? text : listed + text);
    };
    if (root && list->state().treeType == TreeType::PlainList) {
        for (const NodeTree::Id file : tree.children(id))
            addFile(file);
    } else if (root) {
        for (const NodeTree::Id group : tree.children(id))
            for (const NodeTree::Id file : tree.children(group))
                addFile(file);
    } else {
        for (const NodeTree::Id file : tree.children(id))
            addFile(file);
    }
    Prompts& prompts = window_.prompts();
    if (root && folder.compare(listed, Qt::CaseInsensitive) == 0) {
        prompts.message(QStringLiteral("source and destination directory are same"));
        return;
    }
    const QString question = root ? QStringLiteral("copy") + NumText(sources.size()) +
                                        QStringLiteral(" files shown in folder:") + LineBreak +
                                        listed + LineBreak + QStringLiteral("to") + LineBreak +
                                        folder
                                  : QStringLiteral("copy") + NumText(sources.size()) +
                                        QStringLiteral(" files to") + LineBreak + folder;
    if (!prompts.askYesNo(question, QStringLiteral("Copy")))
        return;
    panel_->copyFiles(sources, folder);
}

void BasketWiring::openBasketFile(const QString& path)
{
    FileListPanel* list = window_.fileListPanel();
    NodeTree& tree = list->state().fileTree;
    const NodeTree::Id node = tree.find(path);
    const BasketLoad load = node != NodeTree::None ? LoadBasketFile(panel_->basket(), path, tree,
                                                                    node, window_.settings())
                                                   : LoadBasketFile(panel_->basket(), path);
    if (load == BasketLoad::NotBasket)
        window_.viewWindow()->ViewText(path);
    else if (load == BasketLoad::Loaded)
        panel_->showGrid();
}

void BasketWiring::removeBasketFileEntry()
{
    FileListPanel* list = window_.fileListPanel();
    NodeTree& tree = list->state().fileTree;
    const NodeTree::Id node = list->fileList()->currentNode();
    if (!tree.contains(node) || tree.node(node).parent == NodeTree::None)
        return;
    const NodeTree::Id parent = tree.node(node).parent;
    const QString basketFile = tree.key(parent);
    if (!IsBasketFile(basketFile, window_.settings()))
        return;
    if (RemoveBasketFileEntry(basketFile, tree.node(node).text, window_.prompts()) < 0)
        return;
    // The entries listed under the file are listed again from what it holds now.
    NodeTreeLock lock(tree);
    const QString prefix = QLatin1Char('[') + tree.node(parent).text + QLatin1Char(']');
    tree.removeChildren(parent);
    for (const QString& entry : ReadBasketFile(basketFile).entries) {
        const QString image =
            FileLenOrZero(entry) > 0
                ? QLatin1Char('k') +
                      QString::number(FileListIconIndex(ExtensionOf(entry), window_.settings()))
                : QStringLiteral("k28");
        tree.add(parent, prefix + entry, entry, image);
    }
}
