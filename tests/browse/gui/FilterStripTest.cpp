#include "browse/gui/FilterStrip.h"

#include "app/gui/SizeTableCommands.h"
#include "browse/FilterTabs.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterMenus.h"
#include "browse/gui/OtherFilterDialog.h"
#include "common/FakeEscape.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "controls/gui/KivTabsWidget.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSemaphore>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace {

/// Runs the event loop until `done` holds, for at most five seconds.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class FilterStripTest : public ::testing::Test {
protected:
    FilterStripTest()
        : panel(settings, prompts, GroupedTrees(), &owner), strip(settings, prompts, panel)
    {
        // The design store lives beside the profile: keep it in the test's folder.
        settings.profilePath = tree.path("Lumara.pro");
        owner.resize(700, 500);
        panel.resize(700, 500);
        owner.show();
        tree.file("a.bmp", 10);
        tree.file("b.bmp", 20);
        tree.file("c.bmp", 30);
        tree.file("x.txt", 40);
        tree.file("y.txt", 50);
    }

    void pressTab(int tab)
    {
        KivTabsWidget* w = strip.FilterButton();
        const QPoint at = w->tabs().tabRect(tab, w->width(), w->height()).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(w, &press);
    }

    TempTree tree;
    Settings settings;
    ScriptedPrompts prompts;
    QWidget owner;
    FileListPanel panel;
    FilterStrip strip;
};

} // namespace

TEST_F(FilterStripTest, TabsFollowCategoriesAndAClickNarrowsTheList)
{
    const KivTabs& tabs = strip.FilterButton()->tabs();
    EXPECT_EQ(tabs.Tabs(), 8);
    EXPECT_EQ(tabs.Caption(2), "Picture");
    EXPECT_EQ(tabs.SelectedTab(), 8);
    EXPECT_EQ(OpenAndWait(panel, tree.root()), 5);

    pressTab(2);
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(panel.state().tree().count(), 4);
    EXPECT_EQ(panel.statusLabel()->text(), "3 [Picture] files");

    // another folder opens through the same tab
    TempTree other;
    other.file("p.bmp", 1);
    other.file("q.doc", 1);
    EXPECT_EQ(OpenAndWait(panel, other.root()), 1);
    pressTab(8);
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(panel.statusLabel()->text(), "2 [ALL] files");

    // hovering shows the tab's tip; with MouseOverFilter on it also selects the tab
    KivTabsWidget* w = strip.FilterButton();
    const QPoint over = w->tabs().tabRect(2, w->width(), w->height()).center();
    QMouseEvent move(QEvent::MouseMove, over, w->mapToGlobal(over), Qt::NoButton, {}, {});
    QApplication::sendEvent(w, &move);
    EXPECT_TRUE(w->toolTip().startsWith("Show Picture files: [bmp;"));
    EXPECT_EQ(w->tabs().SelectedTab(), 8);
    settings.mouseOverFilter = 1;
    QApplication::sendEvent(w, &move);
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(w->tabs().SelectedTab(), 2);
    EXPECT_EQ(panel.statusLabel()->text(), "1 [Picture] files");
}

TEST_F(FilterStripTest, RightClickOnTheLastTabOpensTheFilterMenu)
{
    OpenAndWait(panel, tree.root());
    QStringList opened;
    for (QMenu* menu : {strip.menus().filter.menu, strip.menus().filterview.menu}) {
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &opened] {
            opened << menu->title();
            QTimer::singleShot(0, menu, [menu] { menu->close(); });
        });
    }
    KivTabsWidget* w = strip.FilterButton();
    const auto rightClick = [w](int tab) {
        const QPoint at = w->tabs().tabRect(tab, w->width(), w->height()).center();
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::RightButton,
                            Qt::NoButton, {});
        QApplication::sendEvent(w, &release);
    };
    rightClick(8);
    rightClick(2);
    EXPECT_EQ(opened, QStringList({"Filter", "Filterview"}));
}

