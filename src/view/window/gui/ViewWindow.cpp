#include "view/window/gui/ViewWindow.h"

#include "controls/gui/GridView.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/ScreenFit.h"
#include "controls/gui/WindowGuards.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/SystemInfo.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/text/TextSlices.h"
#include "view/text/gui/SearForm.h"
#include "view/window/gui/ClickLabel.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QWebEngineView>
#include <algorithm>
#include <exception>

namespace {
const QString HelpFileName = QStringLiteral("Lumarahelp.htm");
}

ViewWindow::ViewWindow(Settings& settings, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), settings_(settings), prompts_(prompts)
{
    setWindowTitle(QStringLiteral("Varnex view"));
    buildControls();
    buildMenus();
    ReloadFileHistory();
    const Geometry& g = settings_.viewWindow;
    if (g.width > 0 && g.height > 0) {
        setGeometry(g.left, g.top, g.width, g.height);
    } else {
        // Placed by us rather than by the window manager, which may put it partly
        // below the screen's edge: centred on the screen, its frame on the screen.
        resize(900, 650);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.left() + std::max(0, (area.width() - 900) / 2),
                 area.top() + std::max(0, (area.height() - 650) / 3));
        }
    }
    KeepOnScreen(this);
    CloseView();
}

ViewWindow::~ViewWindow() = default;

void ViewWindow::buildControls()
{
    auto* area = new QWidget(this);
    setCentralWidget(area);

    backLabel_ = new ClickLabel(QStringLiteral("<< back"), area);
    backLabel_->setToolTip(QStringLiteral("Click to goback one display"));
    backLabel_->setCursor(Qt::PointingHandCursor);
    connect(backLabel_, &ClickLabel::clicked, this, &ViewWindow::GoBack);

    fileHistory_ = new HistoryListBox(prompts_, area);
    fileHistory_->setObjectName(QStringLiteral("Filehistory"));
    fileHistory_->setToolTip(QStringLiteral("File history"));
    HistoryList::Properties& history = fileHistory_->model().props;
    history.Enabled = true;
    history.Mode = 1;
    history.Fontname = font().family();
    history.BackColor = HistoryList::SystemColorFlag | 5; // window background
    fileHistory_->refresh();
    connect(fileHistory_, &HistoryListBox::Click, this, [this] {
        const HistoryList& rows = fileHistory_->model();
        if (rows.ListIndex() >= 0)
            OpenFileHistoryEntry(rows.list(rows.ListIndex()));
    });
    connect(fileHistory_, &HistoryListBox::rowsRearranged, this, &ViewWindow::takeFileHistoryRows);

    textBox_ = new QTextEdit(area);
    textBox_->setReadOnly(true);
    textBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    documentPreview_ = new ClickLabel(area);
    documentPreview_->setAlignment(Qt::AlignCenter);
    documentPreview_->setWordWrap(true);
    documentPreview_->setToolTip(
        QStringLiteral("Double-click to open the file in its application"));
    connect(documentPreview_, &ClickLabel::doubleClicked, this, &ViewWindow::openOleFile);

    runDocument_ = new QPushButton(QStringLiteral("Run"), area);
    runDocument_->setToolTip(QStringLiteral("Open the document in its default application"));
    connect(runDocument_, &QPushButton::clicked, this, &ViewWindow::openOleFile);

    firstChartNote_ =
        new QLabel(QStringLiteral("First chart: double-click to view full presentation"), area);
    firstChartNote_->setAutoFillBackground(true);

    grid_ = new GridView(area);
    basketGrid_ = new GridView(area);
    treeModel_ = new NodeTreeModel(tree_, this);
    treeView_ = new NodeTreeView(area);
    treeView_->setNodeModel(treeModel_);

    // Pictures, thumbnails, icons and the size bar chart draw on these pages.
    pageCanvas_ = new QWidget(area);
    sizeBarTab_ = new QWidget(area);
    sizeBarTab_->setObjectName(QStringLiteral("Sizebartab"));

    statusPath_ = new QLabel(this);
    statusMessage_ = new QLabel(this);
    statusBar()->addWidget(statusPath_, 3);
    statusBar()->addWidget(statusMessage_, 1);
    statusBar()->setObjectName(QStringLiteral("ViewName"));
}

