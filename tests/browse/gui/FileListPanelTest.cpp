#include "browse/gui/FileListPanel.h"

#include "archive/ZipJob.h"
#include "browse/gui/FileListMenus.h"
#include "common/FakeEscape.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Emitted {
    NodeActionKind kind;
    QString folder, name;
};

class FileListPanelTest : public ::testing::Test {
protected:
    FileListPanelTest() : panel(settings, prompts, GroupedTrees())
    {
        panel.resize(400, 600);
        panel.show();
        QObject::connect(&panel, &FileListPanel::command, &panel,
                         [this](NodeActionKind k, const QString& f, const QString& n) {
                             emitted.push_back({k, f, n});
                         });
    }

    /// Sends a mouse event of `type` with the left button at the centre of the node.
    void mouseOn(NodeTree::Id id, QEvent::Type type)
    {
        NodeTreeView* view = panel.fileList();
        const QModelIndex index = view->nodeModel()->indexOf(id);
        const QPoint pos = view->visualRect(index).center();
        QMouseEvent event(type, pos, view->viewport()->mapToGlobal(pos), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }

    NodeTree::Id fileNode(int row) const
    {
        const NodeTree& t = const_cast<FileListPanel&>(panel).state().tree();
        return t.children(t.root()).at(size_t(row));
    }

    /// The child of `parent` shown as `text`.
    NodeTree::Id childNamed(NodeTree::Id parent, const QString& text) const
    {
        const NodeTree& t = const_cast<FileListPanel&>(panel).state().tree();
        for (const NodeTree::Id child : t.children(parent))
            if (t.node(child).text == text)
                return child;
        return NodeTree::None;
    }

    /// Double-clicks the node and returns the file the view was asked to show ("" when
    /// none was).
    QString viewed(NodeTree::Id id)
    {
        const size_t before = emitted.size();
        mouseOn(id, QEvent::MouseButtonDblClick);
        QApplication::processEvents();
        if (emitted.size() != before + 1 || emitted.back().kind != NodeActionKind::View)
            return {};
        return emitted.back().folder + emitted.back().name;
    }

    /// The working folder as the window sets it up: this run's own folder inside
    /// TempFolder.
    void useWorkFolder(TempTree& tree)
    {
        settings.tempFolder = tree.folder("temp") + "/";
        settings.workFolder = tree.folder("temp/Lumara-run001") + "/";
    }

    Settings settings;
    ScriptedPrompts prompts;
    FileListPanel panel;
    std::vector<Emitted> emitted;
};

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(FileListPanelTest, ListsFolderIntoViewAndStatus)
{
    TempTree tree;
    tree.file("b.txt", 3);
    tree.file("a.jpg", 5);
    tree.file("C.md", 7);
    EXPECT_EQ(OpenAndWait(panel, tree.root()), 3);

    NodeTreeModel* model = panel.fileListModel();
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(model->data(root).toString(), tree.root());
    ASSERT_EQ(model->rowCount(root), 3);
    EXPECT_EQ(model->data(model->index(0, 0, root)).toString(), "a.jpg");
    EXPECT_EQ(model->data(model->index(2, 0, root)).toString(), "C.md");
    EXPECT_TRUE(panel.fileList()->isExpanded(root));
    EXPECT_EQ(panel.statusLabel()->text(), "3 [ALL] files");

    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel.statusLabel(), &click);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.back().text, "File extensions: ALL");

    // Refresh reads the folder again.
    tree.file("d.txt");
    panel.refresh();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 4);
    EXPECT_EQ(panel.statusLabel()->text(), "4 [ALL] files");

    TempTree empty;
    EXPECT_EQ(OpenAndWait(panel, empty.root()), 0);
    EXPECT_EQ(panel.statusLabel()->text(), " no [ALL] files");
    EXPECT_EQ(model->data(model->index(0, 0, model->index(0, 0))).toString(), "no files");
}

