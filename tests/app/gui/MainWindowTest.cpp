#include "app/gui/MainWindow.h"

#include "app/gui/FrameMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterMenus.h"
#include "browse/gui/FilterStrip.h"
#include "common/TempTree.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "tools/gui/FindForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
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
        EXPECT_GE(window.folderHistoryBox()->findText("/Fixed"), 0);
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
    for (QAction* choice : {window.menus().tvwview.size, window.menus().tvwview.properties}) {
        QTimer::singleShot(0, &window, [&, choice] {
            choice->trigger();
            window.menus().tvwview.menu->close();
        });
        rightClick(view, usr);
    }
    EXPECT_EQ(sized, QStringList{"/usr/"});
    EXPECT_EQ(shown, QStringList{"/usr/"});
    EXPECT_EQ(window.folderTreeState().CurrentFolderNode, NodeTree::None);
    window.menus().file.exit->trigger();
}

TEST(MainWindow, FolderHistoryKeepsFoldersWithFilesAndReopensThem)
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
    };
    open("full");
    open("other");
    open("empty");
    open("full");
    QComboBox* box = window.folderHistoryBox();
    ASSERT_GE(box->count(), 3);
    EXPECT_EQ(box->itemText(0), fixture.path("full"));
    EXPECT_EQ(box->itemText(1), fixture.path("other"));
    EXPECT_EQ(box->itemData(2).toInt(), -1) << "the volumes follow the folders";

    Q_EMIT box->activated(1);
    EXPECT_EQ(window.fileListPanel()->state().currentFolder, fixture.path("other/"));
    window.menus().file.exit->trigger();
}

TEST(MainWindow, FilterByContentsOpensTheFindDialogAsAContentFilter)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    auto* strip = window.findChild<FilterStrip*>();
    ASSERT_NE(strip, nullptr);
    QAction* byContents = strip->menus().filter.byContents;
    EXPECT_TRUE(byContents->isEnabled());
    byContents->trigger();
    auto* form = window.findChild<FindForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Filter by File Contents");
    form->close();
}
