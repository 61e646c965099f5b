#include "app/gui/MainWindow.h"

#include "app/FolderHistory.h"
#include "app/RunFile.h"
#include "app/TempFolder.h"
#include "app/gui/BasketWiring.h"
#include "app/gui/FrameMenus.h"
#include "app/gui/ProgramIcon.h"
#include "app/gui/SizeBarCommands.h"
#include "app/gui/SizeTableCommands.h"
#include "archive/ExamineArchive.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "browse/gui/SubfolderReads.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/ScreenFit.h"
#include "controls/gui/WindowGuards.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/SystemInfo.h"
#include "shared/FileKind.h"
#include "shared/TextHelpers.h"
#include "tools/gui/InfoForm.h"
#include "view/ViewRequest.h"
#include "view/fonts/gui/IconFontViews.h"
#include "view/table/gui/TableViewer.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

MainWindow::MainWindow(QWidget* parent, Prompts* prompts)
    : QMainWindow(parent), qtPrompts_(this), viewQtPrompts_(nullptr),
      prompts_(prompts ? *prompts : qtPrompts_), escape_(this)
{
    setWindowTitle(QStringLiteral("Lumara"));
    // Every window of the program (the view window, the dialogs) shows it too.
    QApplication::setWindowIcon(ProgramIcon());
    resize(1000, 680);
    menus_ = new FrameMenus(this);
    buildLayout();
    connectMenus();
    connectFolderTree();
    connectFileList();
    basket_ = new BasketWiring(*this, this);
}

// The model goes before the tree it observes (member order); the view, deleted later
// with the widgets, lets go of its model when the model is destroyed.
MainWindow::~MainWindow()
{
    // A window that ends without being closed (the application quit) leaves nothing.
    if (!unloaded_)
        DeleteTempFolder(settings_.workFolder);
}

void MainWindow::start(const QString& appFolder)
{
    settings_.extensionNames = true;
    settings_.showSystemHidden = false;
    settings_.tabColorSwap = false;
    settings_.settingsChanged = SettingsChange::Unchanged;
    settings_.unknownAsText = false;
    setWindowTitle(QStringLiteral("Lumara"));

    FolderTreeSources sources = treeSources_ ? *treeSources_ : FolderTreeSources::system();
    sources.computerIcon = true;
    subfolderReads_->setReader(sources.readSubfolders);
    {
        BusyPointer busy;
        BuildFolderTree(folderTree_, sources);
    }

    const bool read =
        LoadSettings(settings_, appFolder.isEmpty() ? platform::programFolder() : appFolder,
                     windowState(), prompts_);
    applyLoadedSettings(read);
    const WorkingFolder work = OpenWorkingFolder(settings_.tempFolder);
    settings_.workFolder = work.path;
    if (!work.notice.isEmpty())
        prompts_.message(work.notice);

    escape_.clear();
    fillFolderHistory(sources.volumes);
    KeepOnScreen(this);
    // Without stored sizes the tree takes a third of the window as it fits the screen,
    // so that a small screen leaves the list and its tab captions their room.
    if (!read || settings_.treeWidth <= 0 || settings_.listWidth <= 0)
        splitter_->setSizes({width() / 3, width() - width() / 3});
    show();
    // The keys of the menus (Ctrl+X is "Exit") must not land in the folder field, where
    // they would edit its text.
    folderTreeView_->setFocus(Qt::OtherFocusReason);
    // The loaded sizes as the window manager and the layout really applied them are
    // the baseline of the geometry check at exit: taken now, and again once the event
    // loop has run the layout and the window manager's answer.
    takeGeometryBaseline();
    QTimer::singleShot(0, this, &MainWindow::takeGeometryBaseline);
}

void MainWindow::takeGeometryBaseline()
{
    const WindowState shown = windowState();
    settings_.mainWindow = shown.mainWindow;
    settings_.treeWidth = shown.treeWidth;
    settings_.treeHeight = shown.treeHeight;
    settings_.listWidth = shown.listWidth;
    settings_.listHeight = shown.listHeight;
}

void MainWindow::useFolderTreeSources(FolderTreeSources sources)
{
    treeSources_ = std::move(sources);
}

ViewWindow* MainWindow::viewWindow()
{
    if (!viewWindow_) {
        // Message boxes raised from the view window belong to it, so that the main
        // window does not jump in front of the view.
        Prompts& viewPrompts = &prompts_ == &qtPrompts_ ? viewQtPrompts_ : prompts_;
        viewWindow_ = new ViewWindow(settings_, viewPrompts, this);
        viewQtPrompts_.setParent(viewWindow_);
        new PictureSoundViews(*viewWindow_, viewPrompts, escape_);
        new IconFontViews(*viewWindow_, viewPrompts, escape_);
        new TableViewer(*viewWindow_, settings_, viewPrompts, escape_);
        connect(viewWindow_, &ViewWindow::optionsWanted, this, &MainWindow::openOptions);
        const Geometry& g = settings_.viewWindow;
        // Same terms as windowState() reads them back: frame position, client size.
        if (g.width > 0 && g.height > 0) {
            viewWindow_->resize(g.width, g.height);
            viewWindow_->move(g.left, g.top);
        }
        basket_->placeOn(viewWindow_);
        // The file history draws its rows with the file list's pictures.
        viewWindow_->setHistoryPictures(
            [list = fileList_](int index) { return list->imageIcon(QString::number(index)); });
        sizeBars_->attach(viewWindow_);
    }
    return viewWindow_;
}

