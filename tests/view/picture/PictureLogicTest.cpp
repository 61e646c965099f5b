#include "common/TempTree.h"
#include "shared/Settings.h"
#include "view/picture/PictureFile.h"
#include "view/picture/PictureFit.h"
#include "view/picture/PictureFolder.h"
#include "view/picture/Rotation.h"
#include "view/picture/ThumbnailPages.h"

#include <QBuffer>
#include <QSemaphore>
#include <QtEndian>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <memory>

namespace {

/// A picture whose four quadrants have different colours.
QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y,
                           right ? (bottom ? qRgb(0, 0, 255) : qRgb(0, 255, 0))
                                 : (bottom ? qRgb(255, 255, 0) : qRgb(255, 0, 0)));
        }
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

/// An uncompressed PCX of `image`: 8 bits in one plane with a grey palette, or 8 bits in
/// three planes (true colour).
QByteArray pcx(const QImage& image, bool trueColour)
{
    QByteArray h(128, '\0');
    const auto put16 = [&h](int at, int v) { qToLittleEndian<quint16>(quint16(v), h.data() + at); };
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 0;
    h[3] = 8;
    put16(8, image.width() - 1);
    put16(10, image.height() - 1);
    h[65] = char(trueColour ? 3 : 1);
    put16(66, image.width());
    QByteArray data = h;
    for (int y = 0; y < image.height(); ++y) {
        for (int plane = 0; plane < (trueColour ? 3 : 1); ++plane)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                data.append(char(trueColour ? (plane == 0   ? qRed(c)
                                               : plane == 1 ? qGreen(c)
                                                            : qBlue(c))
                                            : qGray(c)));
            }
    }
    if (!trueColour) {
        data.append(char(0x0C));
        for (int i = 0; i < 256; ++i)
            data.append(QByteArray(3, char(i)));
    }
    return data;
}

} // namespace

TEST(Rotation, StepsOfNinetyDegreesWrapAtAFullTurn)
{
    int angle = 0;
    for (int expected : {90, 180, 270, 0})
        EXPECT_EQ(angle = RotatedRight(angle), expected);
    EXPECT_EQ(RotatedLeft(0), -90);
    EXPECT_EQ(RotatedLeft(-180), -270);
    EXPECT_EQ(RotatedLeft(-270), 0);
    EXPECT_EQ(RotatedRight(-90), 0);
}

TEST(Rotation, CornersTurnAboutTheCentre)
{
    const auto at0 = RotatedCorners(40, 20, 0);
    EXPECT_EQ(at0[0], QPoint(0, 0));
    EXPECT_EQ(at0[1], QPoint(40, 0));
    EXPECT_EQ(at0[2], QPoint(0, 20));
    // A quarter turn clockwise (y grows downwards): the top left goes to the right.
    const auto at90 = RotatedCorners(40, 20, 90);
    EXPECT_EQ(at90[0], QPoint(30, -10));
    EXPECT_EQ(at90[1], QPoint(30, 30));
    EXPECT_EQ(at90[2], QPoint(10, -10));
    const auto at180 = RotatedCorners(40, 20, 180);
    EXPECT_EQ(at180[0], QPoint(40, 20));
}

TEST(Rotation, TurnedPicturesMoveTheirQuadrants)
{
    const QImage source = quadrants(40, 40);
    const QImage right = RotatePicture(source, 90);
    ASSERT_EQ(right.size(), source.size());
    EXPECT_EQ(right.pixel(35, 5), qRgb(255, 0, 0)) << "red went from top left to top right";
    EXPECT_EQ(right.pixel(5, 5), qRgb(255, 255, 0)) << "yellow came up from bottom left";
    const QImage half = RotatePicture(source, 180);
    EXPECT_EQ(half.pixel(39, 39), source.pixel(0, 0));
    EXPECT_EQ(half.pixel(0, 0), source.pixel(39, 39));
    const QImage left = RotatePicture(source, -90);
    EXPECT_EQ(left.pixel(5, 35), qRgb(255, 0, 0)) << "red went down the left side";
    // A wide picture turned upright loses what falls outside its own rectangle.
    const QImage wide = RotatePicture(quadrants(60, 20), 90);
    EXPECT_EQ(wide.size(), QSize(60, 20));
    EXPECT_EQ(wide.pixel(5, 10), qRgb(255, 255, 255));
}