TEST_F(FileListPanelTest, ClicksAndKeysFollowTheCommandCode)
{
    TempTree tree;
    tree.file("one.txt");
    tree.file("two.txt");
    OpenAndWait(panel, tree.root());

    // A single click only selects and marks while SingleClickView is off.
    mouseOn(fileNode(0), QEvent::MouseButtonPress);
    mouseOn(fileNode(0), QEvent::MouseButtonRelease);
    EXPECT_TRUE(emitted.empty());
    EXPECT_EQ(panel.state().tree().mark(fileNode(0)), NodeMark::Marked);

    mouseOn(fileNode(1), QEvent::MouseButtonDblClick);
    ASSERT_EQ(emitted.size(), 1u);
    EXPECT_EQ(emitted[0].kind, NodeActionKind::View);
    EXPECT_EQ(emitted[0].folder, tree.root() + "/");
    EXPECT_EQ(emitted[0].name, "two.txt");

    settings.singleClickView = 1;
    mouseOn(fileNode(0), QEvent::MouseButtonPress);
    ASSERT_EQ(emitted.size(), 2u);
    EXPECT_EQ(emitted[1].name, "one.txt");

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(panel.fileList(), &down);
    EXPECT_EQ(emitted.size(), 2u) << "moving with the arrow keys acts on nothing";

    // The placeholder list ignores every click.
    TempTree empty;
    OpenAndWait(panel, empty.root());
    mouseOn(fileNode(0), QEvent::MouseButtonDblClick);
    EXPECT_EQ(emitted.size(), 2u);
}

TEST_F(FileListPanelTest, CopyListPutsTreeTextOnClipboard)
{
    panel.copyListToClipboard();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"nothing to copy"});

    TempTree tree;
    tree.file("x.txt");
    OpenAndWait(panel, tree.root());
    panel.copyListToClipboard();
    EXPECT_EQ(prompts.shown.back().text, "tree copied to clipboard");
    EXPECT_EQ(prompts.shown.back().title, "Varnex");
    EXPECT_EQ(QApplication::clipboard()->text(), tree.root() + "\r\n        x.txt\r\n");
}

TEST_F(FileListPanelTest, DoubleClickOnAZipShowsItsEntriesAndViewsAnEntryFromTheWorkFolder)
{
    TempTree tree;
    const QString note = tree.file("src/note.txt", QByteArray("hello"));
    ZipJob zip;
    zip.ZipFile = tree.folder("list") + "/pack.zip";
    zip.BasePath = tree.path("src");
    zip.AddFileSpec(note);
    ASSERT_TRUE(zip.Zip());
    useWorkFolder(tree);
    ASSERT_EQ(OpenAndWait(panel, tree.path("list")), 1);

    mouseOn(fileNode(0), QEvent::MouseButtonDblClick);
    EXPECT_TRUE(emitted.empty()) << "an archive expands instead of opening";
    const NodeTree& t = panel.state().tree();
    ASSERT_EQ(t.children(fileNode(0)).size(), 1u);
    QApplication::processEvents();
    const NodeTree::Id entry = t.children(fileNode(0)).front();
    EXPECT_EQ(t.node(entry).text, "note.txt");

    mouseOn(entry, QEvent::MouseButtonDblClick);
    ASSERT_EQ(emitted.size(), 1u);
    EXPECT_EQ(emitted[0].kind, NodeActionKind::View);
    EXPECT_TRUE(emitted[0].folder.startsWith(settings.workFolder)) << "this run's own folder";
    EXPECT_TRUE(emitted[0].folder.endsWith("/pack.zip/"));
    EXPECT_EQ(emitted[0].name, "note.txt");
    QFile extracted(emitted[0].folder + emitted[0].name);
    ASSERT_TRUE(extracted.open(QIODevice::ReadOnly));
    EXPECT_EQ(extracted.readAll(), "hello");
}

TEST_F(FileListPanelTest, ArchiveInputWhileAListingRunsActsOnTheListItShows)
{
    TempTree tree;
    ASSERT_TRUE(ZipWithPython(tree.folder("list") + "/pack.zip", {{"note.txt", "hello"}}));
    useWorkFolder(tree);
    const auto entriesOfZip = [this] { return panel.state().tree().children(fileNode(0)).size(); };

    // A double click on the zip of a list being replaced expands it in the new list.
    ASSERT_EQ(OpenAndWait(panel, tree.path("list")), 1);
    panel.openFolder(tree.path("list"));
    ASSERT_TRUE(panel.listing());
    mouseOn(fileNode(0), QEvent::MouseButtonDblClick);
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(entriesOfZip(), 1u);

    // "Show all zipped files" asked for before the list has come.
    panel.openFolder(tree.path("list"));
    ASSERT_TRUE(panel.listing());
    FakeEscape cancel;
    panel.showAllZippedFiles(cancel); // kept for the list on its way
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(entriesOfZip(), 1u);
    EXPECT_TRUE(emitted.empty());
}

