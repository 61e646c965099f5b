#include "app/gui/MainWindow.h"
#include "app/gui/PictureCommands.h"
#include "app/gui/PictureHost.h"
#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "controls/gui/PageStack.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "trees/TreeRebuild.h"
#include "view/ViewRequest.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class PictureAndBarCommandsTest : public ::testing::Test {
protected:
    PictureAndBarCommandsTest() : window(nullptr, &prompts)
    {
        window.start(tree.root());
        prompts.shown.clear();
    }

    /// The folder is read aside; the table comes when the read is back.
    static bool WaitForTable(ViewWindow* view)
    {
        QElapsedTimer clock;
        clock.start();
        while (view->grid().isHidden() && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return !view->grid().isHidden();
    }

    /// The rows of the chart page that are bar colour at both `x1` and `x2`.
    static int barRows(const QImage& page, int x1, int x2, QColor colour)
    {
        int rows = 0;
        for (int y = 0; y < page.height(); ++y)
            if (page.pixelColor(x1, y) == colour && page.pixelColor(x2, y) == colour)
                ++rows;
        return rows;
    }

    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window;
};

} // namespace

TEST_F(PictureAndBarCommandsTest, ATableOfOneFileDrawsOneFullWidthBar)
{
    const QString folder = tree.folder(QStringLiteral("one")) + QStringLiteral("/");
    tree.file(QStringLiteral("one/only.txt"), 1234);
    window.settings().colours[5] = 0x0000C0;
    Q_EMIT window.folderSizeTableWanted(folder);
    ViewWindow* view = window.viewWindow();
    ASSERT_TRUE(WaitForTable(view));
    QAction* showBars = view->menuItem(ViewMenuItem::ShowSizeBar);
    ASSERT_TRUE(showBars->isEnabled());
    showBars->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(showBars->isChecked());
    EXPECT_EQ(view->viewMode(), ViewMode::FolderSizeBars);
    auto* pages = view->findChild<QWidget*>(QStringLiteral("Sizebartab"))->findChild<PageStack*>();
    ASSERT_TRUE(pages);
    EXPECT_FALSE(view->findChild<QWidget*>(QStringLiteral("Sizebartab"))->isHidden());
    const QImage page = pages->image();
    ASSERT_FALSE(page.isNull());
    const QColor bar(0, 0, 0xC0);
    const int labelEnd = 6 + 1500 / 15;
    EXPECT_GT(barRows(page, labelEnd + 3, page.width() - 9, bar), 4) << "one bar, edge to edge";
    EXPECT_EQ(barRows(page, labelEnd - 20, labelEnd - 20, bar), 0) << "none in the labels";
    if (const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS"); !folder.isEmpty())
        view->grab().save(QDir(folder).filePath(QStringLiteral("sizebars.png")));

    // A resize draws the chart again for the new width.
    view->resize(view->width() - 100, view->height());
    QApplication::processEvents();
    EXPECT_EQ(pages->image().width(), pages->pageArea().width());
    showBars->trigger();
    EXPECT_TRUE(view->findChild<QWidget*>(QStringLiteral("Sizebartab"))->isHidden());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PictureAndBarCommandsTest, ShowSizeBarWithAFileShownHasNothingToDraw)
{
    tree.file(QStringLiteral("a.txt"), 10);
    Q_EMIT window.folderSizeTableWanted(tree.root() + QStringLiteral("/"));
    ASSERT_TRUE(WaitForTable(window.viewWindow()));
    window.TriggerView({tree.root() + QStringLiteral("/"), QStringLiteral("a.txt"),
                        QStringLiteral(".TXT"), FileKind::Text});
    ViewWindow* view = window.viewWindow();
    ASSERT_EQ(view->viewMode(), ViewMode::Text);
    QAction* showBars = view->menuItem(ViewMenuItem::ShowSizeBar);
    ASSERT_TRUE(showBars->isEnabled()) << "offered since the table";
    prompts.shown.clear();
    showBars->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("nothing to draw"));
    EXPECT_FALSE(showBars->isChecked());
    EXPECT_EQ(view->viewMode(), ViewMode::Text);
}

