#include "common/RunTool.h"
#include "common/TempTree.h"
#include "controls/gui/PageStack.h"
#include "platform/CancelKey.h"
#include "platform/Mci.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "view/media/gui/SoundView.h"
#include "view/picture/ThumbnailPages.h"
#include "view/picture/gui/PictureView.h"
#include "view/picture/gui/ThumbnailView.h"
#include "view/window/gui/PictureSoundViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextEdit>
#include <QThread>
#include <QVideoWidget>
#include <gtest/gtest.h>

namespace {

/// Escape is pressed after `allowed` checks (never when negative).
class CountingEscape : public CancelKey {
public:
    int allowed = -1;
    int checks = 0;
    bool pressed() override { return allowed >= 0 && ++checks > allowed; }
    void clear() override {}
};

/// Writes a screenshot of `widget` when LUMARA_SCREENSHOTS names a folder.
void screenshot(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(name + ".png"));
}

QByteArray picture(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < size.height() / 3; ++y)
        for (int x = 0; x < size.width() / 3; ++x)
            image.setPixelColor(x, y, Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

/// One picture made by ffmpeg from its test source; false when ffmpeg cannot.
bool ffmpegPicture(const QString& source, const QString& path)
{
    return RunTool("ffmpeg",
                   {"-loglevel", "error", "-y", "-f", "lavfi", "-i", source, "-frames:v", "1",
                    "-update", "1", path},
                   {}, 120000)
        .succeeded();
}

class PictureViewsTest : public ::testing::Test {
protected:
    PictureViewsTest()
    {
        settings.tempFolder = tree.folder("temp") + "/";
        settings.appFolder = tree.folder("app") + "/";
        window = std::make_unique<ViewWindow>(settings, prompts);
        window->resize(900, 650);
        window->show();
        QApplication::processEvents();
        views = new PictureSoundViews(*window, prompts, escape, &mci);
    }

    void view(const QString& path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        ViewRequest r;
        r.folder = path.left(slash + 1);
        r.name = path.mid(slash + 1);
        r.extension = r.name.mid(r.name.lastIndexOf('.')).toUpper();
        r.kind = ClassifyFileKind(r.extension, settings);
        window->TriggerView(r);
        QApplication::processEvents();
    }

    /// Lets the window run until the thumbnail page being drawn is shown; true when it is.
    bool waitForPage()
    {
        ThumbnailView& thumbs = views->thumbnailView();
        const QDeadlineTimer deadline(60000);
        while (thumbs.drawing() && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return !thumbs.drawing();
    }

    QStringList pictures(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << tree.file(QStringLiteral("pics/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                               picture(QSize(120, 90), QColor::fromHsv(i * 13 % 360, 200, 220)));
        return paths;
    }

    TempTree tree;
    Settings settings;
    ScriptedPrompts prompts;
    CountingEscape escape;
    RecordingMci mci;
    std::unique_ptr<ViewWindow> window;
    PictureSoundViews* views = nullptr;
};

} // namespace

TEST_F(PictureViewsTest, APictureShowsAtNaturalSizeWithScrollBarsForItsOverflow)
{
    view(tree.file("big picture.jpg", picture(QSize(2000, 300), Qt::darkGreen)));
    PictureView& shown = views->pictureView();
    EXPECT_EQ(window->viewMode(), ViewMode::Picture);
    EXPECT_FALSE(shown.isHidden());
    EXPECT_EQ(shown.pictureRect(), QRect(0, 0, 2000, 300));
    ASSERT_FALSE(shown.horizontalBar()->isHidden());
    EXPECT_EQ(shown.horizontalBar()->maximum(), 2000 - shown.frameSize().width());
    EXPECT_TRUE(shown.verticalBar()->isHidden()) << "it fits the height";
    shown.horizontalBar()->setValue(300);
    EXPECT_EQ(shown.pictureRect().left(), -300);
    shown.rightPressed(QPoint(100, 100));
    shown.rightDragged(QPoint(130, 90));
    EXPECT_EQ(shown.pictureRect().topLeft(), QPoint(-270, -10));
    shown.leftPressed();
    EXPECT_EQ(shown.pictureRect().size(), QSize(2000, 300)) << "only one side overflows";
    screenshot(*window, "picture");

    window->Copy();
    EXPECT_EQ(prompts.shown.last().text, "big picture.jpg\r\ncopied, use CTRL-V to paste");
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(2000, 300));
}

TEST_F(PictureViewsTest, APhotographBeyondQtsAllocationLimitShowsWhole)
{
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    // 7746 x 5164 pixels take 160 MB decoded, more than Qt's reader allows by itself.
    const QString photo = tree.path("photo.jpg");
    ASSERT_TRUE(ffmpegPicture("color=c=blue:s=7746x5164", photo));
    view(photo);
    PictureView& shown = views->pictureView();
    EXPECT_EQ(window->viewMode(), ViewMode::Picture);
    ASSERT_EQ(shown.picture().size(), QSize(7746, 5164));
    EXPECT_GT(qBlue(shown.picture().pixel(7000, 5000)), 200);
    EXPECT_EQ(window->statusMessage(), QString());
    EXPECT_FALSE(shown.horizontalBar()->isHidden());
}

TEST_F(PictureViewsTest, TodaysFormatsTifAndPcxShowAsPictures)
{
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    tree.folder("made");
    for (const char* name : {"a.png", "b.jpeg", "c.tif", "d.tiff", "e.webp", "f.pcx"}) {
        const QString path = tree.path("made/" + QString::fromLatin1(name));
        ASSERT_TRUE(ffmpegPicture("testsrc=size=64x48", path)) << name;
        view(path);
        EXPECT_EQ(window->viewMode(), ViewMode::Picture) << name;
        EXPECT_EQ(views->pictureView().picture().size(), QSize(64, 48)) << name;
        EXPECT_TRUE(window->firstChartNote()->isHidden()) << name << ": no OLE caption";
        EXPECT_TRUE(window->textBox().isHidden()) << name;
        EXPECT_EQ(window->statusMessage(), QString()) << name;
        if (QLatin1String(name) == QLatin1String("f.pcx"))
            screenshot(*window, "pcx");
    }
    // A picture that cannot be read says so rather than leaving the view blank.
    view(tree.file("made/broken.png", QByteArray("not a picture")));
    EXPECT_TRUE(window->statusMessage().startsWith("cannot show this picture"))
        << window->statusMessage().toStdString();
}

TEST_F(PictureViewsTest, AnimatedGifsPlay)
{
    // Two frames of 2 x 2 pixels, red then blue, 50 ms each, looping.
    const QByteArray gif = QByteArray::fromHex(
        "47494638396102000200f00000ff000000000021f904000500000021ff0b4e45545343415045322e30"
        "03010000002c000000000200020000020284510021f90400050000002c000000000200020080000"
        "0ff00000002028451003b");
    view(tree.file("blink.gif", gif));
    PictureView& shown = views->pictureView();
    ASSERT_TRUE(shown.animated());
    QSet<QRgb> seen;
    for (int i = 0; i < 40 && seen.size() < 2; ++i) {
        seen.insert(shown.picture().pixel(0, 0) & 0xFFFFFF);
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    EXPECT_EQ(seen, (QSet<QRgb>{0xFF0000, 0x0000FF}));
    view(tree.file("still.gif", QByteArray::fromHex("47494638396102000200f00000ff000000000021f904"
                                                    "00000000002c00000000020002000002028451003b")));
    EXPECT_FALSE(shown.animated());
}

TEST_F(PictureViewsTest, RotationTurnsTheUnrotatedPictureByTheTotalAngle)
{
    view(tree.file("turn.jpg", picture(QSize(300, 200), Qt::red)));
    PictureView& shown = views->pictureView();
    QAction* right = window->menuItem(ViewMenuItem::RotateRight);
    QAction* left = window->menuItem(ViewMenuItem::RotateLeft);
    ASSERT_TRUE(right && right->isEnabled() && left && left->isEnabled());
    left->trigger();
    EXPECT_EQ(shown.rotationAngle(), -90);
    right->trigger();
    EXPECT_EQ(shown.rotationAngle(), 0);
    EXPECT_TRUE(shown.rotated().isNull());
    right->trigger();
    ASSERT_EQ(shown.rotationAngle(), 90);
    const QImage once = shown.rotated();
    EXPECT_EQ(once.size(), QSize(200, 300));
    EXPECT_EQ(once.pixelColor(190, 10), QColor(Qt::white)) << "the white corner went right";
    screenshot(*window, "rotated");
    right->trigger();
    right->trigger();
    EXPECT_EQ(shown.rotationAngle(), 270);
    right->trigger();
    EXPECT_EQ(shown.rotationAngle(), 0);
    EXPECT_TRUE(shown.rotated().isNull()) << "four turns show the picture afresh";
    EXPECT_EQ(window->viewMode(), ViewMode::Picture);
    EXPECT_EQ(shown.pictureRect(), QRect(0, 0, 300, 200));
    right->trigger();
    EXPECT_EQ(shown.rotated(), once) << "drawn from the unrotated picture every time";
}

TEST_F(PictureViewsTest, TwentyFivePicturesMakeOnePageWithADisabledBar)
{
    views->ShowThumbnails({});
    EXPECT_EQ(prompts.shown.last().text, "no pictures found");
    views->ShowThumbnails(pictures(25));
    EXPECT_EQ(prompts.shown.last().text, " 25 pictures\r\n 1 pages");
    ASSERT_TRUE(waitForPage());
    EXPECT_EQ(window->viewMode(), ViewMode::Thumbnails);
    EXPECT_EQ(window->thumbPage(), ThumbPage::Pictures);
    PageStack* pages = views->thumbnailView().pages();
    EXPECT_EQ(pages->pageCount(), 1);
    EXPECT_FALSE(pages->scrollBar()->isEnabled());
    EXPECT_FALSE(pages->image().isNull());
    screenshot(*window, "thumbnails");
}

TEST_F(PictureViewsTest, TwentySixPicturesMakeTwoPagesAndTheHoverNamesThem)
{
    const QStringList paths = pictures(26);
    views->ShowThumbnails(paths);
    EXPECT_EQ(prompts.shown.last().text, " 26 pictures\r\n 2 pages");
    ThumbnailView& thumbs = views->thumbnailView();
    PageStack* pages = thumbs.pages();
    EXPECT_EQ(pages->pageCount(), 2);
    EXPECT_TRUE(pages->scrollBar()->isEnabled());
    thumbs.hover(QPoint(10, 10));
    EXPECT_EQ(window->statusPath(), paths[0]);
    EXPECT_EQ(window->statusMessage(), "picture 1 of 26");
    pages->scrollBar()->setValue(1);
    EXPECT_EQ(pages->page(), 1);
    thumbs.hover(QPoint(10, 10));
    EXPECT_EQ(window->statusMessage(), "picture 26 of 26");
    thumbs.hover(QPoint(pages->pageArea().width() - 5, pages->pageArea().height() - 5));
    EXPECT_EQ(window->statusPath(), QString()) << "the empty part of the last page";
    EXPECT_EQ(window->statusMessage(), QString());
}

TEST_F(PictureViewsTest, ThumbnailClicksEnlargeAndCopy)
{
    const QStringList paths = pictures(3);
    views->ShowThumbnails(paths);
    ThumbnailView& thumbs = views->thumbnailView();
    thumbs.hover(QPoint(10, 10));
    thumbs.press(Qt::LeftButton);
    EXPECT_FALSE(views->pictureView().isHidden()) << "enlarged over the page";
    thumbs.release();
    EXPECT_TRUE(views->pictureView().isHidden());
    EXPECT_EQ(window->viewMode(), ViewMode::Thumbnails);

    prompts.answers = {Prompts::Answer::Yes};
    thumbs.press(Qt::RightButton);
    EXPECT_EQ(prompts.shown[prompts.shown.size() - 2].text,
              paths[0] + "\r\ncopy to clipboard (use CTRL-V to paste)?");
    EXPECT_EQ(prompts.shown.last().text, paths[0] + "\r\ncopied, use CTRL-V to paste");
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(120, 90));
}

TEST_F(PictureViewsTest, APageIsDrawnWhileTheWindowRunsAndKeptOnlyWhenWhole)
{
    const QStringList paths = pictures(10);
    ThumbnailView& thumbs = views->thumbnailView();
    QStringList shownPages;
    QObject::connect(&thumbs, &ThumbnailView::pageShown,
                     [&shownPages](int page) { shownPages << QString::number(page); });

    // Escape, answered Yes, ends the page; a page cut short is drawn anew next time.
    escape.allowed = 0;
    prompts.answers = {Prompts::Answer::Yes};
    views->ShowThumbnails(paths);
    EXPECT_EQ(prompts.shown.last().text, "cancel?");
    ASSERT_TRUE(waitForPage());
    EXPECT_EQ(shownPages, QStringList{"0"});
    EXPECT_EQ(window->viewMode(), ViewMode::Thumbnails);
    const QPoint firstCell = ThumbnailGeometry(thumbs.pages()->pageArea()).cell(1).center();
    EXPECT_EQ(thumbs.pages()->image().pixelColor(firstCell), QColor(Qt::white)) << "nothing drawn";

    escape.allowed = -1;
    thumbs.ShowThumbnailPage(0);
    EXPECT_TRUE(thumbs.drawing()) << "the page cut short was not kept";
    ASSERT_TRUE(waitForPage());
    const QImage whole = thumbs.pages()->image();
    EXPECT_NE(whole.pixelColor(firstCell), QColor(Qt::white)) << "the first picture is drawn";
    thumbs.ShowThumbnailPage(0);
    EXPECT_FALSE(thumbs.drawing()) << "a whole page is shown again at once";
    EXPECT_EQ(thumbs.pages()->image(), whole);
    EXPECT_EQ(shownPages, (QStringList{"0", "0", "0"}));

    // Another view taking the window ends the page being drawn: it never shows.
    thumbs.setPictures(QStringList(paths.rbegin(), paths.rend()));
    thumbs.ShowThumbnailPage(0);
    EXPECT_TRUE(thumbs.drawing());
    window->ShowSystemInfo();
    EXPECT_FALSE(thumbs.drawing());
    QApplication::processEvents();
    EXPECT_EQ(shownPages.size(), 3);
    EXPECT_EQ(window->viewMode(), ViewMode::SystemInfo);
}

TEST_F(PictureViewsTest, SoundPlaysQuotedAndCountsDown)
{
    const QString song = tree.file("my songs/long song.mp3", 10);
    const QString device = QLatin1Char('"') + song + QLatin1Char('"');
    mci.replies["status " + device + " length"] = "3725000";
    mci.replies["status " + device + " position"] = "0";
    view(song);
    EXPECT_TRUE(mci.sent.contains("open " + device));
    EXPECT_EQ(mci.sent.last(), "play " + device);
    EXPECT_TRUE(views->soundView().countdownTimer().isActive());
    EXPECT_EQ(views->soundView().countdownTimer().interval(), 1000);
    views->soundView().Tick();
    EXPECT_EQ(window->statusMessage(), "01:02:05");
    screenshot(*window, "sound");
    views->soundView().UpdateToolTip(1);
    EXPECT_EQ(window->statusBar()->toolTip(), "Playing: " + song + ", duration = 01:02:05");
    window->SetViewMessage("icon 3 of 9");
    views->soundView().UpdateToolTip(1);
    EXPECT_EQ(window->statusBar()->toolTip(), "Playing: " + song + ", duration = 01:02:05")
        << "the same panel: the tip stays";
    views->soundView().UpdateToolTip(2);
    EXPECT_EQ(window->statusBar()->toolTip(), "right click on icon to save");

    views->soundView().Pause();
    EXPECT_EQ(mci.sent.last(), "Stop " + device);
    EXPECT_FALSE(views->soundView().countdownTimer().isActive());
    views->soundView().Resume();
    EXPECT_EQ(mci.sent.last(), "play " + device);
    EXPECT_TRUE(views->soundView().countdownTimer().isActive());
    mci.sent.clear();
    views->soundView().Replay();
    EXPECT_EQ(mci.sent, (QStringList{"close " + device, "open " + device, "play " + device}));

    mci.sent.clear();
    window->CloseView();
    EXPECT_EQ(mci.sent, (QStringList{"close " + device, "stop video", "close video"}));
    EXPECT_FALSE(views->soundView().playback().loaded());
    EXPECT_FALSE(views->soundView().countdownTimer().isActive());
}

TEST_F(PictureViewsTest, BackDuringASoundEndsItsCountDownAndNoOldTextShowsBehind)
{
    window->ViewText(tree.file("old notes.txt", QByteArray("long ago")));
    const QString song = tree.file("song.mp3", 10);
    const QString device = QLatin1Char('"') + song + QLatin1Char('"');
    mci.replies["status " + device + " length"] = "65000";
    mci.replies["status " + device + " position"] = "0";
    view(song);
    EXPECT_TRUE(window->textBox().isHidden()) << "the old text must not show behind";
    views->soundView().Tick();
    EXPECT_EQ(window->statusMessage(), "00:01:05");
    window->GoBack();
    EXPECT_EQ(window->statusMessage(), QString());
    EXPECT_FALSE(views->soundView().countdownTimer().isActive());
    EXPECT_FALSE(views->soundView().playback().loaded());

    view(tree.file("film.avi", 10));
    EXPECT_TRUE(window->textBox().isHidden());
}

TEST_F(PictureViewsTest, TheSoundMenuOnlyOpensWhileASoundIsLoaded)
{
    QStatusBar* bar = window->statusBar();
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    int shown = 0;
    QObject::connect(views->soundView().soundMenu(), &QMenu::aboutToShow, [&shown] {
        ++shown;
        QMetaObject::invokeMethod(
            qApp,
            [] {
                if (QWidget* popup = QApplication::activePopupWidget())
                    popup->close();
            },
            Qt::QueuedConnection);
    });
    QApplication::sendEvent(bar, &click);
    EXPECT_EQ(shown, 0);
    QStringList captions;
    for (QAction* item : views->soundView().soundMenu()->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"Stop", "Pause", "Resume", "Replay"}));
}