TEST_F(FileListPanelTest, ShowAllZippedFilesStepsThroughTheEventLoopAndAYesEndsIt)
{
    TempTree tree;
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_TRUE(ZipWithPython(tree.folder("list") + "/" + name + ".zip",
                                  {{"note.txt", "x"}, {"more.txt", "y"}}));
    useWorkFolder(tree);
    ASSERT_EQ(OpenAndWait(panel, tree.path("list")), 4);
    // Escape after two archives, answered Yes; a collapse asked for meanwhile waits.
    EscapeAtCheck escape(3);
    prompts.answers = {Prompts::Answer::Yes};
    int expanded = -1;
    panel.showAllZippedFiles(escape, [&expanded](int count) { expanded = count; });
    EXPECT_TRUE(panel.listing()) << "the walk ran without returning to the event loop";
    panel.collapseZippedFiles();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(expanded, 2);
    EXPECT_EQ(prompts.shownTexts(), QStringList({"cancel?", " 2 files expanded"}));
    const NodeTree& t = panel.state().tree();
    int withEntries = 0;
    for (int row = 0; row < 4; ++row) {
        EXPECT_FALSE(t.node(fileNode(row)).expanded) << "the collapse ran after the walk";
        withEntries += t.children(fileNode(row)).empty() ? 0 : 1;
    }
    EXPECT_EQ(withEntries, 2);
    EXPECT_EQ(panel.state().setup().statusCaption, "8 [ALL] files");
}

TEST_F(FileListPanelTest, MiddleButtonAndMenuKeyOpenAllview)
{
    TempTree tree;
    tree.file("one.zip");
    tree.file("two.txt");
    OpenAndWait(panel, tree.root());
    QMenu* allview = panel.menus().allview.menu;
    int shown = 0;
    QObject::connect(allview, &QMenu::aboutToShow, allview, [&] {
        ++shown;
        QTimer::singleShot(0, allview, [allview] {
            allview->actions().first()->trigger(); // "Expand all"
            allview->close();
        });
    });
    NodeTreeView* view = panel.fileList();
    const QPoint pos = view->visualRect(view->nodeModel()->indexOf(fileNode(1))).center();
    QMouseEvent middle(QEvent::MouseButtonPress, pos, view->viewport()->mapToGlobal(pos),
                       Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &middle);
    EXPECT_EQ(shown, 1);
    QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
    QApplication::sendEvent(view, &menuKey);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(emitted.empty()) << "Expand all acts through its own connection";

    // Not on the placeholder of an empty folder.
    TempTree empty;
    OpenAndWait(panel, empty.root());
    QApplication::sendEvent(view, &menuKey);
    EXPECT_EQ(shown, 2);
}

TEST_F(FileListPanelTest, GroupsLookLikeGroupsAndCategoryIconsFollowTheSetting)
{
    TempTree tree;
    tree.file("a.txt");
    tree.file("b.bmp");
    const auto iconOf = [this](NodeTree::Id id) {
        const QModelIndex index = panel.fileListModel()->indexOf(id);
        return panel.fileListModel()
            ->data(index, Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16, 16)
            .toImage();
    };
    panel.state().setTreeType(TreeType::Extension);
    OpenAndWait(panel, tree.root());
    const NodeTree& t = panel.state().tree();
    const NodeTree::Id group = t.children(t.root()).at(0);
    const NodeTree::Id file = t.children(group).at(0);
    EXPECT_NE(iconOf(group), iconOf(file));

    panel.state().setTreeType(TreeType::PlainList);
    settings.tabColorSwap = 1;
    OpenAndWait(panel, tree.root());
    EXPECT_NE(iconOf(fileNode(0)), iconOf(fileNode(1))) << "a text and a picture";
    settings.tabColorSwap = 0;
    OpenAndWait(panel, tree.root());
    EXPECT_EQ(iconOf(fileNode(0)), iconOf(fileNode(1)));
}

TEST_F(FileListPanelTest, AnEntryOfANestedZipViewsOnTheFirstDoubleClickWithoutAQuestion)
{
    TempTree tree;
    if (!MakeNestedZip(tree.path("list"), tree.path("scratch")))
        GTEST_SKIP() << "Debian's zip is missing (scripts/setup.sh test installs it)";
    useWorkFolder(tree);
    ASSERT_EQ(OpenAndWait(panel, tree.path("list")), 1);
    const NodeTree::Id nested = fileNode(0);
    EXPECT_TRUE(viewed(nested).isEmpty()) << "an archive expands instead";
    const NodeTree::Id inner = childNamed(nested, "inner.zip");
    ASSERT_NE(inner, NodeTree::None);
    EXPECT_TRUE(viewed(inner).isEmpty());
    const NodeTree::Id a = childNamed(inner, "a.txt");
    ASSERT_NE(a, NodeTree::None);

    const QString first = viewed(a);
    EXPECT_EQ(contentOf(first), "alpha from the inner zip");
    EXPECT_TRUE(first.startsWith(settings.workFolder)) << first.toStdString();
    EXPECT_EQ(contentOf(viewed(a)), "alpha from the inner zip") << "and again";
    EXPECT_EQ(contentOf(viewed(childNamed(inner, "b.txt"))), "beta");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shownTexts().join(" | ").toStdString();

    // "Show all zipped files" over a fresh listing asks nothing either.
    OpenAndWait(panel, tree.path("list"));
    FakeEscape cancel;
    int expanded = -1;
    panel.showAllZippedFiles(cancel, [&expanded](int count) { expanded = count; });
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(expanded, 2);
    EXPECT_EQ(prompts.shownTexts(), QStringList{" 2 files expanded"});
    EXPECT_EQ(contentOf(viewed(childNamed(childNamed(fileNode(0), "inner.zip"), "a.txt"))),
              "alpha from the inner zip");
}