void MainWindow::TriggerView(const ViewRequest& request)
{
    ViewWindow* view = viewWindow();
    const bool firstShow = !view->isVisible();
    if (view->isMinimized())
        view->showNormal();
    else
        view->show();
    view->raise();
    // Without a stored geometry, where the view window first appears is the baseline
    // of the geometry check at exit, so merely viewing a file asks nothing.
    if (firstShow && settings_.viewWindow.width <= 0) {
        const auto baseline = [this, view] {
            settings_.viewWindow = {view->width(), view->height(), view->x(), view->y()};
        };
        baseline();
        QTimer::singleShot(0, view, baseline); // once the window manager has placed it
    }
    view->TriggerView(request);
}

void MainWindow::showHelp()
{
    const QString folder = platform::helpFolder(settings_.appFolder);
    if (!platform::isRegularFile(folder + QStringLiteral("Lumarahelp.htm"))) {
        prompts_.message(QStringLiteral("help file not found"));
        return;
    }
    TriggerView({folder, QStringLiteral("Lumarahelp.htm"), QStringLiteral(".HTM"), FileKind::Html});
    viewWindow()->SetViewPath(QStringLiteral("Varnex Help"));
}

void MainWindow::runFile(const QString& displayName, const QString& fullPath)
{
    RunFile(displayName, fullPath, ExtensionOf(fullPath), prompts_,
            RunFileShell::desktop(prompts_));
}

QString MainWindow::CurrentFolderPath() const
{
    const NodeTree& list = fileList_->state().tree();
    const QString rootText =
        list.root() == NodeTree::None ? QString() : list.node(list.root()).text;
    return ::CurrentFolderPath(treeState_, rootText);
}

void MainWindow::listFolder(const QString& path, std::function<void(int count)> done)
{
    fileList_->openFolder(
        path, [done = std::move(done)](std::optional<int> count) { done(count.value_or(0)); });
}

void MainWindow::RecordFolder(const QString& path)
{
    ::RecordFolder(folderHistoryBox_->model(), path);
    folderHistoryBox_->ShowItem(0);
    statusBar()->showMessage(platform::displayFileName(WithSlash(path)));
}

void MainWindow::showArchiveEntry(const QString& archivePath, const QString& entryName)
{
    ArchiveSession session;
    session.request = ArchiveRequest::Details;
    session.entryName = entryName;
    ExamineArchive(archivePath, session, prompts_);
    if (!session.Details.isEmpty())
        ShowArchiveEntryProperties(session.Details, prompts_, this);
}

void MainWindow::handleFileCommand(NodeActionKind kind, const QString& folder, const QString& name)
{
    if (basket_->handleFileCommand(kind, folder, name))
        return;
    switch (kind) {
    case NodeActionKind::View:
    case NodeActionKind::ViewIcons: {
        const QString extension = ExtensionOf(name);
        TriggerView({folder, name, extension, ClassifyFileKind(extension, settings_),
                     kind == NodeActionKind::ViewIcons});
        break;
    }
    case NodeActionKind::Run:
        runFile(name, folder + name);
        break;
    case NodeActionKind::Properties:
        ShowFileProperties(folder + name, prompts_, this);
        break;
    case NodeActionKind::ExpandArchives:
        fileList_->showAllZippedFiles(escape_);
        break;
    case NodeActionKind::CollapseArchives:
        fileList_->collapseZippedFiles();
        break;
    default:
        break;
    }
}

WindowState MainWindow::windowState() const
{
    WindowState now = WindowState::from(settings_);
    now.treeFont = {folderTreeView_->font().family(), folderTreeView_->font().pointSizeF()};
    if (fileList_ && fileList_->fileList()) {
        const QFont font = fileList_->fileList()->font();
        now.listFont = {font.family(), font.pointSizeF()};
    }
    now.mainWindow = {width(), height(), x(), y()};
    now.treeWidth = treePane_->width();
    now.treeHeight = treePane_->height();
    now.listWidth = listPane_->width();
    now.listHeight = listPane_->height();
    if (viewWindow_)
        now.viewWindow = {viewWindow_->width(), viewWindow_->height(), viewWindow_->x(),
                          viewWindow_->y()};
    return now;
}