TEST(Rotation, TurnedPicturesKeepAllOfThemselves)
{
    const QImage source = quadrants(60, 20);
    const QImage up = TurnedPicture(source, 90);
    ASSERT_EQ(up.size(), QSize(20, 60));
    EXPECT_EQ(up.pixel(15, 5), qRgb(255, 0, 0));
    EXPECT_EQ(up.pixel(15, 55), qRgb(0, 255, 0));
    EXPECT_EQ(TurnedPicture(source, 180).pixel(0, 0), source.pixel(59, 19));
    EXPECT_EQ(TurnedPicture(source, -270), up);
    EXPECT_EQ(TurnedPicture(source, 0), source);
}

TEST(PictureFit, LeftClickShrinksOnlyWhenBothSidesOverflow)
{
    EXPECT_EQ(ShrunkToFrame(QSize(100, 50), QSize(400, 300)), QSize(100, 50)) << "not enlarged";
    EXPECT_EQ(ShrunkToFrame(QSize(800, 200), QSize(400, 300)), QSize(800, 200))
        << "one side fits: the ratio is 1";
    // Both overflow: the smaller ratio (1.5 of the heights) fits that side exactly.
    EXPECT_EQ(ShrunkToFrame(QSize(1200, 450), QSize(400, 300)), QSize(800, 300));
    EXPECT_EQ(ShrunkToFrame(QSize(10, 10), QSize(0, 0)), QSize(10, 10));
}

TEST(PictureFit, ScrollBarsRunOverTheOverflow)
{
    const ScrollRange range = ScrollRangeFor(1250, 250);
    EXPECT_TRUE(range.used());
    EXPECT_EQ(range.maximum, 1000);
    EXPECT_EQ(range.smallStep, 10);
    EXPECT_EQ(range.largeStep, 100);
    EXPECT_FALSE(ScrollRangeFor(250, 250).used());
    EXPECT_FALSE(ScrollRangeFor(100, 250).used());
}

TEST(ThumbnailPages, TwentyFivePicturesMakeAPage)
{
    EXPECT_EQ(LastThumbnailPage(1), 0);
    EXPECT_EQ(LastThumbnailPage(25), 0);
    EXPECT_EQ(LastThumbnailPage(26), 1);
    EXPECT_EQ(LastThumbnailPage(50), 1);
    EXPECT_EQ(LastThumbnailPage(51), 2);
    EXPECT_EQ(ThumbnailShowMessage(26), QStringLiteral(" 26 pictures\r\n 2 pages"));
    EXPECT_EQ(ThumbnailHoverText(2, 30), QStringLiteral("picture 3 of 30"));
}

TEST(ThumbnailPages, CellsAndTheMouseAgree)
{
    // 1500 x 1125 twips at 15 twips a pixel: thumbnails of 240 x 165 twips.
    const ThumbnailGeometry geometry(QSize(1500, 1125));
    EXPECT_EQ(geometry.thumbnailSize(), QSize(1500 * 15 / 5 / 15 - 4, 1125 * 15 / 5 / 15 - 4));
    const QRect first = geometry.cell(1);
    EXPECT_EQ(first.topLeft(), QPoint(3, 3));
    const QRect seventh = geometry.cell(7);
    EXPECT_GT(seventh.left(), first.right());
    EXPECT_GT(seventh.top(), first.bottom());
    for (int k = 1; k <= 25; ++k)
        EXPECT_EQ(geometry.indexAt(geometry.cell(k).center(), 2), 50 + k - 1) << k;
    EXPECT_EQ(geometry.indexAt(QPoint(1499, 10), 0), 4) << "the gaps belong to the cell before";
}