TEST_F(FilterStripTest, OtherFilterSetFromARightClickNarrowsTheNextClick)
{
    tree.file("e.txt", 0);
    EXPECT_EQ(OpenAndWait(panel, tree.root()), 6);
    KivTabsWidget* w = strip.FilterButton();
    const QPoint at = w->tabs().tabRect(7, w->width(), w->height()).center();
    // Modify [Other] types: the dialog takes "*.txt", size 0 "Equal", SetOtherFilter, Exit.
    QMenu* menu = strip.menus().filterview.menu;
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
        QTimer::singleShot(0, menu, [this, menu] {
            QTimer::singleShot(0, [] {
                auto* dialog = qobject_cast<OtherFilterDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                OtherFilterFields f;
                f.fileName = QStringLiteral("*.txt");
                f.fileSize = QStringLiteral("0");
                dialog->setFields(f);
                dialog->findChild<QPushButton*>(QStringLiteral("SetOtherFilter"))->click();
                dialog->accept();
            });
            strip.menus().filterview.modify->trigger();
            menu->close();
        });
    });
    // The press selects the tab and starts its listing; the release, already waiting,
    // opens the menu while that listing runs.
    auto* release = new QMouseEvent(QEvent::MouseButtonRelease, at, w->mapToGlobal(at),
                                    Qt::RightButton, Qt::NoButton, {});
    QApplication::postEvent(w, release);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, {});
    QApplication::sendEvent(w, &press);
    QApplication::processEvents();
    EXPECT_EQ(settings.categories[6].extensions, "*.txt");

    pressTab(7);
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(panel.statusLabel()->text(), "1 [Other] files");
    EXPECT_EQ(strip.filters().TabTip(6),
              "Show Other files:Name[*.txt],NameLength[*],FileLength[=0],Attr");
}

TEST_F(FilterStripTest, SwapTabColorRedrawsTheFileImagesItNames)
{
    OpenAndWait(panel, tree.root());
    const NodeTree& list = panel.state().tree();
    const auto images = [&list] {
        QSet<QString> found;
        for (NodeTree::Id id : list.children(list.root()))
            found.insert(list.image(id));
        return found;
    };
    EXPECT_EQ(images(), QSet<QString>({"3"}));
    strip.menus().filterview.swapTabColor->trigger();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(images(), QSet<QString>({"14", "15"})) << "Text and Picture";
    strip.menus().filterview.swapTabColor->trigger();
    ASSERT_TRUE(WaitForListing(panel));
    EXPECT_EQ(images(), QSet<QString>({"3"}));
}

TEST_F(FilterStripTest, DesignPropertiesRoundTrip)
{
    QTemporaryDir dir;
    QSettings design(dir.filePath("design.ini"), QSettings::IniFormat);
    strip.FilterButton()->tabs().setCaptionAlignment(1);
    strip.saveDesign(design);
    design.sync();
    EXPECT_EQ(design.value("FilterButton/CAPTIONSTYLE").toInt(), 1);
    EXPECT_EQ(design.value("FilterButton/TABCAPTION2").toString(), "Picture");
    strip.FilterButton()->tabs().setCaptionAlignment(4);
    strip.loadDesign(design);
    EXPECT_EQ(strip.FilterButton()->tabs().CaptionAlignment(), 1);
    EXPECT_EQ(strip.FilterButton()->tabs().Caption(8), "ALL");
}

TEST_F(FilterStripTest, SizeTablesShowInTheViewWindowGrid)
{
    FakeEscape cancel;
    ViewWindow view(settings, prompts);
    SizeTableCommands tables(settings, prompts, cancel, panel, [&view] { return &view; });
    OpenAndWait(panel, tree.root());
    panel.menus().files.sizeTable->trigger();
    const Grid& grid = view.grid().grid();
    ASSERT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.textMatrix(0, 1), "Name");
    EXPECT_EQ(grid.textMatrix(5, 2), "50");
    EXPECT_FALSE(view.grid().isHidden());
    EXPECT_EQ(view.statusMessage(), "FileSizes: " + tree.root() + "/");
    EXPECT_EQ(tables.grandTotal(), 150);

    tables.FolderSizeTable(tree.folder("none") + "/");
    ASSERT_TRUE(waitFor([&] { return !tables.reading(); }));
    EXPECT_EQ(prompts.shownTexts().last(), "no files found");
    EXPECT_TRUE(view.grid().isHidden());
    tables.FolderSizeTable(tree.root() + "/");
    ASSERT_TRUE(waitFor([&] { return !tables.reading(); }));
    EXPECT_EQ(view.grid().grid().rows(), 6);
    EXPECT_EQ(view.statusMessage(), tree.root());
}

