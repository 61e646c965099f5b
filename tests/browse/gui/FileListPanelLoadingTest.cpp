#include "browse/gui/FileListPanel.h"
#include "common/TempTree.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QApplication>
#include <QLabel>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace {

/// The real trees, held back for one folder until the test lets them go, so the test
/// can look at the window while that listing is under way.
class HeldTrees final : public FileTreeBuilder {
public:
    void RebuildCurrentTree(FileListState& state, const Settings& settings) const override
    {
        builtAway = QThread::currentThread() != QCoreApplication::instance()->thread();
        if (state.currentFolder == heldFolder)
            gate.acquire();
        GroupedTrees().RebuildCurrentTree(state, settings);
    }
    QString heldFolder;
    mutable QSemaphore gate;
    mutable std::atomic<bool> builtAway{false};
};

/// Escape is down from the moment the test says so.
class FakeEscape final : public CancelKey {
public:
    bool pressed() override { return down; }
    void clear() override { down = false; }
    bool down = false;
};

/// Runs events until `done` holds (or a generous limit passes, and the test then fails
/// on what it sees).
template <typename Done> void waitFor(Done done)
{
    for (int i = 0; i < 2000 && !done(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

class FileListLoadingTest : public ::testing::Test {
protected:
    FileListLoadingTest() : panel(settings, prompts, trees)
    {
        panel.resize(400, 600);
        panel.show();
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            first.file(name, 3);
        for (const char* name : {"d.jpg", "e.jpg", "f.jpg", "g.jpg", "h.jpg"})
            second.file(name, 5);
    }

    [[nodiscard]] int shownFiles()
    {
        const NodeTree& tree = panel.state().fileTree;
        return tree.root() == NodeTree::None ? -1 : int(tree.children(tree.root()).size());
    }

    Settings settings;
    ScriptedPrompts prompts;
    HeldTrees trees;
    FileListPanel panel;
    TempTree first;
    TempTree second;
};

} // namespace

TEST_F(FileListLoadingTest, TheShownListStaysWholeUntilTheNewOneIsHandedOver)
{
    ASSERT_EQ(panel.openFolder(first.root()), 3);
    trees.heldFolder = second.root() + '/';
    std::vector<qint64> counts;
    QObject::connect(&panel, &FileListPanel::loading, [&](qint64 read) { counts.push_back(read); });

    bool looked = false;
    QTimer::singleShot(0, &panel, [&] {
        // The window runs events while the second folder is listed, and still shows the
        // first folder, whole.
        looked = true;
        EXPECT_TRUE(panel.listing());
        EXPECT_EQ(panel.state().currentFolder, first.root() + '/');
        EXPECT_EQ(shownFiles(), 3);
        EXPECT_EQ(panel.state().listedNames.ListCount(), 4);
        EXPECT_EQ(panel.statusLabel()->text(), "3 [ALL] files");
        trees.gate.release();
    });
    EXPECT_EQ(panel.openFolder(second.root()), 5);
    EXPECT_TRUE(looked);
    EXPECT_TRUE(trees.builtAway) << "the list is built away from the window's thread";
    EXPECT_FALSE(panel.listing());
    EXPECT_FALSE(panel.listingCancelled());
    EXPECT_EQ(shownFiles(), 5);
    EXPECT_EQ(panel.state().entries.size(), 5);
    EXPECT_EQ(panel.state().readNames.ListCount(), 6);
    EXPECT_EQ(panel.statusLabel()->text(), "5 [ALL] files");
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.front(), 0) << "loading is told as soon as the read starts";
}

TEST_F(FileListLoadingTest, ANewerListingTakesThePlaceOfOneUnderWay)
{
    trees.heldFolder = first.root() + '/';
    int inner = 0;
    QTimer::singleShot(0, &panel, [&] {
        inner = panel.openFolder(second.root());
        trees.gate.release();
    });
    EXPECT_EQ(panel.openFolder(first.root()), -1);
    EXPECT_TRUE(panel.listingSuperseded());
    EXPECT_EQ(inner, 5);
    // The dropped listing left nothing behind: the list is the newer folder's, whole.
    EXPECT_EQ(panel.state().currentFolder, second.root() + '/');
    EXPECT_EQ(shownFiles(), 5);
    EXPECT_EQ(panel.state().listedNames.ListCount(), 6);
    EXPECT_EQ(panel.statusLabel()->text(), "5 [ALL] files");
}

TEST_F(FileListLoadingTest, EscapeAsksAndAYesEndsTheListingWithAConsistentList)
{
    FakeEscape escape;
    panel.setCancelKey(&escape);
    trees.heldFolder = second.root() + '/';
    prompts.answers = {Prompts::Answer::Yes};
    QTimer::singleShot(0, &panel, [&] {
        escape.down = true;
        waitFor([&] { return !prompts.shown.isEmpty(); });
        trees.gate.release();
    });
    const int count = panel.openFolder(second.root());
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.front().text, "cancel?");
    EXPECT_EQ(prompts.shown.front().title, "Varnex");
    EXPECT_TRUE(panel.listingCancelled());
    // The files read before the Yes are listed, and every list agrees on them.
    EXPECT_GE(count, 0);
    EXPECT_LE(count, 5);
    if (count > 0) {
        EXPECT_EQ(shownFiles(), count);
        EXPECT_EQ(panel.state().listedNames.ListCount(), count + 1);
        EXPECT_EQ(panel.statusLabel()->text(), QString::number(count) + " [ALL] files");
    } else {
        EXPECT_TRUE(panel.state().showsPlaceholder);
    }

    // A No lets the listing run to its end.
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::No};
    QTimer::singleShot(0, &panel, [&] {
        escape.down = true;
        waitFor([&] { return !prompts.shown.isEmpty(); });
        trees.gate.release();
    });
    EXPECT_EQ(panel.openFolder(second.root()), 5);
    EXPECT_FALSE(panel.listingCancelled());
    EXPECT_EQ(shownFiles(), 5);
}