TEST_F(PictureViewsTest, VideoIsSentBareAndCancelClosesEverything)
{
    const QString film = tree.file("my films/a film.avi", 10);
    view(film);
    EXPECT_TRUE(mci.sent.contains("open " + film + " Type avivideo Alias video"));
    EXPECT_EQ(mci.sent.last(), "play video");
    mci.sent.clear();
    window->menuItem(ViewMenuItem::Cancel)->trigger();
    EXPECT_TRUE(mci.sent.contains("stop mp3"));
    EXPECT_EQ(mci.sent.last(), "close all");
}

TEST_F(PictureViewsTest, AVideoPlaysInAWindowOfItsOwn)
{
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const QString film = tree.path("my films/a film.avi");
    tree.folder("my films");
    ASSERT_TRUE(RunTool("ffmpeg",
                        {"-loglevel", "error", "-f", "lavfi", "-i",
                         "testsrc=duration=2:size=160x120:rate=10", "-c:v", "mjpeg", film},
                        {}, 60000)
                    .exitCode);
    // The desktop's own media layer this time.
    auto* desktop = new PictureSoundViews(*window, prompts, escape);
    const auto videoWindows = [] {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QVideoWidget*>(w) && w->isVisible() &&
                w->windowTitle() == "a film.avi")
                ++shown;
        return shown;
    };
    desktop->soundView().PlayVideo(film);
    EXPECT_EQ(videoWindows(), 1);
    desktop->soundView().StopMedia();
    EXPECT_EQ(videoWindows(), 0) << "closing the video closes its window";
}
