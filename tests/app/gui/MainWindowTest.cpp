#include "app/gui/MainWindow.h"

#include "app/gui/FrameMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterMenus.h"
#include "browse/gui/FilterStrip.h"
#include "common/ListingWait.h"
#include "common/RunTool.h"
#include "common/TableFixtures.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/KivTabsWidget.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "tools/gui/FindForm.h"
#include "trees/gui/TreeButtons.h"
#include "view/ViewRequest.h"
#include "view/window/gui/ViewWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void key(QWidget* target, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void rightClick(NodeTreeView* view, NodeTree::Id id)
{
    const QPoint at = view->visualRect(view->nodeModel()->indexOf(id)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
}

/// Opens the history list and left-clicks row `index` in it, as a user chooses an entry.
void chooseHistoryRow(HistoryListBox* box, int index)
{
    box->dropButton()->click();
    ASSERT_TRUE(box->isDroppedDown());
    QWidget* rows = box->rowsViewport();
    const QPoint at(10, (index - box->model().props.TopIndex) * box->rowHeight() + 2);
    QMouseEvent release(QEvent::MouseButtonRelease, at, rows->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &release);
}

/// With LUMARA_SHOTS set, saves a picture of the screen (of the widget on the offscreen
/// platform) there, for a person to look at.
void shot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMARA_SHOTS");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    const QPixmap picture = QGuiApplication::platformName() == QLatin1String("offscreen")
                                ? widget->window()->grab()
                                : widget->screen()->grabWindow(0);
    picture.save(folder + '/' + name + ".png");
}

/// Every path below `folder`, relative, sorted.
QStringList everythingBelow(const QString& folder)
{
    QStringList all;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << it.next().mid(folder.size() + 1);
    all.sort();
    return all;
}

} // namespace

TEST(MainWindow, ProfileFromFirstStartToExitAndBack)
{
    TempTree tree;
    {
        ScriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.start(tree.root());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumara"));
        EXPECT_EQ(prompts.shownTexts(),
                  QStringList{"error reading profile, defaults will be used"});
        EXPECT_EQ(window.settings().profilePath, tree.path("Lumara.pro"));
        // The volumes follow the folders in the history drop-down.
        EXPECT_GE(window.folderHistoryBox()->model().Find("/\tFixed"), 0);
        window.menus().file.exit->trigger();
        EXPECT_EQ(prompts.shown.size(), 1) << "Exit saves without asking";
        EXPECT_TRUE(QFile::exists(tree.path("Lumara.pro")));
    }
    {
        ScriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.start(tree.root());
        window.close();
        EXPECT_TRUE(prompts.shown.isEmpty()) << "a saved profile reads silently, and closing "
                                                "without changes asks nothing";
    }
    {
        ScriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.start(tree.root());
        QApplication::processEvents(); // the window manager places the window first
        window.resize(window.width() + 40, window.height() + 30);
        QApplication::processEvents();
        window.close();
        EXPECT_EQ(prompts.shownTexts(), QStringList{"save options ?"});
    }
}

TEST(MainWindow, FolderTreeActsOnEnterAndMenuCodes)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    NodeTreeView* view = window.folderTreeView();
    NodeTree& folders = window.folderTree();
    const NodeTree::Id rootVolume = folders.find("/");
    ASSERT_NE(rootVolume, NodeTree::None);
    const size_t before = folders.children(rootVolume).size();
    EXPECT_LE(before, 1u);

    // Arrow keys move the selection but load nothing; Enter opens the folder.
    view->setFocus();
    view->setCurrentIndex(view->nodeModel()->indexOf(folders.find("root")));
    key(view, Qt::Key_Down);
    EXPECT_EQ(view->currentNode(), rootVolume);
    EXPECT_EQ(folders.children(rootVolume).size(), before);
    EXPECT_EQ(window.folderTreeState().CurrentFolderNode, NodeTree::None);
    key(view, Qt::Key_Return);
    EXPECT_EQ(window.folderTreeState().CurrentFolderNode, rootVolume);
    EXPECT_GT(folders.children(rootVolume).size(), before);
    EXPECT_EQ(window.CurrentFolderPath(), QStringLiteral("/"));

    // The folder pop-up: "S" and "P" ask for their commands with the folder, then the
    // current node is cleared.
    QStringList sized, shown;
    QObject::disconnect(&window, &MainWindow::folderSizeTableWanted, nullptr, nullptr);
    QObject::disconnect(&window, &MainWindow::folderPropertiesWanted, nullptr, nullptr);
    QObject::connect(&window, &MainWindow::folderSizeTableWanted,
                     [&](const QString& f) { sized << f; });
    QObject::connect(&window, &MainWindow::folderPropertiesWanted,
                     [&](const QString& f) { shown << f; });
    const NodeTree::Id usr = folders.find("/usr");
    ASSERT_NE(usr, NodeTree::None);
    view->setExpanded(view->nodeModel()->indexOf(rootVolume), true);
    QApplication::processEvents();
    for (QAction* choice : {window.menus().folderTree.size, window.menus().folderTree.properties}) {
        QTimer::singleShot(0, &window, [&, choice] {
            choice->trigger();
            window.menus().folderTree.menu->close();
        });
        rightClick(view, usr);
    }
    EXPECT_EQ(sized, QStringList{"/usr/"});
    EXPECT_EQ(shown, QStringList{"/usr/"});
    EXPECT_EQ(window.folderTreeState().CurrentFolderNode, NodeTree::None);
    window.menus().file.exit->trigger();
}

