#include "app/FolderHistory.h"
#include "app/gui/FolderTreeIcons.h"
#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "tools/gui/InfoForm.h"
#include "trees/TreeRebuild.h"
#include "trees/gui/TreeButtons.h"
#include "trees/gui/TreeMenus.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QColor rgb(quint32 value)
{
    return QColor(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
}

void applyPalette(QWidget* widget, quint32 background, quint32 foreground)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, rgb(background));
    palette.setColor(QPalette::Text, rgb(foreground));
    widget->setPalette(palette);
}

// The history list keeps colours as 0x00BBGGRR, the settings as 0xRRGGBB.
quint32 bgrOf(quint32 rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

QFont fontOf(const FontSetting& setting)
{
    QFont font(setting.name);
    if (setting.size > 0)
        font.setPointSizeF(setting.size);
    return font;
}

} // namespace

void MainWindow::buildLayout()
{
    menuBar()->addMenu(menus_->file.menu);
    menuBar()->addMenu(menus_->window.menu);
    menuBar()->addMenu(menus_->list.menu);
    // Shortcuts of menu-bar items work wherever the focus is in this window.
    addAction(menus_->file.help);
    addAction(menus_->file.exit);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    setCentralWidget(splitter_);

    treePane_ = new QWidget(splitter_);
    auto* treeLayout = new QVBoxLayout(treePane_);
    treeLayout->setContentsMargins(2, 2, 0, 2);
    treeLayout->setSpacing(2);
    folderHistoryBox_ = new HistoryListBox(prompts_, treePane_);
    folderHistoryBox_->setObjectName(QStringLiteral("FolderHistory"));
    folderHistoryBox_->setToolTip(QStringLiteral("Folder history"));
    folderHistoryBox_->model().props.Enabled = true;
    folderHistoryBox_->model().props.Mode = 1;
    folderHistoryBox_->setPictureSource(FolderHistoryIcon);
    folderHistoryBox_->refresh();
    lblPath_ = new QLabel(treePane_);
    lblPath_->setObjectName(QStringLiteral("lblPath"));
    lblPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderTreeView_ = new NodeTreeView(treePane_);
    folderTreeView_->setObjectName(QStringLiteral("tvwDirTree"));
    folderTreeView_->setHeaderHidden(true);
    folderTreeView_->setUniformRowHeights(true);
    folderTreeView_->setIconSize(QSize(16, 16));
    folderTreeView_->setExpandsOnDoubleClick(false);
    folderModel_ = std::make_unique<NodeTreeModel>(folderTree_);
    folderModel_->setIconProvider(FolderTreeIcon);
    folderTreeView_->setNodeModel(folderModel_.get());
    treeLayout->addWidget(folderHistoryBox_);
    treeLayout->addWidget(lblPath_);
    treeLayout->addWidget(folderTreeView_, 1);

    listPane_ = new QWidget(splitter_);
    auto* listLayout = new QVBoxLayout(listPane_);
    listLayout->setContentsMargins(0, 2, 2, 2);
    fileList_ = new FileListPanel(settings_, prompts_, GroupedTrees(), listPane_);
    fileList_->setCancelKey(&escape_);
    connect(fileList_, &FileListPanel::loading, this, [this](qint64 filesRead) {
        if (!showingLoading_) {
            messageBeforeLoading_ = statusBar()->currentMessage();
            showingLoading_ = true;
        }
        statusBar()->showMessage(QStringLiteral("Loading ...") +
                                 (filesRead > 0 ? QLatin1Char(' ') + QString::number(filesRead) +
                                                      QStringLiteral(" files")
                                                : QString()));
    });
    // "Loading ..." stands only while a read runs.
    connect(fileList_, &FileListPanel::loadingFinished, this, [this] {
        if (!showingLoading_)
            return;
        showingLoading_ = false;
        statusBar()->showMessage(messageBeforeLoading_);
    });
    treeButtons_ =
        new TreeButtons(fileList_->state(), *fileList_->fileList(), settings_, fileList_);
    treeButtons_->setRebuilder(fileList_);
    fileList_->buttonSlot()->addWidget(treeButtons_->sortButton());
    fileList_->buttonSlot()->addWidget(treeButtons_->treeButton());
    listLayout->addWidget(fileList_);

    splitter_->addWidget(treePane_);
    splitter_->addWidget(listPane_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({width() / 3, width() - width() / 3});
    statusBar()->showMessage(QString());

    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        settings_.settingsChanged = SettingsChange::AskAtExit;
        const WindowState now = windowState();
        settings_.treeWidth = now.treeWidth;
        settings_.treeHeight = now.treeHeight;
        settings_.listWidth = now.listWidth;
        settings_.listHeight = now.listHeight;
    });
}

