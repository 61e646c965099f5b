#include "app/FolderHistory.h"
#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/NodeImages.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/SubfolderReads.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "shared/TextHelpers.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

namespace {

// Keeps the tree view's scroll position and current node across a model reset.
class ViewPositionKeeper {
public:
    explicit ViewPositionKeeper(NodeTreeView* view)
        : view_(view), current_(view->currentNode()), scroll_(view->verticalScrollBar()->value())
    {}
    ~ViewPositionKeeper()
    {
        const QModelIndex index = view_->nodeModel()->indexOf(current_);
        if (index.isValid())
            view_->setCurrentIndex(index);
        view_->verticalScrollBar()->setValue(scroll_);
    }

private:
    NodeTreeView* view_;
    NodeTree::Id current_;
    int scroll_;
};

} // namespace

void MainWindow::connectFolderTree()
{
    folderTreeView_->installEventFilter(this);
    folderTreeView_->viewport()->installEventFilter(this);
    folderTreeView_->viewport()->setMouseTracking(true);
    subfolderReads_ = new SubfolderReads(this);
    connect(subfolderReads_, &SubfolderReads::finished, this, [this](const SubfolderRead& read) {
        ViewPositionKeeper keep(folderTreeView_);
        AddReadSubfolders(folderTree_, treeState_, read);
    });

    connect(folderTreeView_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (treeClick_ != NodeClick::Ignore)
            openFolderNode(folderModel_->idOf(index));
    });
    // Queued: the load resets the model, which must not happen inside the view's own
    // expand handling.
    connect(
        folderTreeView_, &QTreeView::expanded, this,
        [this](const QModelIndex& index) {
            const NodeTree::Id id = folderModel_->idOf(index);
            if (!folderTree_.contains(id))
                return;
            // A share is read aside: the window goes on answering while it comes.
            if (OnNetworkShare(folderTree_, id)) {
                if (!treeState_.wasExpanded(folderTree_.key(id)))
                    subfolderReads_->read(folderTree_.key(id));
                return;
            }
            BusyPointer busy;
            ViewPositionKeeper keep(folderTreeView_);
            ExpandFolderNode(folderTree_, treeState_, id);
        },
        Qt::QueuedConnection);
    connect(folderHistoryBox_, &HistoryListBox::Click, this,
            [this] { openFolderHistoryEntry(folderHistoryBox_->model().ListIndex()); });
    connect(folderHistoryBox_, &HistoryListBox::textEntered, this, &MainWindow::openTypedFolder);
}

void MainWindow::openFolderNode(NodeTree::Id id)
{
    if (!folderTree_.contains(id))
        return;
    std::optional<QString> folder;
    {
        BusyPointer busy;
        ViewPositionKeeper keep(folderTreeView_);
        folder = OpenFolderNode(folderTree_, treeState_, id);
    }
    if (!folder)
        return;
    if (OnNetworkShare(folderTree_, id))
        subfolderReads_->read(folderTree_.key(id));
    lblPath_->setText(platform::displayFileName(treeState_.lastOpenedKey));
    // The new path is painted before the folder is read, without running the event loop:
    // a click handled now would act on a list that is being replaced.
    lblPath_->repaint();
    const QString before = statusBar()->currentMessage();
    const QString path = treeState_.lastOpenedKey;
    listFolder(*folder, [this, path, before](int count) {
        if (count > 0)
            RecordFolder(path);
        else
            statusBar()->showMessage(before);
        reportCancelledListing(path);
    });
}

void MainWindow::loadTreeFolders(const QString& key)
{
    if (OnNetworkShare(folderTree_, folderTree_.find(key)))
        subfolderReads_->read(key);
    else
        LoadSubfolders(folderTree_, key);
}

void MainWindow::reportCancelledListing(const QString& path)
{
    if (fileList_->listingCancelled())
        statusBar()->showMessage(platform::displayFileName(WithSlash(path)) +
                                 QStringLiteral(" - listing cancelled"));
}