TEST_F(PictureAndBarCommandsTest, FolderThumbnailsShowTheFoldersPictures)
{
    auto* commands = window.findChild<PictureCommands*>();
    ASSERT_TRUE(commands);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    tree.folder(QStringLiteral("pics"));
    image.save(tree.path(QStringLiteral("pics/a.bmp")));
    image.save(tree.path(QStringLiteral("pics/b.jpg")));
    tree.file(QStringLiteral("pics/c.txt"), 3);
    commands->FolderThumbnails(tree.path(QStringLiteral("pics")) + QStringLiteral("/"));
    EXPECT_EQ(prompts.shownTexts().last(), QStringLiteral(" 2 pictures\r\n 1 pages"));
    EXPECT_EQ(window.viewWindow()->viewMode(), ViewMode::Thumbnails);
    commands->FolderThumbnails(tree.folder(QStringLiteral("nothing")) + QStringLiteral("/"));
    EXPECT_EQ(prompts.shownTexts().last(), QStringLiteral("There are no picture files"));
}

namespace {

/// The window as the thumbnail commands see it: a file list of its own, the folder the
/// tree's menu was opened on, and what reached the view window.
class FakePictureHost : public PictureHost {
public:
    FakePictureHost() : panel(options, messages, GroupedTrees()) {}
    Settings& settings() override { return options; }
    Prompts& prompts() override { return messages; }
    QString menuFolderKey() const override { return menuKey; }
    const FileList& listedFiles() const override
    {
        return const_cast<FileListPanel&>(panel).state();
    }
    void showThumbnails(const QStringList& pictures) override { shown << pictures; }
    void closeView() override { ++closed; }

    Settings options;
    ScriptedPrompts messages;
    FileListPanel panel;
    QString menuKey;
    QList<QStringList> shown;
    int closed = 0;
};

} // namespace

TEST(PictureCommandsOnAHost, TheListedOrTheMenuFoldersPicturesGoToTheView)
{
    TempTree tree;
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString pics = tree.folder(QStringLiteral("pics"));
    image.save(pics + QStringLiteral("/a.bmp"));
    image.save(pics + QStringLiteral("/b.jpg"));
    tree.file(QStringLiteral("pics/c.txt"), 3);
    tree.file(QStringLiteral("plain/d.txt"), 3);
    FakePictureHost host;
    QAction folderItem, listItem;
    PictureCommands commands(host, folderItem, listItem);
    EXPECT_TRUE(folderItem.isEnabled() && listItem.isEnabled());
    const QStringList expected{pics + QStringLiteral("/a.bmp"), pics + QStringLiteral("/b.jpg")};

    ASSERT_EQ(OpenAndWait(host.panel, pics + QStringLiteral("/")), 3);
    listItem.trigger();
    ASSERT_EQ(host.shown.size(), 1);
    QStringList listed = host.shown[0];
    listed.sort();
    EXPECT_EQ(listed, expected);

    // The folder item shows the menu's folder, and nothing without one.
    host.menuKey = pics;
    folderItem.trigger();
    ASSERT_EQ(host.shown.size(), 2);
    listed = host.shown[1];
    listed.sort();
    EXPECT_EQ(listed, expected);
    host.menuKey.clear();
    folderItem.trigger();
    EXPECT_EQ(host.shown.size(), 2);

    // A list without pictures says so and ends what the view shows.
    ASSERT_EQ(OpenAndWait(host.panel, tree.path(QStringLiteral("plain/"))), 1);
    listItem.trigger();
    EXPECT_EQ(host.shown.size(), 2);
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(host.messages.shownTexts(),
              QStringList{QStringLiteral("There are no picture files")});
}