void ViewWindow::TriggerView(const ViewRequest& request)
{
    BusyPointer busy;
    CloseView();
    if (isHidden())
        show();
    const QString path = request.fullPath();
    if (request.iconsView) {
        currentViewFile_ = path;
        if (const auto it = kindViews_.find(ViewAction::Icons); it != kindViews_.end())
            it->second(request);
        thumbPage_ = ThumbPage::Icons;
        return;
    }
    setViewMode(ViewMode::None);
    // Kinds that read the file are told first when it cannot be read: a pipe or a device
    // would block the window, and an unreadable file would only show an empty view.
    if (const ViewAction action = ViewActionFor(request.kind, request.extension);
        action != ViewAction::None && action != ViewAction::Basket) {
        if (const QString problem = platform::fileReadProblem(path); !problem.isEmpty()) {
            prompts_.message(QStringLiteral("cannot view ") + path + QStringLiteral(": ") +
                             problem);
            return;
        }
    }
    try {
        runKindView(request); // the dispatch ignores view errors
    } catch (const std::exception&) {
    }
    if (!inTempFolder(request.folder)) {
        RecordFile(path);
        selectHistoryEntry(path);
    }
    currentViewFile_ = path;
    showStatusFor(request);
}

namespace {

// Said in the status bar where a file's view is not built yet, instead of a blank pane.
QString missingViewNote(ViewAction action)
{
    switch (action) {
    case ViewAction::Picture:
        return QStringLiteral("pictures cannot be shown yet");
    case ViewAction::FontSample:
        return QStringLiteral("fonts cannot be shown yet");
    case ViewAction::Icons:
        return QStringLiteral("icons cannot be shown yet");
    default:
        return QStringLiteral("this file type cannot be shown yet");
    }
}

} // namespace

bool ViewWindow::runKindView(const ViewRequest& request)
{
    const QString path = request.fullPath();
    const ViewAction action = ViewActionFor(request.kind, request.extension);
    viewNote_.clear();
    switch (action) {
    case ViewAction::Text:
        ViewText(path);
        return true;
    case ViewAction::DocText:
        return ViewDoc(path);
    case ViewAction::Web:
        ViewWeb(path);
        return true;
    case ViewAction::Ole:
        ViewOle(request.extension, path);
        return true;
    case ViewAction::None:
        return true;
    default:
        break;
    }
    bool ok = true;
    if (const auto it = kindViews_.find(action); it != kindViews_.end())
        ok = it->second(request);
    else
        viewNote_ = missingViewNote(action);
    if (action == ViewAction::Spreadsheet)
        setViewMode(ViewMode::Workbook, path);
    return ok;
}

void ViewWindow::showStatusFor(const ViewRequest& request)
{
    SetViewMessage(viewNote_);
    const bool help =
        request.name == HelpFileName && request.folder == platform::helpFolder(settings_.appFolder);
    SetViewPath(help ? QStringLiteral("Varnex Help") : request.fullPath());
}

void ViewWindow::CloseView()
{
    RedrawLock lock(this);
    stopMedia();
    pageCanvas_->hide(); // every ThumbPic, picIcon, FullPicture1/2, scroll bars
    menuItem(ViewMenuItem::ShowSizeBar)->setChecked(false);
    firstChartNote_->hide();
    documentPreview_->hide(); // our OLE stand-in holds a picture that must not outlive its view
    runDocument_->hide();
    grid_->hide();
    basketGrid_->hide();
    treeView_->hide();
    treeView_->lower();
    treeView_->setFont(font()); // the system report's fixed pitch goes with it
    if (browser_)
        browser_->hide();
    // A sound, a video or an archive shows nothing of its own here: the text of a file
    // viewed before must not show through.
    textBox_->hide();
    if (searForm_)
        searForm_->state().textStart = 0; // the next file is searched from its beginning
    stopTextLoad();
    statusPath_->clear();
    statusMessage_->clear();
    thumbPage_ = ThumbPage::None;
    pointedItem_.clear();
    setViewMode(ViewMode::None);
    sizeBarTab_->hide();
    fileHistory_->lower();
}

void ViewWindow::stopMedia()
{
    Q_EMIT stopMediaRequested();
}

