#include "browse/FilterTabs.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "common/FakeEscape.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeCommands.h"
#include "trees/TreeRebuild.h"
#include "trees/gui/TreeButtons.h"

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
    void RebuildCurrentTree(FileList& state, const Settings& settings) const override
    {
        builtAway = QThread::currentThread() != QCoreApplication::instance()->thread();
        if (state.setup().currentFolder == heldFolder)
            gate.acquire();
        GroupedTrees().RebuildCurrentTree(state, settings);
    }
    QString heldFolder;
    mutable QSemaphore gate;
    mutable std::atomic<bool> builtAway{false};
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
        const NodeTree& tree = panel.state().tree();
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
    ASSERT_EQ(OpenAndWait(panel, first.root()), 3);
    trees.heldFolder = second.root() + '/';
    std::vector<qint64> counts;
    QObject::connect(&panel, &FileListPanel::loading, [&](qint64 read) { counts.push_back(read); });

    std::optional<int> done;
    panel.openFolder(second.root(), [&](std::optional<int> count) { done = count; });
    // The open returns while the second folder is listed; the window still shows the
    // first folder, whole.
    EXPECT_TRUE(panel.listing());
    EXPECT_FALSE(done.has_value());
    EXPECT_EQ(panel.state().setup().currentFolder, first.root() + '/');
    EXPECT_EQ(shownFiles(), 3);
    EXPECT_EQ(panel.state().listedNames().ListCount(), 4);
    EXPECT_EQ(panel.statusLabel()->text(), "3 [ALL] files");
    trees.gate.release();

    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(done, 5);
    EXPECT_TRUE(trees.builtAway) << "the list is built away from the window's thread";
    EXPECT_FALSE(panel.listing());
    EXPECT_FALSE(panel.listingCancelled());
    EXPECT_EQ(shownFiles(), 5);
    EXPECT_EQ(panel.state().entries().size(), 5);
    EXPECT_EQ(panel.state().contents().readNames.ListCount(), 6);
    EXPECT_EQ(panel.statusLabel()->text(), "5 [ALL] files");
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.front(), 0) << "loading is told as soon as the read starts";
}

TEST_F(FileListLoadingTest, ANewerListingTakesThePlaceOfOneUnderWay)
{
    trees.heldFolder = first.root() + '/';
    bool firstDone = false;
    std::optional<int> secondDone;
    panel.openFolder(first.root(), [&](std::optional<int>) { firstDone = true; });
    panel.openFolder(second.root(), [&](std::optional<int> count) { secondDone = count; });
    trees.gate.release();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_FALSE(firstDone) << "the dropped listing hands nothing on";
    EXPECT_EQ(secondDone, 5);
    // The dropped listing left nothing behind: the list is the newer folder's, whole.
    EXPECT_EQ(panel.state().setup().currentFolder, second.root() + '/');
    EXPECT_EQ(shownFiles(), 5);
    EXPECT_EQ(panel.state().listedNames().ListCount(), 6);
    EXPECT_EQ(panel.statusLabel()->text(), "5 [ALL] files");
}

TEST_F(FileListLoadingTest, EscapeAsksAndAYesEndsTheListingWithAConsistentList)
{
    FakeEscape escape;
    panel.setCancelKey(&escape);
    trees.heldFolder = second.root() + '/';
    prompts.answers = {Prompts::Answer::Yes};
    std::optional<int> done;
    panel.openFolder(second.root(), [&](std::optional<int> count) { done = count; });
    escape.down = true;
    waitFor([&] { return !prompts.shown.isEmpty(); });
    trees.gate.release();
    ASSERT_TRUE(WaitForListing(panel));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.front().text, "cancel?");
    EXPECT_EQ(prompts.shown.front().title, "Varnex");
    EXPECT_TRUE(panel.listingCancelled());
    // The files read before the Yes are listed, and every list agrees on them.
    ASSERT_TRUE(done.has_value());
    const int count = *done;
    EXPECT_GE(count, 0);
    EXPECT_LE(count, 5);
    if (count > 0) {
        EXPECT_EQ(shownFiles(), count);
        EXPECT_EQ(panel.state().listedNames().ListCount(), count + 1);
        EXPECT_EQ(panel.statusLabel()->text(), QString::number(count) + " [ALL] files");
    } else {
        EXPECT_TRUE(panel.state().setup().showsPlaceholder);
    }

    // A No lets the listing run to its end.
    prompts.shown.clear();
    prompts.answers = {Prompts::Answer::No};
    done.reset();
    panel.openFolder(second.root(), [&](std::optional<int> count) { done = count; });
    escape.down = true;
    waitFor([&] { return !prompts.shown.isEmpty(); });
    trees.gate.release();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(done, 5);
    EXPECT_FALSE(panel.listingCancelled());
    EXPECT_EQ(shownFiles(), 5);
}

TEST_F(FileListLoadingTest, ClicksWhileTheListIsRebuiltActOnTheRebuiltList)
{
    FilterStrip strip(settings, prompts, panel);
    auto* buttons = new TreeButtons(panel.state(), *panel.fileList(), settings, &panel);
    buttons->setRebuilder(&panel);
    TempTree mixed;
    mixed.file("a.txt", 5);
    mixed.file("b.txt", 4);
    mixed.file("c.jpg", 9);
    mixed.file("d.jpg", 1);
    mixed.file("e.jpg", 3);
    ASSERT_EQ(OpenAndWait(panel, mixed.root()), 5);

    // The pictures tab narrows the list on another thread, held there while the user
    // clicks the text tab and sorts by size.
    trees.heldFolder = mixed.root() + '/';
    FilterTabs& tabs = strip.filters();
    QTimer::singleShot(0, &panel, [&] {
        tabs.SelectCategory(0);
        buttons->chooseSort(SortChoice::BySize);
        trees.gate.release(2);
    });
    tabs.SelectCategory(1);
    ASSERT_TRUE(WaitForListing(panel));
    QStringList shown;
    const NodeTree& list = panel.state().tree();
    for (const NodeTree::Id id : list.children(list.root()))
        shown << list.node(id).text;
    EXPECT_EQ(shown, QStringList({"b.txt", "a.txt"}))
        << "each click acts on the list the click before it built";
    EXPECT_EQ(tabs.selectedTab(), 0);
    EXPECT_TRUE(panel.state().setup().listPattern.contains("*.txt"));
}