TEST(ThumbnailPages, PagesDrawTheirPicturesAndLeaveUnreadableOnesEmpty)
{
    TempTree tree;
    QImage red(80, 60, QImage::Format_RGB32);
    red.fill(Qt::red);
    QStringList paths;
    for (int i = 0; i < 27; ++i)
        paths << tree.file(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                           encoded(red, "JPG"));
    paths[26] = tree.file(QStringLiteral("broken.jpg"), QByteArray("not a picture"));
    const QSize area(500, 400);
    const ThumbnailGeometry geometry(area);
    const QImage first = DrawThumbnailPage(paths, 0, area);
    for (int k = 1; k <= 25; ++k) {
        const QColor c = first.pixelColor(geometry.cell(k).center());
        EXPECT_GT(c.red(), 200) << k;
        EXPECT_LT(c.green(), 60) << k;
    }
    EXPECT_EQ(first.pixelColor(geometry.cell(1).topLeft()), QColor(Qt::black)) << "framed";
    const QImage second = DrawThumbnailPage(paths, 1, area);
    EXPECT_GT(second.pixelColor(geometry.cell(1).center()).red(), 200);
    EXPECT_EQ(second.pixelColor(geometry.cell(2).center()), QColor(Qt::white)) << "unreadable";
    EXPECT_EQ(second.pixelColor(geometry.cell(2).topLeft()), QColor(Qt::white));
    EXPECT_EQ(second.pixelColor(geometry.cell(3).center()), QColor(Qt::white)) << "past the end";

    int asked = 0;
    const QImage cancelled = DrawThumbnailPage(paths, 0, area, [&asked] { return ++asked <= 3; });
    EXPECT_EQ(asked, 4);
    EXPECT_GT(cancelled.pixelColor(geometry.cell(3).center()).red(), 200);
    EXPECT_EQ(cancelled.pixelColor(geometry.cell(4).center()), QColor(Qt::white));
}

TEST(PictureFile, EveryPictureKindReads)
{
    TempTree tree;
    const QImage source = quadrants(32, 24);
    const struct {
        const char* name;
        const char* format;
    } kinds[] = {{"a.bmp", "BMP"}, {"a.dib", "BMP"}, {"a.jpg", "JPG"}, {"a.png", "PNG"},
                 {"a.ico", "ICO"}, {"a.cur", "ICO"}, {"a.tif", "TIFF"}};
    for (const auto& kind : kinds) {
        const QString path =
            tree.file(QString::fromLatin1(kind.name), encoded(source, kind.format));
        const QImage read = LoadPicture(path);
        ASSERT_EQ(read.size(), source.size()) << kind.name;
        EXPECT_GT(qRed(read.pixel(3, 3)), 200) << kind.name;
        EXPECT_GT(qBlue(read.pixel(28, 20)), 200) << kind.name;
        EXPECT_EQ(LoadThumbnail(path, QSize(16, 40)).size(), QSize(16, 40)) << kind.name;
    }
    // Qt writes no GIF: a red one of 2 x 2 pixels.
    const QByteArray gif = QByteArray::fromHex("47494638396102000200f00000ff000000000021f904"
                                               "00000000002c00000000020002000002028451003b");
    const QImage dot = LoadPicture(tree.file(QStringLiteral("dot.gif"), gif));
    ASSERT_EQ(dot.size(), QSize(2, 2));
    EXPECT_EQ(dot.pixel(1, 1), qRgb(255, 0, 0));
    const QImage grey = LoadPicture(tree.file(QStringLiteral("a.pcx"), pcx(source, false)));
    ASSERT_EQ(grey.size(), source.size());
    EXPECT_EQ(qRed(grey.pixel(3, 3)), qGray(qRgb(255, 0, 0)));
    const QImage colour = LoadPicture(tree.file(QStringLiteral("b.PCX"), pcx(source, true)));
    ASSERT_EQ(colour.size(), source.size());
    EXPECT_EQ(colour.pixel(28, 20), qRgb(0, 0, 255));
    EXPECT_TRUE(LoadPicture(tree.path(QStringLiteral("missing.jpg"))).isNull());
    EXPECT_TRUE(LoadPicture(tree.file(QStringLiteral("text.bmp"), QByteArray("hello"))).isNull());
}

TEST(PictureFile, LargeJpegsDecodeReducedForThumbnails)
{
    TempTree tree;
    const QString path =
        tree.file(QStringLiteral("big.jpg"), encoded(quadrants(3200, 2400), "JPG"));
    const QImage thumb = LoadThumbnail(path, QSize(180, 120));
    ASSERT_EQ(thumb.size(), QSize(180, 120));
    EXPECT_GT(qGreen(thumb.pixel(170, 5)), 200);
    EXPECT_GT(qBlue(thumb.pixel(170, 115)), 200);
}