void ViewWindow::SetViewPath(const QString& text)
{
    const QString shown = platform::readableFileName(text); // raw name bytes as U+FFFD
    if (statusPath_->text() != shown)
        statusPath_->setText(shown);
}

void ViewWindow::setViewNote(const QString& text)
{
    viewNote_ = text;
    SetViewMessage(text);
}

void ViewWindow::SetViewMessage(const QString& text)
{
    if (statusMessage_->text() != text)
        statusMessage_->setText(text);
}

QString ViewWindow::statusPath() const
{
    return statusPath_->text();
}

QString ViewWindow::statusMessage() const
{
    return statusMessage_->text();
}

bool ViewWindow::inTempFolder(const QString& folder) const
{
    // Entries extracted into subfolders of TempFolder are just as temporary; this run's
    // own folder may lie elsewhere when TempFolder could not hold it.
    const auto inside = [&folder](const QString& temp) {
        return !temp.isEmpty() && WithSlash(folder).startsWith(WithSlash(temp));
    };
    return inside(settings_.tempFolder) || inside(settings_.workFolder);
}

void ViewWindow::RecordFile(const QString& path)
{
    settings_.fileHistory.removeAll(path);
    settings_.fileHistory.prepend(path);
    fileHistory_->RemoveItem(fileHistory_->model().Find(path));
    fileHistory_->Additem(path, 0, FileListIconIndex(ExtensionOf(path), settings_), 0,
                          HistoryList::RowKind::Path);
    fileHistory_->raise();
}

void ViewWindow::ReloadFileHistory()
{
    fileHistory_->Clear();
    for (const QString& path : std::as_const(settings_.fileHistory)) {
        if (!path.trimmed().isEmpty())
            fileHistory_->Additem(path, -1, FileListIconIndex(ExtensionOf(path), settings_), 0,
                                  HistoryList::RowKind::Path);
    }
}

void ViewWindow::takeFileHistoryRows()
{
    const HistoryList& rows = fileHistory_->model();
    settings_.fileHistory.clear();
    for (int i = 0; i < rows.ListCount(); ++i)
        settings_.fileHistory << rows.list(i);
}

void ViewWindow::selectHistoryEntry(const QString& path)
{
    const int index = fileHistory_->model().Find(path);
    if (index >= 0) {
        fileHistory_->ShowItem(index);
        return;
    }
    fileHistory_->model().setListIndex(-1);
    fileHistory_->editField()->clear();
}

void ViewWindow::OpenFileHistoryEntry(const QString& entry)
{
    if (entry.isEmpty() || entry == currentViewFile_)
        return;
    if (!platform::pathExists(entry)) {
        prompts_.message(QStringLiteral("file not found:") + LineBreak + entry);
        selectHistoryEntry(currentViewFile_);
        return;
    }
    BusyPointer busy;
    currentViewFile_ = entry;
    ViewRequest request;
    const qsizetype slash = entry.lastIndexOf(QLatin1Char('/'));
    request.folder = entry.left(slash + 1);
    request.name = entry.mid(slash + 1);
    request.extension = ExtensionOf(request.name);
    request.kind = ClassifyFileKind(request.extension, settings_);
    CloseView();
    if (request.kind == FileKind::None)
        return;
    bool ok = false;
    try {
        ok = runKindView(request);
    } catch (const std::exception&) {
        ok = false;
    }
    showStatusFor(request);
    if (!ok)
        prompts_.message(QStringLiteral("error in displaying file:") + LineBreak +
                         currentViewFile_);
}

void ViewWindow::setKindView(ViewAction action, KindView view)
{
    kindViews_[action] = std::move(view);
}

void ViewWindow::whenPageNeedsRedraw(QObject* context, std::function<void(ViewMode)> redraw)
{
    connect(this, &ViewWindow::pageNeedsRedraw, context, std::move(redraw));
}

void ViewWindow::whenViewEnds(QObject* context, std::function<void()> stop)
{
    connect(this, &ViewWindow::stopMediaRequested, context, std::move(stop));
}

QWidget& ViewWindow::statusArea()
{
    return *statusBar();
}

void ViewWindow::setShownPicture(const QImage& picture, const QString& name)
{
    shownPicture_ = picture;
    shownPictureName_ = name;
}
