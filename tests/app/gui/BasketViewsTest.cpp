// The basket's thumbnail pages and size bar chart, shown on the view window.
#include "app/gui/BasketWiring.h"
#include "app/gui/MainWindow.h"
#include "basket/gui/BasketMenu.h"
#include "basket/gui/BasketPanel.h"
#include "common/TempTree.h"
#include "controls/gui/PageStack.h"
#include "platform/Prompts.h"
#include "view/picture/gui/ThumbnailView.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class BasketViewsTest : public ::testing::Test {
protected:
    BasketViewsTest() : window(nullptr, &prompts)
    {
        window.start(tree.root());
        prompts.shown.clear();
    }

    [[nodiscard]] BasketPanel& panel() { return window.basket().panel(); }

    void add(const QString& path)
    {
        const qsizetype slash = path.lastIndexOf(u'/');
        panel().basket().AddFileToBasket(path.left(slash + 1), path.mid(slash + 1),
                                         NodeSource::File, "", Basket::Notice::Silent);
    }

    QString picture(const QString& name, QColor colour)
    {
        QImage image(48, 36, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = tree.path(name);
        image.save(path, "BMP");
        return path;
    }

    /// The bars of a chart page: for each run of rows whose pixel at `x` is `colour`,
    /// how far the colour reaches to the right from `x`.
    static QList<int> barLengths(const QImage& page, int x, QColor colour)
    {
        QList<int> lengths;
        bool inBar = false;
        for (int y = 0; y < page.height(); ++y) {
            const bool bar = page.pixelColor(x, y) == colour;
            if (bar && !inBar) {
                int right = x;
                while (right + 1 < page.width() && page.pixelColor(right + 1, y) == colour)
                    ++right;
                lengths << right - x + 1;
            }
            inBar = bar;
        }
        return lengths;
    }

    static void shot(QWidget* widget, const QString& name)
    {
        if (const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS"); !folder.isEmpty())
            widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window;
};

} // namespace

TEST_F(BasketViewsTest, PictureThumbnailsShowTheBasketsPicturesOnly)
{
    panel().runCommand(BasketMenu::Code::Thumbnails);
    EXPECT_EQ(prompts.shownTexts(), QStringList{"RadeZazeda is empty"});

    add(tree.file("notes.txt", 10));
    add(tree.file("picture.bmp.txt", 10)); // a picture's name inside, not its extension
    prompts.shown.clear();
    panel().runCommand(BasketMenu::Code::Thumbnails);
    EXPECT_EQ(prompts.shownTexts(), QStringList{"RadeZazeda has no picture files"});

    // Twenty-six pictures from two folders, added out of order: one more than a page.
    tree.folder("q");
    for (int i = 25; i >= 0; --i)
        add(picture(QStringLiteral("%1p%2.bmp").arg(i % 2 ? "q/" : "").arg(i, 2, 10, QChar('0')),
                    i == 0 ? Qt::red : Qt::darkCyan));
    ASSERT_EQ(panel().basket().entries(), 28);
    prompts.shown.clear();
    EXPECT_TRUE(panel().menu().thumbnails->isEnabled());
    panel().runCommand(BasketMenu::Code::Thumbnails);
    EXPECT_EQ(prompts.shownTexts(), QStringList{" 26 pictures\r\n 2 pages"});

    ViewWindow* view = window.viewWindow();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->viewMode(), ViewMode::Thumbnails);
    ThumbnailView& thumbs = PictureSoundViews::of(view)->thumbnailView();
    const QStringList shown = thumbs.pictures();
    ASSERT_EQ(shown.size(), 26);
    EXPECT_FALSE(shown.contains(tree.path("notes.txt")));
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end())) << "the set is taken in order";
    EXPECT_EQ(thumbs.pages()->pageCount(), 2);

    // The first cell holds the first picture of the sorted set: the red one.
    view->resize(900, 650);
    const QDeadlineTimer deadline(60000);
    do
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    while (thumbs.drawing() && !deadline.hasExpired());
    const QImage page = thumbs.pages()->image();
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(shown.first(), tree.path("p00.bmp"));
    EXPECT_EQ(page.pixelColor(15, 15), QColor(Qt::red));
    shot(view, "basket-thumbnails");
}

TEST_F(BasketViewsTest, ShowSizeBarChartsTheShownBasketOneBarPerRow)
{
    QAction* showBars = window.viewWindow()->menuItem(ViewMenuItem::ShowSizeBar);
    ASSERT_TRUE(showBars);
    EXPECT_FALSE(showBars->isEnabled()) << "no table and no basket shown: nothing to chart";

    add(tree.file("big.dat", 4000));
    add(tree.file("half.dat", 2000));
    add(tree.file("quarter.dat", 1000));
    window.settings().colours[5] = 0x00C000;
    panel().toggleShown();
    ViewWindow* view = window.viewWindow();
    view->resize(800, 500);
    QApplication::processEvents();
    ASSERT_TRUE(panel().gridShown());
    EXPECT_TRUE(showBars->isEnabled()) << "the shown basket can be charted";
    prompts.shown.clear();
    showBars->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(showBars->isChecked());
    EXPECT_EQ(view->viewMode(), ViewMode::BasketSizeBars);
    auto* pages = view->findChild<QWidget*>(QStringLiteral("Sizebartab"))->findChild<PageStack*>();
    ASSERT_TRUE(pages);
    const QImage page = pages->image();
    ASSERT_FALSE(page.isNull());
    // The basket's rows are files: the bars start after the default file label width.
    const int barLeft = 6 + 1500 / 15;
    QList<int> bars = barLengths(page, barLeft + 1, QColor(0, 0xC0, 0));
    ASSERT_EQ(bars.size(), 3) << "one bar per row";
    std::sort(bars.begin(), bars.end());
    EXPECT_GE(bars[2], page.width() - barLeft - 12) << "the largest fills the width";
    EXPECT_NEAR(bars[1], bars[2] / 2, 2);
    EXPECT_NEAR(bars[0], bars[2] / 4, 2);
    shot(view, "basket-sizebars");

    // A resize draws the basket's chart again.
    view->resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(view->viewMode(), ViewMode::BasketSizeBars);
    EXPECT_EQ(pages->image().width(), pages->pageArea().width());

    // Hiding the basket takes its chart away.
    panel().toggleShown();
    EXPECT_TRUE(view->findChild<QWidget*>(QStringLiteral("Sizebartab"))->isHidden());
    EXPECT_FALSE(showBars->isChecked());
    EXPECT_EQ(view->viewMode(), ViewMode::None);

    // Emptied while shown: the grid holds no data row.
    panel().toggleShown();
    ASSERT_TRUE(panel().gridShown());
    while (!panel().basket().empty()) {
        panel().basket().grid().setSelection(1, 2, 1, 2);
        panel().runCommand(BasketMenu::Code::Delete);
    }
    ASSERT_TRUE(panel().basket().empty());
    ASSERT_TRUE(panel().gridShown());
    prompts.shown.clear();
    showBars->trigger();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"nothing to draw"});
    EXPECT_FALSE(showBars->isChecked());
}
