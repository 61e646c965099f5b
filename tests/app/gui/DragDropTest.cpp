#include "app/gui/BasketWiring.h"
#include "app/gui/MainWindow.h"
#include "basket/gui/BasketIcon.h"
#include "basket/gui/BasketPanel.h"
#include "browse/FileDrag.h"
#include "browse/FolderTree.h"
#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Loads the folder tree down to `folder` and shows its node; returns it.
NodeTree::Id ShowFolderNode(MainWindow& window, const QString& folder)
{
    NodeTree& folders = window.folderTree();
    QString path;
    for (const QString& part : folder.split('/', Qt::SkipEmptyParts)) {
        LoadSubfolders(folders, path.isEmpty() ? QStringLiteral("/") : path);
        path += '/' + part;
    }
    const NodeTree::Id id = folders.find(folder);
    folders.makeVisible(id);
    QApplication::processEvents();
    return id;
}

// QApplication hands drop events only to the target the window system found, so the
// tests give them to the handlers it would reach.

/// Drops `data` on the folder tree's node `id`; true when the drop was taken.
bool DropOnFolder(MainWindow& window, NodeTree::Id id, const QMimeData* data)
{
    NodeTreeView* view = window.folderTreeView();
    const QModelIndex index = view->nodeModel()->indexOf(id);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QObject& filter = window.basket();
    return filter.eventFilter(view->viewport(), &drop) && drop.isAccepted();
}

struct DropWindow {
    TempTree t;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;
    QString data, dst;
    NodeTree::Id dstNode = NodeTree::None;

    DropWindow()
    {
        t.file("data/alpha.txt", QByteArray("alpha"));
        t.file("data/beta.txt", QByteArray("beta"));
        t.file("elsewhere/foreign.txt", QByteArray("foreign"));
        data = t.path("data") + "/";
        dst = t.folder("dst") + "/";
        window = std::make_unique<MainWindow>(nullptr, &prompts);
        window->start(t.root());
        window->resize(900, 700);
        window->show();
        dstNode = ShowFolderNode(*window, t.path("dst"));
        EXPECT_EQ(OpenAndWait(*window->fileListPanel(), data), 2);
        prompts.shown.clear();
    }
    [[nodiscard]] NodeTree::Id listed(const QString& name) const
    {
        return window->fileListPanel()->state().tree().find(data + name);
    }
};

} // namespace

TEST(DragDrop, AFileFromAnotherLumaraIsCopiedByItsPathNeverByANodeIdOfThisList)
{
    DropWindow w;
    ASSERT_NE(w.dstNode, NodeTree::None);
    const NodeTreeModel* model = w.window->fileListPanel()->fileListModel();
    const QString foreign = w.t.path("elsewhere/foreign.txt");
    // Another Lumara's drag whose numbers all happen to match this list, naming a node
    // that here is alpha.txt; it also carries the node-only format of older versions.
    std::unique_ptr<QMimeData> data(
        MakeFileDrag({foreign}, {QCoreApplication::applicationPid() + 1, model->serial(),
                                 model->generation(), DragList::FileList, w.listed("alpha.txt"),
                                 DraggedSet::Files, w.t.path("elsewhere") + "/"}));
    data->setData("application/x-lumara-node",
                  "File1t\n" + QByteArray::number(w.listed("alpha.txt")));

    EXPECT_TRUE(DropOnFolder(*w.window, w.dstNode, data.get()));
    EXPECT_EQ(ReadAll(w.dst + "foreign.txt"), "foreign");
    EXPECT_FALSE(QFile::exists(w.dst + "alpha.txt"));
    EXPECT_EQ(w.prompts.shownTexts(),
              QStringList{"copied: " + foreign + "\r\nto: " + w.dst + "foreign.txt"});
}

TEST(DragDrop, OwnDragsCarryTheFileAndAreRefusedOnceTheListChanged)
{
    DropWindow w;
    FileListPanel* list = w.window->fileListPanel();
    NodeTreeModel* model = list->fileListModel();
    std::unique_ptr<QMimeData> beta(model->mimeData({model->indexOf(w.listed("beta.txt"))}));
    ASSERT_TRUE(beta);
    EXPECT_EQ(beta->urls(), QList<QUrl>{QUrl::fromLocalFile(w.data + "beta.txt")})
        << "what other programs take";

    // The list is read again between drag and drop: its node ids no longer hold.
    ASSERT_EQ(OpenAndWait(*list, w.data), 2);
    EXPECT_FALSE(DropOnFolder(*w.window, w.dstNode, beta.get()));
    EXPECT_FALSE(QFile::exists(w.dst + "beta.txt"));
    EXPECT_TRUE(w.prompts.shown.isEmpty());

    std::unique_ptr<QMimeData> fresh(model->mimeData({model->indexOf(w.listed("beta.txt"))}));
    EXPECT_TRUE(DropOnFolder(*w.window, w.dstNode, fresh.get()));
    EXPECT_EQ(ReadAll(w.dst + "beta.txt"), "beta");
}

TEST(DragDrop, FilesFromAnotherFileManagerGoIntoTheBasketAndOntoTheFolderTree)
{
    DropWindow w;
    const QString foreign = w.t.path("elsewhere/foreign.txt");
    // As Qt and GTK file managers give it: text/uri-list and nothing of ours.
    auto files = std::make_unique<QMimeData>();
    files->setUrls({QUrl::fromLocalFile(foreign), QUrl::fromLocalFile(w.data + "alpha.txt")});

    BasketPanel& panel = w.window->basket().panel();
    QDropEvent onIcon(QPointF(4, 4), Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(panel.icon())->event(&onIcon);
    EXPECT_EQ(panel.basket().entries(), 2);
    EXPECT_TRUE(panel.basket().IsInBasket(foreign));
    EXPECT_EQ(w.prompts.shownTexts(), QStringList{" 2 files added to RadeZazeda"});

    w.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(DropOnFolder(*w.window, w.dstNode, files.get()));
    EXPECT_EQ(w.prompts.shown.value(1).text, "copy 2 files to\r\n" + w.dst);
    for (int i = 0; i < 2000 && panel.copying(); ++i) // the files go one per turn of the loop
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(ReadAll(w.dst + "foreign.txt"), "foreign");
    EXPECT_EQ(ReadAll(w.dst + "alpha.txt"), "alpha");
}
