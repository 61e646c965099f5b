#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>

namespace {

QStringList childTexts(const NodeTree& tree, NodeTree::Id id)
{
    QStringList texts;
    for (NodeTree::Id c : tree.children(id))
        texts << tree.node(c).text;
    return texts;
}

/// Runs the event loop until `done` holds, for at most five seconds.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/// A share that answers only when the test lets it: records which folders were read, on
/// which thread, and holds each read until released.
struct SlowShare {
    std::mutex mutex;
    QStringList keys;
    QList<Qt::HANDLE> threads;
    QSemaphore answers;
    std::atomic<int> answered{0};

    SubfolderRead read(const QString& key)
    {
        {
            std::lock_guard lock(mutex);
            keys << key;
            threads << QThread::currentThreadId();
        }
        answers.tryAcquire(1, 3000);
        SubfolderRead result = ReadSubfolders(key);
        ++answered;
        return result;
    }
    qsizetype asked()
    {
        std::lock_guard lock(mutex);
        return keys.size();
    }
};

} // namespace

TEST(NetworkFolders, TheWindowGoesOnAnsweringWhileAShareIsRead)
{
    TempTree fixture;
    fixture.file("share/a.txt", 3);
    fixture.file("share/b.doc", 5);
    fixture.folder("share/zeta");
    fixture.folder("share/alpha/inner");
    fixture.folder("disk/sub");
    SlowShare share;
    FolderTreeSources sources;
    sources.volumes = {{fixture.path("disk"), "/dev/sda1", "ext4", platform::VolumeKind::Fixed},
                       {fixture.path("share"), "ann@host:/srv", "fuse.sshfs",
                        platform::VolumeKind::Remote, "host", "/srv"}};
    sources.readSubfolders = [&](const QString& key) { return share.read(key); };
    ScriptedPrompts prompts;
    auto window = std::make_unique<MainWindow>(nullptr, &prompts);
    window->useFolderTreeSources(sources);
    window->start(fixture.root());

    // Start-up asks nothing of the share.
    EXPECT_EQ(share.asked(), 0);
    NodeTree& tree = window->folderTree();
    const NodeTree::Id node = tree.find(fixture.path("share"));
    ASSERT_NE(node, NodeTree::None);
    EXPECT_EQ(tree.node(node).text, QStringLiteral("host: /srv"));

    // A click lists the files while the folders are still on their way.
    window->openFolderNode(node);
    ASSERT_TRUE(WaitForListing(*window->fileListPanel()));
    EXPECT_EQ(window->fileListPanel()->state().setup().currentFolder, fixture.path("share/"));
    ASSERT_TRUE(waitFor([&] { return share.asked() == 1; }));
    EXPECT_NE(share.threads.front(), QThread::currentThreadId());
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    EXPECT_TRUE(waitFor([&] { return answered; })) << "the window waits for the share";
    EXPECT_EQ(childTexts(tree, node), QStringList{"Loading ..."});

    // Expanding it meanwhile does not ask a second time.
    NodeTreeView* view = window->folderTreeView();
    view->expand(view->nodeModel()->indexOf(node));
    QApplication::processEvents();
    EXPECT_EQ(share.asked(), 1);

    share.answers.release();
    ASSERT_TRUE(waitFor([&] { return tree.children(node).size() == 2; }));
    EXPECT_EQ(childTexts(tree, node), (QStringList{"alpha", "zeta"}));
    EXPECT_EQ(childTexts(tree, tree.find(fixture.path("share/alpha"))), QStringList{"inner"});

    // A folder on the share is read aside too when it is expanded.
    const NodeTree::Id alpha = tree.find(fixture.path("share/alpha"));
    view->expand(view->nodeModel()->indexOf(alpha));
    ASSERT_TRUE(waitFor([&] { return share.asked() == 2; }));
    EXPECT_EQ(share.keys.last(), fixture.path("share/alpha"));
    EXPECT_NE(share.threads.last(), QThread::currentThreadId());

    // The window closes while that read still waits, and the read ends into nothing.
    window.reset();
    share.answers.release();
    EXPECT_TRUE(waitFor([&] { return share.answered == 2; }));
    QThread::msleep(50);
    QApplication::processEvents();
}
