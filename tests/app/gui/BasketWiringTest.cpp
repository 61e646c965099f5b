#include "app/gui/BasketWiring.h"

#include "app/gui/BasketWindow.h"
#include "app/gui/MainWindow.h"
#include "basket/BasketFileList.h"
#include "basket/BasketHeader.h"
#include "basket/gui/BasketGridView.h"
#include "basket/gui/BasketPanel.h"
#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "trees/TreeRebuild.h"
#include "view/ViewRequest.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMimeData>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

/// Runs the event loop until the panel's copy has ended.
void FinishCopy(BasketPanel& panel)
{
    QEventLoop loop;
    QObject::connect(&panel, &BasketPanel::copyFinished, &loop, &QEventLoop::quit);
    if (panel.copying())
        loop.exec();
}

void Shot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget->grab().save(folder + "/" + name + ".png");
}

QByteArray Header()
{
    return EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + "\r\n";
}

} // namespace

TEST(BasketWiring, AddsFromTheListLoadsBasketFilesAndShowsTheGridOnTheViewWindow)
{
    TempTree t;
    const QString folder = t.folder("data") + "/";
    t.file("data/alpha.txt", 100);
    t.file("data/beta.jpg", 2000);
    t.file("data/gamma.doc", 30);
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(t.root());
    FileListPanel* list = window.fileListPanel();
    ASSERT_EQ(OpenAndWait(*list, folder), 3);
    prompts.shown.clear();

    BasketPanel& panel = window.basket().panel();
    Q_EMIT list->command(NodeActionKind::AddToBasket, folder, "alpha.txt");
    EXPECT_EQ(panel.basket().entries(), 1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text,
              "file added:\r\n" + folder + "alpha.txt\r\n1 files in the basket");

    // The list's root dropped on the grid adds the other files.
    NodeTreeModel* model = list->fileListModel();
    std::unique_ptr<QMimeData> data(model->mimeData({model->indexOf(list->state().tree().root())}));
    Q_EMIT panel.dropReceived(data.get(), false);
    EXPECT_EQ(panel.basket().entries(), 3);
    EXPECT_EQ(prompts.shown.last().text, " 2 files added to RadeZazeda");

    // A basket file opened from the list replaces the basket and shows the grid.
    const QString bsk = t.file("data/keep.bsk", Header() + (folder + "beta.jpg\r\n").toUtf8() +
                                                    (folder + "gamma.doc\r\n").toUtf8());
    window.TriggerView({folder, "keep.bsk", ".BSK", FileKind::Basket});
    ViewWindow* view = window.viewWindow();
    EXPECT_EQ(panel.basket().entries(), 2);
    EXPECT_TRUE(panel.gridShown());
    EXPECT_FALSE(panel.grid()->isHidden());
    EXPECT_EQ(panel.grid()->parentWidget(), view->centralWidget());
    view->resize(700, 400);
    QApplication::processEvents();
    Shot(view, "basket-on-view-window");

    // Another .bsk is shown as text and leaves the basket alone.
    t.file("data/other.bsk", QByteArray("just text\r\n"));
    window.TriggerView({folder, "other.bsk", ".BSK", FileKind::Basket});
    EXPECT_EQ(panel.basket().entries(), 2);
    EXPECT_TRUE(view->textBox().toPlainText().contains("just text"));
    (void)bsk;
}

TEST(BasketWiring, ZipEntriesAddedByMenuOrDragCopyByteForByte)
{
    TempTree t;
    const QByteArray first = "first entry\r\n";
    const QByteArray second = QByteArray(5000, 'q') + QByteArray::fromHex("00ff0d0a");
    t.file("src/inner1.txt", first);
    t.file("src/inner2.bin", second);
    if (!ZipWithTool(t.path("src"), t.path("data/docs.zip"), {"inner1.txt", "inner2.bin"}))
        GTEST_SKIP() << "Debian's zip is missing (scripts/setup.sh test installs it)";
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(t.root());
    FileListPanel* list = window.fileListPanel();
    ASSERT_EQ(OpenAndWait(*list, t.path("data")), 1);
    const QString zip = t.path("data/docs.zip");
    const NodeTree& tree = list->state().tree();
    list->handleNodeClick(tree.find(zip), NodeClick::View, {});
    prompts.shown.clear();

    // "Add to RadeZazeda" from the entry's menu, then a drag of the other entry.
    BasketPanel& panel = window.basket().panel();
    list->runNodeCode(tree.find(zip + "/inner1.txt"), NodeActionKind::AddToBasket);
    ASSERT_EQ(panel.basket().entries(), 1);
    EXPECT_EQ(prompts.shownTexts().value(0).section("\r\n", 1, 1),
              t.path("data") + "/|docs.zip|inner1.txt");
    NodeTreeModel* model = list->fileListModel();
    std::unique_ptr<QMimeData> data(
        model->mimeData({model->indexOf(tree.find(zip + "/inner2.bin"))}));
    Q_EMIT panel.dropReceived(data.get(), false);
    ASSERT_EQ(panel.basket().entries(), 2);
    for (int row = 1; row <= 2; ++row) {
        const QString size = panel.basket().grid().textMatrix(row, Basket::SizeColumn);
        EXPECT_TRUE(size == QString::number(first.size()) || size == QString::number(second.size()))
            << size.toStdString();
    }

    const QString out = t.folder("out");
    panel.copyRows(out, 1, 2, false);
    FinishCopy(panel);
    QFile one(out + "/inner1.txt");
    QFile two(out + "/inner2.bin");
    ASSERT_TRUE(one.open(QIODevice::ReadOnly)) << prompts.shownTexts().join(" | ").toStdString();
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_EQ(one.readAll(), first);
    EXPECT_EQ(two.readAll(), second);
}