void MainWindow::applyLoadedSettings(bool profileRead)
{
    if (profileRead) {
        const Geometry& g = settings_.mainWindow;
        if (g.width > 0 && g.height > 0) {
            resize(g.width, g.height);
            move(g.left, g.top);
        }
    }
    applyFonts();
    applyColours();
    applyTiling();
    if (profileRead) {
        const bool stacked = settings_.tileHorizontal;
        const int tree = stacked ? int(settings_.treeHeight) : settings_.treeWidth;
        const int list = stacked ? int(settings_.listHeight) : settings_.listWidth;
        if (tree > 0 && list > 0)
            splitter_->setSizes({tree, list});
    }
    // The plain list is shown: offer the extension tree, withhold the name tree.
    treeButtons_->menus().treeformat.nameTree->setVisible(false);
    treeButtons_->menus().treeformat.extensionTree->setVisible(true);
}

void MainWindow::applyFonts()
{
    folderTreeView_->setFont(fontOf(settings_.treeFont));
    folderHistoryBox_->setFont(fontOf(settings_.treeFont));
    HistoryList::Properties& history = folderHistoryBox_->model().props;
    history.Fontname = settings_.treeFont.name;
    history.FontSize = settings_.treeFont.size;
    folderHistoryBox_->refresh();
    if (fileList_->fileList())
        fileList_->fileList()->setFont(fontOf(settings_.listFont));
}

void MainWindow::applyColours()
{
    const auto& c = settings_.colours;
    applyPalette(folderTreeView_, c[0], c[1]);
    applyPalette(folderHistoryBox_, c[0], c[1]);
    HistoryList& history = folderHistoryBox_->model();
    history.props.BackColor = bgrOf(c[0]);
    history.props.ForeColor = bgrOf(c[1]);
    for (int i = 0; i < history.ListCount(); ++i)
        history.UpdateForeColor(i, history.props.ForeColor);
    folderHistoryBox_->refresh();
    if (fileList_->fileList())
        applyPalette(fileList_->fileList(), c[2], c[3]);
}

void MainWindow::applyTiling()
{
    const bool stacked = settings_.tileHorizontal;
    menus_->window.tile->setText(stacked ? QStringLiteral("Tile vertically")
                                         : QStringLiteral("Tile horizontally"));
    splitter_->setOrientation(stacked ? Qt::Vertical : Qt::Horizontal);
    // Before the window is shown the splitter has no size yet; the window's will do.
    const QSize area = splitter_->isVisible() ? splitter_->size() : size();
    const int total = stacked ? area.height() : area.width();
    // Half for the tree side by side, a third when stacked.
    const int tree = stacked ? total / 3 : total / 2;
    splitter_->setSizes({tree, total - tree});
}

void MainWindow::windowDefault()
{
    // A maximised window gets its normal size only later; split when it has it.
    splitOnRestore_ = isMaximized() || isFullScreen();
    showNormal();
    applyTiling();
    if (viewWindow_)
        viewWindow_->showNormal();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (splitOnRestore_ && !isMaximized() && !isFullScreen()) {
        splitOnRestore_ = false;
        // The layout has given the splitter its new size before this handler runs.
        applyTiling();
    }
}

void MainWindow::toggleTiling()
{
    settings_.tileHorizontal = !settings_.tileHorizontal;
    applyTiling();
}

void MainWindow::fillFolderHistory(const std::vector<platform::Volume>& volumes)
{
    HistoryList& rows = folderHistoryBox_->model();
    SetHistoryFolders(rows, settings_.folderHistory);
    AppendVolumeRows(rows, volumes);
    folderHistoryBox_->refresh();
    folderHistoryBox_->ShowItem(0);
}