TEST_F(FilterStripTest, AFolderSizeTableIsReadAsideAndEscapeEndsTheRead)
{
    FakeEscape cancel;
    ViewWindow view(settings, prompts);
    SizeTableCommands tables(settings, prompts, cancel, panel, [&view] { return &view; });
    // A slow share: the files come one at a time, each when the test lets it.
    QSemaphore next;
    std::atomic<Qt::HANDLE> readOn{nullptr};
    tables.setFileReader(
        [&](const QString& folder, bool hidden, QString* error, platform::ReadWatch* watch) {
            readOn = QThread::currentThreadId();
            std::vector<platform::FileEntry> all = platform::listFiles(folder, hidden, error);
            std::vector<platform::FileEntry> read;
            for (platform::FileEntry& e : all) {
                if (watch->stop || !next.tryAcquire(1, 3000))
                    break;
                read.push_back(std::move(e));
            }
            return read;
        });

    tables.FolderSizeTable(tree.root() + "/");
    EXPECT_TRUE(tables.reading()) << "the window waited for the whole folder";
    next.release(2);
    ASSERT_TRUE(waitFor([&] { return readOn != nullptr; }));
    EXPECT_NE(readOn.load(), QThread::currentThreadId());
    // A second request while one reads is ignored.
    tables.FolderSizeTable(tree.root() + "/");

    // Escape, answered Yes, ends the read; the files read so far are shown.
    prompts.answers << Prompts::Answer::Yes;
    cancel.down = true;
    ASSERT_TRUE(waitFor([&] { return prompts.shownTexts().contains("cancel?"); }));
    next.release(1);
    ASSERT_TRUE(waitFor([&] { return !tables.reading(); }));
    EXPECT_EQ(prompts.shownTexts(), QStringList{"cancel?"});
    const Grid& grid = view.grid().grid();
    EXPECT_GE(grid.rows(), 3);
    EXPECT_LT(grid.rows(), 6);
    EXPECT_EQ(view.statusMessage(), tree.root());
}

TEST(OtherFilterDialog, SetOtherFilterHandsOverTheFieldsAndClearEmptiesThem)
{
    OtherFilterDialog dialog;
    OtherFilterFields f;
    f.fileName = QStringLiteral("*.c;*.h");
    f.fileSize = QStringLiteral("0");
    f.fileSizeOption = Comparison::Greater;
    f.nameLength = QStringLiteral("8");
    f.nameLengthOption = Comparison::Less;
    f.readOnly = true;
    dialog.setFields(f);
    std::optional<OtherFilterFields> applied;
    QObject::connect(&dialog, &OtherFilterDialog::apply,
                     [&applied](const OtherFilterFields& g) { applied = g; });
    dialog.findChild<QPushButton*>(QStringLiteral("SetOtherFilter"))->click();
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->fileName, "*.c;*.h");
    EXPECT_EQ(applied->fileSize, "0");
    EXPECT_EQ(applied->fileSizeOption, Comparison::Greater);
    EXPECT_EQ(applied->nameLengthOption, Comparison::Less);
    EXPECT_TRUE(applied->readOnly);
    EXPECT_FALSE(applied->hidden);
    dialog.clearFields();
    EXPECT_TRUE(dialog.fields().fileName.isEmpty());
    EXPECT_TRUE(dialog.fields().fileSize.isEmpty());
    EXPECT_FALSE(dialog.fields().readOnly);
}