TEST(MainWindow, FolderHistoryKeepsFoldersWithFilesAndClearsFromItsMenu)
{
    TempTree fixture;
    fixture.file("full/a.txt", 3);
    fixture.file("other/b.txt", 3);
    fixture.folder("empty/sub");
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(fixture.root());
    NodeTree& folders = window.folderTree();

    // Load the tree down to the fixture, one folder level at a time.
    QString path;
    for (const QString& part : fixture.root().split('/', Qt::SkipEmptyParts)) {
        LoadSubfolders(folders, path.isEmpty() ? QStringLiteral("/") : path);
        path += '/' + part;
    }
    LoadSubfolders(folders, path);
    const auto open = [&](const char* name) {
        const NodeTree::Id id = folders.find(fixture.path(name));
        ASSERT_NE(id, NodeTree::None) << name;
        window.openFolderNode(id);
        ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    };
    open("full");
    open("other");
    open("empty");
    open("full");
    HistoryListBox* box = window.folderHistoryBox();
    const HistoryList& rows = box->model();
    ASSERT_GE(rows.ListCount(), 3);
    EXPECT_EQ(rows.list(0), fixture.path("full"));
    EXPECT_EQ(rows.list(1), fixture.path("other"));
    EXPECT_EQ(rows.GetItemData(2), -1) << "the volumes follow the folders";
    EXPECT_EQ(box->editField()->text(), fixture.path("full"));

    // "Clear" from the list's own menu: nothing is left to save.
    prompts.answers << Prompts::Answer::Yes;
    QTimer::singleShot(0, [box] {
        for (QAction* action : box->popupMenu()->actions()) {
            if (action->text() == QStringLiteral("Clear"))
                action->trigger();
        }
        box->popupMenu()->close();
    });
    QMouseEvent right(QEvent::MouseButtonRelease, QPoint(5, 5),
                      box->rowsViewport()->mapToGlobal(QPoint(5, 5)), Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(box->rowsViewport(), &right);
    EXPECT_EQ(prompts.shownTexts().last(), "do you wish to clear contents?");
    EXPECT_EQ(rows.ListCount(), 0);
    window.menus().file.exit->trigger();
    EXPECT_TRUE(window.settings().folderHistory.isEmpty());
}

TEST(MainWindow, HistoryRouteShowsLoadingAndTheWholeListAfterwards)
{
    TempTree fixture;
    for (const char* name : {"one", "two", "three", "four"})
        fixture.file(QStringLiteral("%1/a.txt").arg(name), 3);
    fixture.folder("nofiles/sub");
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(fixture.root());
    window.settings().folderHistory.clear();
    for (const char* name : {"one", "two", "three", "four"})
        window.RecordFolder(fixture.path(name));
    window.RecordFolder(fixture.path("nofiles"));
    HistoryListBox* box = window.folderHistoryBox();
    QStatusBar* status = window.statusBar();

    // "Loading ..." is painted before the folder is read.
    struct PaintWatch : QObject {
        QStatusBar* bar = nullptr;
        int loadingPaints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && bar->currentMessage() == "Loading ...")
                ++loadingPaints;
            return false;
        }
    } watch;
    watch.bar = status;
    status->installEventFilter(&watch);
    const int three = box->model().Find(fixture.path("two"));
    ASSERT_GT(three, 0);
    chooseHistoryRow(box, three);
    ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    EXPECT_FALSE(box->isDroppedDown());
    EXPECT_EQ(box->editField()->text(), fixture.path("two"));
    EXPECT_GT(watch.loadingPaints, 0);
    EXPECT_EQ(status->currentMessage(), fixture.path("two/"));
    EXPECT_EQ(window.fileListPanel()->state().setup().currentFolder, fixture.path("two/"));

    // A folder without files leaves the list and the status as they were.
    chooseHistoryRow(box, 0);
    ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    EXPECT_EQ(window.fileListPanel()->state().setup().currentFolder, fixture.path("two/"));
    EXPECT_EQ(status->currentMessage(), fixture.path("two/"));

    // Reading the folder again shows "Loading ..." only while it reads.
    window.fileListPanel()->refresh();
    ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    EXPECT_EQ(status->currentMessage(), fixture.path("two/"));

    // The opened list hangs under the field, as wide as it, with rows enough in sight.
    box->dropButton()->click();
    ASSERT_TRUE(box->isDroppedDown());
    const QWidget* popup = box->rowsViewport()->window();
    EXPECT_EQ(popup->geometry().top(), box->mapToGlobal(QPoint(0, box->height())).y());
    EXPECT_EQ(popup->width(), box->width());
    EXPECT_GE(box->rowsViewport()->height(),
              std::min(box->model().ListCount(), 8) * box->rowHeight());
    shot(&window, "folder-history-open");
    box->setDroppedDown(false);

    window.menus().file.exit->trigger();
}