TEST(PictureFile, PicturesTooLargeForTheMemoryDecodeHalvedAndSaySo)
{
    TempTree tree;
    const QString path =
        tree.file(QStringLiteral("photo.jpg"), encoded(quadrants(400, 300), "JPG"));
    const PictureRead whole = ReadPicture(path, qint64(1) << 20);
    EXPECT_EQ(whole.image.size(), QSize(400, 300));
    EXPECT_EQ(whole.problem, QString());
    // 400 x 300 x 4 bytes is 480,000: halved twice it takes 30,000.
    const PictureRead reduced = ReadPicture(path, 100000);
    EXPECT_EQ(reduced.image.size(), QSize(100, 75));
    EXPECT_EQ(reduced.problem,
              QStringLiteral("too large for the free memory: 400 x 300 shown as 100 x 75"));
    EXPECT_GT(qBlue(reduced.image.pixel(90, 70)), 200);

    const PictureRead broken =
        ReadPicture(tree.file(QStringLiteral("text.png"), QByteArray("hello")), qint64(1) << 20);
    EXPECT_TRUE(broken.image.isNull());
    EXPECT_TRUE(broken.problem.startsWith(QStringLiteral("cannot show this picture: ")))
        << broken.problem.toStdString();
    EXPECT_GE(PictureMemoryBudget(), qint64(128) << 20) << "never below Qt's own limit";
}

TEST(PictureFolder, ThePictureCategoryDecidesWhatIsAPicture)
{
    TempTree tree;
    tree.file(QStringLiteral("b.JPG"));
    tree.file(QStringLiteral("a.bmp"));
    tree.file(QStringLiteral("c.jpeg"));
    tree.file(QStringLiteral("notes.txt"));
    tree.file(QStringLiteral("noextension"));
    tree.folder(QStringLiteral("sub.gif"));
    Settings settings;
    EXPECT_EQ(PictureFilesOfFolder(tree.root(), settings),
              (QStringList{tree.path(QStringLiteral("a.bmp")), tree.path(QStringLiteral("b.JPG")),
                           tree.path(QStringLiteral("c.jpeg"))}));
    settings.categories[1].extensions = QStringLiteral("txt; jpeg");
    EXPECT_EQ(
        PictureFilesOfFolder(tree.root(), settings),
        (QStringList{tree.path(QStringLiteral("c.jpeg")), tree.path(QStringLiteral("notes.txt"))}));
}

TEST(ThumbnailPage, APictureThatNeverComesDoesNotHoldThePage)
{
    // The first picture sits on a dead share: its read waits until the test lets it go,
    // on a thread the page leaves behind (hence the semaphore is shared, not borrowed).
    const QStringList paths{"/share/slow.jpg", "/share/next.jpg"};
    const auto arrive = std::make_shared<QSemaphore>();
    const auto load = [arrive](const QString& path, QSize size) {
        if (path.endsWith(QLatin1String("slow.jpg")))
            arrive->acquire();
        QImage red(size, QImage::Format_RGB32);
        red.fill(Qt::red);
        return red;
    };
    const QSize area(500, 400);
    int asked = 0;
    int waited = 0;
    auto page = std::async(std::launch::async, [&] {
        return DrawThumbnailPage(
            paths, 0, area, [&asked] { return ++asked < 3; }, [&waited] { ++waited; }, nullptr, 15,
            load);
    });
    const bool ended = page.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // The program's end waits for the thread left behind, and only for as long as it runs.
    const bool leftAlone = WaitForThumbnailDecoders(std::chrono::milliseconds(20));
    arrive->release();
    const QImage drawn = page.get();
    ASSERT_TRUE(ended) << "the page waited for a picture that did not come";
    EXPECT_FALSE(leftAlone);
    EXPECT_TRUE(WaitForThumbnailDecoders(std::chrono::seconds(5)));
    // Asked before the first picture, then while it was awaited, until it said stop.
    EXPECT_EQ(asked, 3);
    EXPECT_GT(waited, 0);
    const ThumbnailGeometry geometry(area);
    EXPECT_EQ(drawn.pixelColor(geometry.cell(1).center()), QColor(Qt::white));
    EXPECT_EQ(drawn.pixelColor(geometry.cell(2).center()), QColor(Qt::white));
}