void MainWindow::openFolderHistoryEntry(int index)
{
    const HistoryList& rows = folderHistoryBox_->model();
    const QString path = HistoryRowFolder(rows, index);
    if (path.isEmpty())
        return;
    if (rows.GetItemData(index) != 0) {
        loadTreeFolders(path);
        lblPath_->setText(platform::displayFileName(path));
    }
    // The closed drop-down and "Loading ..." are painted before the folder is read.
    const QString before = statusBar()->currentMessage();
    statusBar()->showMessage(QStringLiteral("Loading ..."));
    statusBar()->repaint();
    // A folder without files is not opened; the list stays as it was.
    fileList_->openFolderWithFiles(WithSlash(path), [this, path, before](std::optional<int> count) {
        if (!count) {
            statusBar()->showMessage(before);
            return;
        }
        lblPath_->setText(platform::displayFileName(path));
        treeState_.lastOpenedKey = path;
        statusBar()->showMessage(platform::displayFileName(WithSlash(path)));
        reportCancelledListing(path);
    });
}

void MainWindow::openTypedFolder(const QString& typed)
{
    const QString current = fileList_->state().setup().currentFolder;
    QString path = TypedFolderPath(typed, current, QDir::homePath());
    // Blanks around a pasted path are no part of it, unless a folder's name has them.
    if (!platform::isFolder(path))
        path = TypedFolderPath(typed.trimmed(), current, QDir::homePath());
    if (path.isEmpty())
        return;
    if (!platform::isFolder(path)) {
        prompts_.message(QStringLiteral("folder not found:") + LineBreak +
                         platform::displayFileName(path));
        return;
    }
    listFolderPath(path);
}

void MainWindow::listFolderPath(const QString& path, std::function<void()> then)
{
    lblPath_->setText(platform::displayFileName(path));
    treeState_.lastOpenedKey = path;
    const QString before = statusBar()->currentMessage();
    listFolder(path, [this, path, before, then = std::move(then)](int count) {
        if (count > 0)
            RecordFolder(path);
        else
            statusBar()->showMessage(before);
        reportCancelledListing(path);
        if (then)
            then();
    });
}

void MainWindow::folderTreeMouse(QMouseEvent* event)
{
    treeClick_ = NodeClick::None;
    const NodeTree::Id id = folderTreeView_->nodeAt(event->position().toPoint());
    treeState_.CurrentFolderNode = id;
    if (!folderTree_.contains(id))
        return;
    if (event->button() == Qt::LeftButton) {
        if (folderTree_.mark(id) == NodeMark::Unloaded)
            folderTree_.setSelectedImage(id, FolderImageKey(FolderImage::Open));
        return;
    }
    const QString key = folderTree_.key(id);
    if (event->button() != Qt::RightButton || key == QLatin1String("SpecialFolders") ||
        key == QLatin1String("desk") || key.startsWith(QLatin1String("root")) ||
        !key.startsWith(u'/'))
        return;
    const auto code =
        menus_->run<FolderMenuCode>(menus_->folderTree.menu, event->globalPosition().toPoint());
    if (code == FolderMenuCode::Properties)
        Q_EMIT folderPropertiesWanted(WithSlash(key));
    else if (code == FolderMenuCode::SizeTable)
        Q_EMIT folderSizeTableWanted(WithSlash(key));
    treeState_.CurrentFolderNode = NodeTree::None;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == folderTreeView_->viewport()) {
        if (event->type() == QEvent::MouseMove)
            treeClick_ = NodeClick::Ignore;
        else if (event->type() == QEvent::MouseButtonPress)
            folderTreeMouse(static_cast<QMouseEvent*>(event));
    } else if (watched == folderTreeView_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            treeClick_ = NodeClick::Ignore;
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                treeClick_ = NodeClick::None;
                openFolderNode(folderTreeView_->currentNode());
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            treeClick_ = NodeClick::Ignore;
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1)
                Q_EMIT folderPropertiesWanted(CurrentFolderPath());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