TEST(MainWindow, DefaultAfterMaximiseSplitsTheRestoredWindowInHalf)
{
    TempTree fixture;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(fixture.root());
    window.resize(500, 400);
    QApplication::processEvents();
    window.menus().window.maximise->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(window.isMaximized());
    ASSERT_GT(window.width(), 600);
    window.menus().window.defaultLayout->trigger();
    QApplication::processEvents();
    ASSERT_FALSE(window.isMaximized());
    auto* splitter = qobject_cast<QSplitter*>(window.centralWidget());
    ASSERT_NE(splitter, nullptr);
    const QList<int> sizes = splitter->sizes();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_LE(std::abs(sizes[0] - sizes[1]), splitter->handleWidth() + 1)
        << sizes[0] << " / " << sizes[1];
    shot(&window, "window-default");
    window.menus().file.exit->trigger();
}

TEST(MainWindow, SizeTableBringsAMinimisedViewWindowBack)
{
    TempTree fixture;
    fixture.file("data/a.txt", 3);
    fixture.file("data/b.txt", 4);
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(fixture.root());
    ViewWindow* view = window.viewWindow();
    view->show();
    view->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(view->isMinimized());
    Q_EMIT window.folderSizeTableWanted(fixture.path("data/"));
    // The folder is read aside; the table comes when the read is back.
    QElapsedTimer clock;
    clock.start();
    while (view->isMinimized() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(view->isMinimized());
    EXPECT_TRUE(view->isVisible());
    window.menus().file.exit->trigger();
}

TEST(MainWindow, TheViewWindowOwnsItsMessages)
{
    MainWindow window; // real message boxes
    ViewWindow* view = window.viewWindow();
    view->show();
    QApplication::processEvents();
    shot(view, "view-window");

    QWidget* owner = nullptr;
    QTimer::singleShot(0, view, [&owner] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            owner = box->parentWidget();
            box->close();
        }
    });
    view->OpenFileHistoryEntry(QStringLiteral("/no/such/file.txt"));
    EXPECT_EQ(owner, view);
}

