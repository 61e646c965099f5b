#include "view/table/gui/TableViewer.h"

#include "common/FakeEscape.h"
#include "common/TableFixtures.h"
#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/window/gui/ViewWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

void WaitLoaded(const TableViewer& viewer)
{
    for (int i = 0; i < 2000 && viewer.loading(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

NodeTree::Id ChildNamed(const NodeTree& tree, const QString& text)
{
    for (const NodeTree::Id id : tree.children(tree.root())) {
        if (tree.node(id).text == text)
            return id;
    }
    return NodeTree::None;
}

/// True once a zero timer started now has run: never in the middle of a view. The timer
/// goes with it when it has not run by the end of the test.
struct OtherEvent : QObject {
    OtherEvent()
    {
        QTimer::singleShot(0, this, [this] { ran = true; });
    }
    bool ran = false;
};

class TableViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.tempFolder = WithSlash(temp.root());
        settings.workFolder = WithSlash(temp.folder("Lumara-run001"));
        window.show();
    }
    ViewRequest request(const QString& name, FileKind kind)
    {
        ViewRequest r;
        r.folder = WithSlash(files.root());
        r.name = name;
        r.extension = ExtensionOf(name);
        r.kind = kind;
        return r;
    }

    TempTree files;
    TempTree temp;
    Settings settings;
    ScriptedPrompts prompts;
    FakeEscape escape;
    ViewWindow window{settings, prompts};
    TableViewer viewer{window, settings, prompts, escape};
};

} // namespace

TEST_F(TableViewerTest, AWorkbookShowsItsSheetsThenAClickedSheetInTheGrid)
{
    if (!WriteWorkbook(files.path("book.xls")))
        GTEST_SKIP() << "python3-xlwt is not installed";
    window.TriggerView(request("book.xls", FileKind::Xls));
    EXPECT_EQ(window.viewMode(), ViewMode::Workbook);
    EXPECT_TRUE(window.treeView().isVisible());
    EXPECT_FALSE(window.grid().isVisible());
    const NodeTree& tree = window.tree();
    ASSERT_EQ(tree.children(tree.root()).size(), 3u);

    viewer.nodeClicked(tree.root()); // the root never reacts
    EXPECT_FALSE(window.grid().isVisible());
    viewer.nodeClicked(ChildNamed(tree, "My Sheet"));
    WaitLoaded(viewer);
    EXPECT_TRUE(window.grid().isVisible());
    EXPECT_FALSE(window.treeView().isVisible());
    EXPECT_EQ(window.grid().grid().textMatrix(2, 1), "pear");
    EXPECT_EQ(window.statusPath(), files.path("book.xls") + "[My Sheet]");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(TableViewerTest, ADatabaseIsViewedThroughItsWorkingCopy)
{
    if (!WriteSampleDatabase(files.path("s.mdb")))
        GTEST_SKIP() << "fp-units-db is not installed";
    const OtherEvent other;
    window.TriggerView(request("s.mdb", FileKind::Db));
    EXPECT_FALSE(other.ran) << "the view ran another event midway";
    const QString copy = settings.workFolder + "TempMdbs.mdb";
    EXPECT_EQ(window.viewMode(), ViewMode::Database);
    EXPECT_EQ(window.tableFile(), copy);
    EXPECT_TRUE(QFile::exists(copy));
    const NodeTree& tree = window.tree();
    const NodeTree::Id table = ChildNamed(tree, "FPdev");
    ASSERT_NE(table, NodeTree::None);

    viewer.nodeClicked(tree.children(table).front()); // a field line does nothing
    EXPECT_FALSE(window.grid().isVisible());
    viewer.nodeClicked(table);
    WaitLoaded(viewer);
    EXPECT_TRUE(window.grid().isVisible());
    EXPECT_EQ(window.grid().grid().tag, "MDB");
    EXPECT_EQ(window.grid().grid().textMatrix(0, 2), "UserName");
    EXPECT_EQ(window.statusPath(), files.path("s.mdb") + "[FPdev]");
}

TEST_F(TableViewerTest, EscapeWhileASheetArrivesAsksAndAYesKeepsTheRowsSoFar)
{
    if (!WriteWorkbook(files.path("book.xls")))
        GTEST_SKIP() << "python3-xlwt is not installed";
    window.TriggerView(request("book.xls", FileKind::Xls));
    std::optional<bool> loaded;
    QObject::connect(&viewer, &TableViewer::loaded, [&](bool shown) { loaded = shown; });

    viewer.nodeClicked(ChildNamed(window.tree(), "Long"));
    ASSERT_TRUE(viewer.loading()) << "the rows arrive from the event loop";
    EXPECT_FALSE(viewer.ShowSheet("My Sheet")) << "a second load waits for the first";
    escape.down = true;
    prompts.answers = {Prompts::Answer::Yes};
    WaitLoaded(viewer);

    EXPECT_EQ(loaded, true);
    EXPECT_EQ(prompts.shownTexts(), QStringList({"cancel?"}));
    const Grid& grid = window.grid().grid();
    EXPECT_GT(grid.rows(), 2);
    EXPECT_LT(grid.rows(), 2 + 2500);
    EXPECT_EQ(grid.textMatrix(grid.rows() - 1, 1).toInt(), grid.rows() - 2)
        << "the rows so far stay whole and in order";
    EXPECT_EQ(window.statusPath(), files.path("book.xls") + "[Long]");

    // Another view taking the window ends a load without bringing the grid back.
    window.TriggerView(request("book.xls", FileKind::Xls));
    viewer.nodeClicked(ChildNamed(window.tree(), "Long"));
    window.CloseView();
    WaitLoaded(viewer);
    EXPECT_EQ(loaded, false);
    EXPECT_FALSE(window.grid().isVisible());
}