namespace {

class NoEscape : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};

/// The window as the basket's wiring sees it, made of its parts alone.
class FakeBasketWindow : public BasketWindow {
public:
    FakeBasketWindow()
        : panel(options, messages, GroupedTrees(), &host), folderModel(folders),
          views(options, messages)
    {
        folderTree.setNodeModel(&folderModel);
    }
    QWidget& hostWidget() override { return host; }
    Settings& settings() override { return options; }
    Prompts& prompts() override { return messages; }
    CancelKey& cancelKey() override { return escape; }
    QString CurrentFolderPath() const override
    {
        return const_cast<FileListPanel&>(panel).state().setup().currentFolder;
    }
    FileListPanel& listPanel() override { return panel; }
    NodeTreeView& folderView() override { return folderTree; }
    QString menuFolderKey() const override { return menuKey; }
    QAction& folderBasketItem() override { return folderItem; }
    FilterTabs* filterTabs() override { return nullptr; }
    ViewWindow& view() override { return views; }

    Settings options;
    ScriptedPrompts messages;
    NoEscape escape;
    QWidget host;
    FileListPanel panel;
    NodeTree folders;
    NodeTreeModel folderModel;
    NodeTreeView folderTree;
    QAction folderItem;
    ViewWindow views;
    QString menuKey;
};

} // namespace

TEST(BasketWiringOnAWindow, ListCommandsAndTheFolderMenuFillTheBasketShownOnTheView)
{
    TempTree t;
    const QString folder = t.folder("data") + "/";
    t.file("data/alpha.txt", 100);
    t.file("data/beta.txt", 200);
    FakeBasketWindow window;
    BasketWiring wiring(window);
    wiring.placeOn(&window.views);
    BasketPanel& panel = wiring.panel();
    EXPECT_EQ(panel.grid()->parentWidget(), window.views.centralWidget());
    EXPECT_TRUE(window.folderItem.isEnabled());

    ASSERT_EQ(OpenAndWait(window.panel, folder), 2);
    EXPECT_TRUE(wiring.handleFileCommand(NodeActionKind::AddToBasket, folder, "alpha.txt"));
    EXPECT_EQ(panel.basket().entries(), 1);

    // The folder menu adds the menu's folder, never a system node nor none.
    window.menuKey = "desk";
    window.folderItem.trigger();
    window.menuKey.clear();
    window.folderItem.trigger();
    EXPECT_EQ(panel.basket().entries(), 1);
    window.menuKey = t.path("data");
    window.folderItem.trigger();
    EXPECT_EQ(panel.basket().entries(), 2) << "beta added, alpha already there";

    // The basket shown on the view window can be charted there.
    panel.showGrid();
    EXPECT_TRUE(window.views.menuItem(ViewMenuItem::ShowSizeBar)->isEnabled());

    // Emptied, it leaves a list of a folder alone but clears itself from the list.
    Q_EMIT panel.emptied();
    EXPECT_EQ(window.panel.state().listedNames().ListCount(), 3);
    ShowBasketInFileList(panel.basket(), window.panel.state(), "*", window.options);
    ASSERT_GT(window.panel.state().tree().count(), 1);
    Q_EMIT panel.emptied();
    EXPECT_EQ(window.panel.state().tree().count(), 0);
    EXPECT_EQ(window.panel.state().listedNames().ListCount(), 0);
    EXPECT_EQ(window.panel.statusLabel()->text(), " no files");
}
