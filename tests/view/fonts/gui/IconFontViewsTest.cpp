#include "view/fonts/gui/IconFontViews.h"

#include "common/FakeEscape.h"
#include "common/FontFixtures.h"
#include "common/IconFixtures.h"
#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "view/fonts/gui/IconPageWidget.h"
#include "view/window/gui/ViewWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void WaitDrawn(const IconFontViews& views)
{
    for (int i = 0; i < 2000 && views.drawing(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QString IconProgram(TempTree& tree, int count)
{
    using namespace iconfixtures;
    QList<QList<QByteArray>> groups;
    for (int i = 0; i < count; ++i)
        groups.append({dibImage(32, 32, qRgb(10 + i * 5, 100, 100))});
    return tree.file("tools.dll", peWithIcons(groups));
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

class IconFontViewsTest : public ::testing::Test {
protected:
    IconFontViewsTest()
    {
        settings.tempFolder = tree.folder("temp") + "/";
        settings.appFolder = tree.folder("app") + "/";
        window = std::make_unique<ViewWindow>(settings, prompts);
        window->resize(700, 500);
        window->show();
        views = new IconFontViews(*window, prompts, cancel);
    }

    ViewRequest request(const QString& path, const QString& extension)
    {
        const qsizetype slash = path.lastIndexOf('/');
        return {path.left(slash + 1), path.mid(slash + 1), extension,
                ClassifyFileKind(extension, settings)};
    }
    ViewRequest iconsRequest(const QString& path)
    {
        ViewRequest icons = request(path, ".EXE");
        icons.iconsView = true;
        return icons;
    }

    TempTree tree;
    Settings settings;
    ScriptedPrompts prompts;
    FakeEscape cancel;
    std::unique_ptr<ViewWindow> window;
    IconFontViews* views = nullptr;
};

TEST_F(IconFontViewsTest, ViewIconsShowsAPageAndSavesTheHoveredIcon)
{
    const QString program = IconProgram(tree, 40);
    window->TriggerView(iconsRequest(program));
    WaitDrawn(*views);

    EXPECT_EQ(window->viewMode(), ViewMode::Icons);
    EXPECT_EQ(window->thumbPage(), ThumbPage::Icons);
    EXPECT_EQ(window->statusMessage(), " 40 icons");
    EXPECT_EQ(window->statusPath(), program);
    IconPageWidget* page = views->iconPage();
    ASSERT_TRUE(page->isVisible());
    const IconPageLayout& layout = views->iconLayout();
    EXPECT_EQ(layout.pages(), (40 + layout.perPage() - 1) / layout.perPage());
    EXPECT_EQ(page->scrollThumb()->maximum(), layout.pages() - 1);
    EXPECT_EQ(page->page().pixel(10, 10), qRgb(10, 100, 100));

    views->HoverIcon(0, QPoint(74 + 5, 5));
    EXPECT_EQ(window->statusMessage(), "icon 2 of 40");
    EXPECT_EQ(window->pointedItem(), " 2");
    EXPECT_EQ(window->statusBar()->toolTip(), "right click on icon to save");

    const QString target = tree.path("second.ico");
    prompts.texts = {target};
    views->SaveHoveredIcon();
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last().title, "Select file to save icon#2");
    EXPECT_EQ(prompts.shown.last().kind, "save");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray ico = file.readAll();
    EXPECT_EQ(uchar(ico[7]), 64) << "twice the icon's height";
    ico[7] = 32; // Qt trusts the directory's height, Windows the image's header
    EXPECT_EQ(QImage::fromData(ico, "ico").pixel(0, 0), qRgb(15, 100, 100));

    // Saving over it: our question only, the file dialog is told not to ask as well.
    prompts.texts = {target};
    const qsizetype shownBefore = prompts.shown.size();
    views->SaveHoveredIcon();
    EXPECT_EQ(prompts.saveOverwrites.last(), Prompts::Overwrite::CallerAsks);
    ASSERT_EQ(prompts.shown.size(), shownBefore + 2);
    EXPECT_EQ(prompts.shown.last().text, target + " exists\rReplace ?");

    // Later pages through the page bar; hovering past the last icon clears panel 2.
    page->scrollThumb()->setValue(layout.pages() - 1);
    WaitDrawn(*views);
    const int onLast = 40 - (layout.pages() - 1) * layout.perPage();
    const QPoint empty((onLast % layout.columns()) * 74 + 3, (onLast / layout.columns()) * 74 + 3);
    views->HoverIcon(layout.pages() - 1, empty);
    EXPECT_EQ(window->statusMessage(), "");
    EXPECT_EQ(window->statusBar()->toolTip(), "");

    views->HoverIcon(0, QPoint(5, 5));
    window->CloseView();
    EXPECT_FALSE(page->isVisible());
    EXPECT_EQ(window->statusBar()->toolTip(), "") << "the save hint goes with the page";
}

TEST_F(IconFontViewsTest, EscapeCutsAPageShortAndAPageAskedMeanwhileIsDrawnNext)
{
    window->TriggerView(iconsRequest(IconProgram(tree, 150)));
    const IconPageLayout& layout = views->iconLayout();
    ASSERT_GT(layout.perPage(), 9);
    ASSERT_GT(layout.pages(), 1);
    ASSERT_TRUE(views->drawing()) << "the page is drawn from the event loop";
    QList<int> shown;
    QObject::connect(views, &IconFontViews::pageShown, [&](int page) { shown << page; });
    cancel.down = true;
    prompts.answers = {Prompts::Answer::Yes};
    WaitDrawn(*views);

    EXPECT_EQ(prompts.shownTexts(), QStringList{"cancel?"});
    EXPECT_EQ(shown, QList<int>{0});
    const QImage cut = views->iconPage()->page();
    EXPECT_EQ(cut.pixel(layout.cellOrigin(0) + QPoint(10, 10)), qRgb(10, 100, 100));
    EXPECT_NE(cut.pixel(layout.cellOrigin(9) + QPoint(10, 10)), qRgb(55, 100, 100))
        << "the icons after the Yes are not drawn";

    views->ShowIconPage(0);
    views->ShowIconPage(1); // waits for page 0
    WaitDrawn(*views);
    EXPECT_EQ(shown, QList<int>({0, 0, 1}));
    EXPECT_EQ(views->iconPage()->scrollThumb()->value(), 1);
    EXPECT_EQ(views->iconPage()->page().pixel(10, 10), qRgb(10 + layout.perPage() * 5, 100, 100));
}

TEST_F(IconFontViewsTest, AFileWithoutIconsSaysSo)
{
    window->TriggerView(iconsRequest(tree.file("readme.txt", "words")));
    EXPECT_EQ(prompts.shownTexts(), QStringList{"no icons in this files"});
    EXPECT_EQ(window->viewMode(), ViewMode::None);
}

TEST_F(IconFontViewsTest, AFontSampleShowsTheFaceAndTheSampleAt16Points)
{
    const QByteArray bold = fontfixtures::installedFont("DejaVuSans-Bold.ttf");
    if (bold.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const QString path = tree.file("DejaVuSans-Bold.ttf", bold);
    const OtherEvent other;
    window->TriggerView(request(path, ".TTF"));
    EXPECT_FALSE(other.ran) << "the view ran another event midway";
    EXPECT_EQ(window->viewMode(), ViewMode::Font);
    QTextDocument* document = window->textBox().document();
    EXPECT_TRUE(document->toPlainText().startsWith("DejaVu Sans Bold" + QString(20, ' ') + "ABCS"));
    EXPECT_EQ(document->blockCount(), 4);
    QTextCursor cursor(document);
    cursor.setPosition(40);
    EXPECT_EQ(cursor.charFormat().font().pointSize(), 16);
    EXPECT_EQ(cursor.charFormat().font().family(), "DejaVu Sans");
    cursor.setPosition(3);
    EXPECT_NE(cursor.charFormat().font().pointSize(), 16) << "the face's line starts at 10 points";
    EXPECT_EQ(window->textBox().textCursor().position(), 0);
}

TEST_F(IconFontViewsTest, TheFontTableFillsTheGrid)
{
    const QByteArray dejavu = fontfixtures::installedFont("DejaVuSans.ttf");
    if (dejavu.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const QStringList paths{
        tree.file("a.ttf", dejavu),
        tree.file("b.ttf",
                  fontfixtures::withNameTable(
                      dejavu, fontfixtures::windowsNames("Nowhere", "Bold", "Nowhere Bold")))};
    views->ShowFontTable(paths);
    GridView* view = &window->grid();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->grid().textMatrix(1, 2), "DejaVu Sans");
    EXPECT_EQ(view->grid().textMatrix(2, 3), " ***font not installed***");
    const QFont sample = view->model()->index(2, 4).data(Qt::FontRole).value<QFont>();
    EXPECT_TRUE(sample.bold());
    EXPECT_EQ(window->statusPath(), "");
}

} // namespace