TEST(MainWindow, FilterTabShowsTheRebuiltListFromItsFirstNodeUnsorted)
{
    TempTree fixture;
    for (int i = 0; i < 300; ++i)
        fixture.file(
            QStringLiteral("big/f%1.%2").arg(i, 3, 10, QChar('0')).arg(i % 2 ? "txt" : "bin"), 1);
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(fixture.root());
    FileListPanel* panel = window.fileListPanel();
    ASSERT_EQ(OpenAndWait(*panel, fixture.path("big")), 300);
    TreeButtons* buttons = window.treeButtons();
    ASSERT_TRUE(buttons->prepareSortMenu());
    buttons->chooseSort(SortChoice::ByName);
    buttons->chooseSort(SortChoice::ByName);
    ASSERT_TRUE(WaitForListing(*panel));
    ASSERT_EQ(buttons->sortButton()->toolTip(), "Sorted by Name - Descending");
    QScrollBar* scroll = panel->fileList()->verticalScrollBar();
    QApplication::processEvents();
    scroll->setValue(scroll->maximum());
    ASSERT_GT(scroll->value(), 0);

    auto* tabs = window.findChild<KivTabsWidget*>("FilterButton");
    ASSERT_NE(tabs, nullptr);
    const QPoint at = tabs->tabs().tabRect(1, tabs->width(), tabs->height()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, tabs->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &press);
    ASSERT_TRUE(WaitForListing(*panel));
    EXPECT_EQ(panel->state().tree().count(), 151);
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(buttons->sortButton()->toolTip(), "Not sorted");
    shot(&window, "filter-tab-click");
    // Narrow list pane: the tabs shorten their captions.
    auto* splitter = qobject_cast<QSplitter*>(window.centralWidget());
    splitter->setSizes({window.width() - 230, 230});
    shot(&window, "narrow-tabs");
    // Grouped tree with the category icons on.
    window.settings().tabColorSwap = 1;
    splitter->setSizes({window.width() / 2, window.width() / 2});
    QApplication::processEvents();
    const QPoint all = tabs->tabs().tabRect(8, tabs->width(), tabs->height()).center();
    QMouseEvent pressAll(QEvent::MouseButtonPress, all, tabs->mapToGlobal(all), Qt::LeftButton,
                         Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &pressAll);
    ASSERT_TRUE(WaitForListing(*panel));
    shot(&window, "icons-plain");
    buttons->chooseTree(TreeType::Extension);
    buttons->expandAll();
    ASSERT_TRUE(WaitForListing(*panel));
    shot(&window, "icons-grouped");
    window.menus().file.exit->trigger();
}

TEST(MainWindow, FilterByContentsOpensTheFindDialogAsAContentFilter)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    FilterStrip* strip = window.filterStrip();
    ASSERT_NE(strip, nullptr);
    QAction* byContents = strip->menus().filter.byContents;
    EXPECT_TRUE(byContents->isEnabled());
    byContents->trigger();
    auto* form = window.findChild<FindForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Filter by File Contents");

    // The search holds the list until its end, as a listing would.
    tree.file("a.txt", QByteArray("alpha"));
    tree.file("b.txt", QByteArray("beta"));
    FileListPanel* panel = window.fileListPanel();
    ASSERT_GE(OpenAndWait(*panel, tree.root()), 2);
    form->contentBox(0)->setText("alpha");
    form->Apply();
    EXPECT_TRUE(panel->listing());
    ASSERT_TRUE(WaitForListing(*panel));
    EXPECT_EQ(prompts.shownTexts().last(), " 1 matching files found");
    EXPECT_EQ(panel->state().listedNames().ListCount(), 2);
    form->close();
}

TEST(MainWindow, ExitLeavesNothingItExtractedOrCopiedForItself)
{
    TempTree tree;
    const QString temp = tree.folder("temp");
    tree.file("data/src/a.txt", QByteArray("alpha"));
    if (!ZipWithTool(tree.path("data/src"), tree.path("data/plain.zip"), {"a.txt"}))
        GTEST_SKIP() << "Debian's zip is missing (scripts/setup.sh test installs it)";
    const bool database = WriteSampleDatabase(tree.path("data/db.mdb"));
    {
        ScriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.start(tree.root());
        window.settings().tempFolder = temp + "/";
        window.menus().file.exit->trigger();
    }
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    ASSERT_EQ(window.settings().tempFolder, temp + "/");
    EXPECT_TRUE(window.settings().workFolder.startsWith(temp + "/Lumara-"));

    FileListPanel* list = window.fileListPanel();
    ASSERT_GT(OpenAndWait(*list, tree.path("data")), 0);
    const QString zip = tree.path("data/plain.zip");
    list->handleNodeClick(list->state().tree().find(zip), NodeClick::View, {});
    list->handleNodeClick(list->state().tree().find(zip + "/a.txt"), NodeClick::View, {});
    EXPECT_TRUE(window.viewWindow()->CurrentViewFile().endsWith("/a.txt"));
    if (database) {
        window.TriggerView({tree.path("data") + "/", "db.mdb", ".MDB", FileKind::Db});
        EXPECT_TRUE(window.viewWindow()->viewMode() == ViewMode::Database);
    }
    EXPECT_FALSE(everythingBelow(temp).isEmpty());
    window.menus().file.exit->trigger();
    EXPECT_EQ(everythingBelow(temp), QStringList());

    // A window that ends without being closed leaves nothing either.
    auto unclosed = std::make_unique<MainWindow>(nullptr, &prompts);
    unclosed->start(tree.root());
    EXPECT_FALSE(everythingBelow(temp).isEmpty());
    unclosed.reset();
    EXPECT_EQ(everythingBelow(temp), QStringList());
}