TEST_F(FileListPanelTest, ArchivesOfTheSameNameInDifferentFoldersKeepTheirEntriesApart)
{
    TempTree tree;
    tree.file("one/src/a.txt", QByteArray("from the first folder"));
    tree.file("two/src/a.txt", QByteArray("from the second folder"));
    if (!ZipWithTool(tree.path("one/src"), tree.path("one/docs.zip"), {"a.txt"}) ||
        !ZipWithTool(tree.path("two/src"), tree.path("two/docs.zip"), {"a.txt"}))
        GTEST_SKIP() << "Debian's zip is missing (scripts/setup.sh test installs it)";
    useWorkFolder(tree);
    QString shown[2];
    for (int i = 0; i < 2; ++i) {
        OpenAndWait(panel, tree.path(i == 0 ? "one" : "two"));
        const NodeTree::Id zip = childNamed(panel.state().tree().root(), "docs.zip");
        viewed(zip);
        shown[i] = viewed(childNamed(zip, "a.txt"));
    }
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_EQ(contentOf(shown[0]), "from the first folder");
    EXPECT_EQ(contentOf(shown[1]), "from the second folder");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shownTexts().join(" | ").toStdString();
}

TEST_F(FileListPanelTest, AnEntryStoredWithBackslashesViewsFromWhereItWasExtracted)
{
    TempTree tree;
    tree.folder("list");
    if (!ZipWithPython(tree.path("list/win.zip"),
                       {{"win\\style\\back.txt", "written on Windows"}, {"plain.txt", "plain"}}))
        GTEST_SKIP() << "python3 is missing";
    useWorkFolder(tree);
    OpenAndWait(panel, tree.path("list"));
    const NodeTree::Id zip = fileNode(0);
    viewed(zip);
    const NodeTree::Id entry = childNamed(zip, "win\\style\\back.txt");
    ASSERT_NE(entry, NodeTree::None);
    const QString path = viewed(entry);
    EXPECT_TRUE(path.endsWith("/win/style/back.txt")) << path.toStdString();
    EXPECT_EQ(contentOf(path), "written on Windows");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shownTexts().join(" | ").toStdString();
}

TEST_F(FileListPanelTest, AMissingFileHasItsOwnImageUnderEitherKey)
{
    const auto image = [this](const QString& key) {
        return panel.imageIcon(key).pixmap(16, 16).toImage();
    };
    EXPECT_NE(image("28"), image("3")) << "not the ordinary file image";
    EXPECT_NE(image("28"), image("21"));
    EXPECT_EQ(image("k28"), image("28")) << "the entries of an opened basket file";
    EXPECT_EQ(image("k15"), image("15"));
}

TEST_F(FileListPanelTest, NodesTheUserOpensAndClosesAreMarkedInTheList)
{
    FileList& list = panel.state();
    NodeTree::Id sub = NodeTree::None;
    list.rebuildTree([&sub](NodeTree& tree) {
        const NodeTree::Id root = AddFileListRoot(tree, "/data/");
        sub = tree.add(root, "/data/pack.zip", "pack.zip");
        tree.add(sub, "/data/pack.zip:a.txt", "a.txt");
    });
    int heard = 0;
    QObject::connect(&list, &FileList::contentsChanged, &panel, [&heard] { ++heard; });
    NodeTreeView* view = panel.fileList();
    const QModelIndex index = view->nodeModel()->indexOf(sub);
    view->expand(index);
    EXPECT_TRUE(list.tree().node(sub).expanded);
    EXPECT_EQ(heard, 1);
    view->collapse(index);
    EXPECT_FALSE(list.tree().node(sub).expanded);
    EXPECT_EQ(heard, 2);
}