TEST(MainWindow, StartsWithTheFocusOnTheFolderTreeSoCtrlXExits)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    window.activateWindow();
    QApplication::processEvents();
    QWidget* focus = window.focusWidget();
    EXPECT_EQ(focus, window.folderTreeView());
    ASSERT_NE(focus, nullptr);
    // A widget that accepts the override takes Ctrl+X for itself (a field cuts its text);
    // the tree lets the "Exit" shortcut have it.
    QKeyEvent ctrlX(QEvent::ShortcutOverride, Qt::Key_X, Qt::ControlModifier, QStringLiteral("x"));
    ctrlX.ignore();
    QApplication::sendEvent(focus, &ctrlX);
    EXPECT_FALSE(ctrlX.isAccepted());
}

TEST(MainWindow, APathTypedIntoTheFolderFieldOpensThatFolder)
{
    TempTree tree;
    tree.file("docs/a.txt", 3);
    tree.file("docs/b.txt", 4);
    tree.folder("bare");
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    prompts.shown.clear();
    QLineEdit* field = window.folderHistoryBox()->editField();
    const auto enter = [field, &window](const QString& text) {
        field->setText(text);
        key(field, Qt::Key_Return);
        ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    };

    enter(tree.path("docs") + "/");
    const FileList& listed = window.fileListPanel()->state();
    EXPECT_EQ(listed.setup().currentFolder, tree.path("docs/"));
    EXPECT_EQ(listed.listedNames().ListCount(), 3);
    EXPECT_EQ(window.folderHistoryBox()->model().list(0), tree.path("docs"));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A path from the folder shown, and a folder without files: listed as the tree lists it.
    enter("../bare");
    EXPECT_EQ(listed.setup().currentFolder, tree.path("bare/"));
    EXPECT_EQ(window.folderHistoryBox()->model().list(0), tree.path("docs"))
        << "a folder without files is not recorded";

    enter(tree.path("missing"));
    EXPECT_EQ(prompts.shownTexts(), QStringList{"folder not found:\r\n" + tree.path("missing")});
    EXPECT_EQ(listed.setup().currentFolder, tree.path("bare/"));
}

TEST(MainWindow, TheListMenuOffersTheAllviewItemsAndTheFilterMenu)
{
    TempTree tree;
    tree.file("src/note.txt", QByteArray("hello"));
    ASSERT_TRUE(RunTool(QStringLiteral("python3"),
                        {"-c",
                         "import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                         "z.write('note.txt'); z.close()",
                         tree.folder("list") + "/pack.zip"},
                        tree.path("src"))
                    .succeeded());
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());

    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, (QStringList{"File", "Window", "List"}));
    const FrameMenus::ListMenu& list = window.menus().list;
    QStringList captions;
    for (QAction* action : list.menu->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{"Expand all", "Collapse all", "Show all zipped files",
                                     "Collapse all zipped files", "", "Filter"}));
    EXPECT_EQ(list.menu->actions().last()->menu(), window.filterStrip()->menus().filter.menu);

    ASSERT_EQ(OpenAndWait(*window.fileListPanel(), tree.path("list")), 1);
    const NodeTree& files = window.fileListPanel()->state().tree();
    const NodeTree::Id archive = files.children(files.root()).front();
    list.showZipped->trigger();
    ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    ASSERT_EQ(files.children(archive).size(), 1u) << "the archive lists its entry";
    EXPECT_EQ(files.node(files.children(archive).front()).text, "note.txt");
    EXPECT_TRUE(files.node(archive).expanded);
    list.collapseZipped->trigger();
    EXPECT_FALSE(files.node(archive).expanded);
}
