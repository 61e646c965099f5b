#include "PictureChecks.h"
#include "WmfBuilder.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "formats/Metafile.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

constexpr quint16 SetBkMode = 0x0102;
constexpr quint16 SetTextAlign = 0x012E;
constexpr quint16 MoveTo = 0x0214;
constexpr quint16 SaveDc = 0x001E;
constexpr quint16 RestoreDc = 0x0127;

/// One drawing unit a pixel: a placeable box of `width` x `height` at 96 units per inch.
QImage render(const WmfBuilder& w, int width, int height)
{
    return RenderWmf(w.file({0, 0, width, height}, 96));
}

/// x, y, the four words of a rectangle (bottom, right, top, left) in record order.
QList<qint32> box(int l, int t, int r, int b)
{
    return {b, r, t, l};
}

} // namespace

TEST(Wmf, EveryCreatedObjectTakesATableSlot)
{
    WmfBuilder w;
    w.record(0x0142, {5, 0}, // pattern brush, slot 0: stripes of green and blue
             WmfBuilder::dib1(Green, Blue, {0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0}));
    w.record(0x00F7, {0x0300, 1, 0, 0}); // palette, slot 1
    // Region, slot 2: one scan from y 60 to 90, x 110 to 140.
    w.record(0x06FF, {0, 6, 0, 0, 34, 1, 2, 110, 60, 140, 90, 2, 60, 90, 110, 140, 2});
    w.solidBrush(Red); // slot 3
    w.nullPen();       // slot 4
    w.select(4).select(0).rectangle(0, 0, 100, 100);
    w.select(3).rectangle(100, 0, 200, 50);
    w.remove(1).solidBrush(Yellow); // the freed slot 1
    w.record(0x0228, {2, 1});       // fill the region with slot 1
    const QByteArray file = w.file({0, 0, 200, 100}, 96);
    SaveFuzzSeed(QStringLiteral("wmf"), QStringLiteral("object-slots.wmf"), file);
    const QImage image = RenderWmf(file);
    ASSERT_EQ(image.size(), QSize(200, 100));

    int green = 0;
    int blue = 0;
    for (int x = 2; x < 98; ++x) {
        const QColor c = image.pixelColor(x, 50);
        green += near(c, Green);
        blue += near(c, Blue);
        EXPECT_TRUE(near(c, Green) || near(c, Blue)) << "pattern pixel " << x;
    }
    EXPECT_GT(green, 30) << "the pattern brush draws its own colours";
    EXPECT_GT(blue, 30);
    EXPECT_TRUE(near(image.pixelColor(150, 25), Red)) << "the solid brush after it";
    EXPECT_TRUE(near(image.pixelColor(125, 75), Yellow)) << "the region in the reused slot";
    EXPECT_TRUE(near(image.pixelColor(170, 75), White)) << "and only the region";
}

TEST(Wmf, TextFollowsEscapementAndTheCurrentPosition)
{
    WmfBuilder rotated;
    rotated.font(30, 900).select(0).record(SetBkMode, {1}).textOut(100, 190, "WWWW");
    const QImage up = render(rotated, 200, 200);
    const QRect upInk = inkBox(up, up.rect());
    ASSERT_FALSE(upInk.isEmpty());
    EXPECT_GT(upInk.height(), 2 * upInk.width()) << "a quarter turn runs the text upwards";
    EXPECT_LT(upInk.top(), 150);
    EXPECT_LE(upInk.bottom(), 191);

    // With the update flag the text starts at the current position and moves it on.
    const auto runs = [](const QList<QByteArray>& texts) {
        WmfBuilder w;
        w.font(20).select(0).record(SetBkMode, {1}).record(SetTextAlign, {1});
        w.record(MoveTo, {40, 20});
        for (const QByteArray& t : texts)
            w.textOut(150, 5, t);
        return render(w, 200, 100);
    };
    const QImage one = runs({"AB"});
    const QImage two = runs({"AB", "CD"});
    const QRect oneInk = inkBox(one, one.rect());
    const QRect twoInk = inkBox(two, two.rect());
    ASSERT_FALSE(oneInk.isEmpty());
    EXPECT_GE(oneInk.left(), 20);
    EXPECT_LT(oneInk.left(), 30) << "drawn at the current position";
    EXPECT_GE(oneInk.top(), 40);
    EXPECT_EQ(twoInk.left(), oneInk.left());
    EXPECT_GT(twoInk.right(), oneInk.right() + 15) << "the second run follows the first";
    EXPECT_TRUE(inkBox(two, QRect(140, 0, 60, 38)).isEmpty()) << "not at the given point";
}

TEST(Wmf, ArcsPiesAndChordsFollowTheirRays)
{
    WmfBuilder w;
    w.pen(QColor(0, 0, 0), 3).select(0).solidBrush(Red).select(1);
    // Arc of the circle around (50, 50) from the right (0 degrees) to the top.
    w.record(0x0817, {10, 50, 50, 90, 90, 90, 10, 10});
    // Pie around (150, 50) from the top to the left: the upper left quarter.
    w.record(0x081A, {50, 110, 10, 150, 90, 190, 10, 110});
    // Chord around (250, 50) from the right to the left: the upper half.
    w.record(0x0830, {50, 210, 50, 290, 90, 290, 10, 210});
    const QImage image = render(w, 300, 100);
    EXPECT_FALSE(inkBox(image, QRect(72, 16, 12, 12)).isEmpty()) << "arc, upper right";
    EXPECT_TRUE(inkBox(image, QRect(72, 72, 12, 12)).isEmpty()) << "not lower right";
    EXPECT_TRUE(inkBox(image, QRect(16, 16, 12, 12)).isEmpty()) << "not upper left";
    EXPECT_TRUE(near(image.pixelColor(135, 35), Red)) << "pie, upper left, filled";
    EXPECT_EQ(image.pixelColor(165, 65), White);
    EXPECT_EQ(image.pixelColor(165, 35), White);
    EXPECT_TRUE(near(image.pixelColor(250, 30), Red)) << "chord, upper half";
    EXPECT_EQ(image.pixelColor(250, 70), White);
}

TEST(Wmf, PlaceablePictureShowsItsBoxWhateverTheWindow)
{
    // The window is half the box: the drawing keeps the box's units per inch.
    WmfBuilder half;
    half.windowOrg(0, 0).windowExt(100, 50).nullPen().select(0).solidBrush(Red).select(1);
    half.rectangle(150, 20, 190, 80);
    const QImage halfImage = render(half, 200, 100);
    ASSERT_EQ(halfImage.size(), QSize(200, 100));
    EXPECT_TRUE(near(halfImage.pixelColor(170, 50), Red));
    EXPECT_EQ(halfImage.pixelColor(120, 50), White);

    // A window with y running up puts low y at the bottom.
    WmfBuilder up;
    up.windowOrg(0, 100).windowExt(200, -100).nullPen().select(0).solidBrush(Red).select(1);
    up.rectangle(0, 0, 50, 20);
    const QImage upImage = render(up, 200, 100);
    EXPECT_TRUE(near(upImage.pixelColor(25, 90), Red));
    EXPECT_EQ(upImage.pixelColor(25, 10), White);

    // 1440 units per inch: a box of 2 x 1 inches is 192 x 96 pixels.
    EXPECT_EQ(RenderWmf(up.file({0, 0, 2880, 1440}, 1440)).size(), QSize(192, 96));
}

TEST(Wmf, FileWithoutWindowIsDrawnOverWhatItCovers)
{
    WmfBuilder w;
    w.nullPen().select(0).solidBrush(Red).select(1).rectangle(100, 50, 300, 150);
    const QImage image = RenderWmf(w.file());
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_TRUE(near(image.pixelColor(100, 50), Red));
}

TEST(Wmf, BitmapRecordsDrawTheirPixelsTheRightWayUp)
{
    const QByteArray dib = WmfBuilder::dib24({{Red, Green}, {Blue, Yellow}});
    WmfBuilder w;
    // STRETCHDIB: copy, usage, source 2 x 2 at 0, destination 100 x 100 at 0.
    w.record(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 100, 100, 0, 0}, dib);
    // DIBSTRETCHBLT mirrored: a negative width from x 200.
    w.record(0x0B41, {0x0020, 0x00CC, 2, 2, 0, 0, 100, -100, 0, 200}, dib);
    // PATBLT with the selected brush.
    w.solidBrush(Blue).select(0).record(0x061D, {0x0021, 0x00F0, 100, 100, 0, 200});
    const QByteArray file = w.file({0, 0, 300, 100}, 96);
    SaveFuzzSeed(QStringLiteral("wmf"), QStringLiteral("bitmaps.wmf"), file);
    const QImage image = RenderWmf(file);
    EXPECT_TRUE(near(image.pixelColor(25, 25), Red));
    EXPECT_TRUE(near(image.pixelColor(75, 25), Green));
    EXPECT_TRUE(near(image.pixelColor(25, 75), Blue));
    EXPECT_TRUE(near(image.pixelColor(75, 75), Yellow));
    EXPECT_TRUE(near(image.pixelColor(125, 25), Green)) << "mirrored";
    EXPECT_TRUE(near(image.pixelColor(175, 25), Red));
    EXPECT_TRUE(near(image.pixelColor(250, 50), Blue)) << "pattern transfer";
}

TEST(Wmf, ClipRectanglesAreSavedWithTheState)
{
    WmfBuilder w;
    w.nullPen().select(0).solidBrush(Red).solidBrush(Blue).select(1);
    w.record(0x0416, box(0, 0, 100, 100)); // intersect
    w.record(SaveDc, {});
    w.record(0x0415, box(0, 0, 50, 100)); // exclude
    w.rectangle(0, 0, 200, 100);
    w.record(RestoreDc, {-1}).select(2).rectangle(0, 0, 200, 50);
    const QImage image = render(w, 200, 100);
    EXPECT_EQ(image.pixelColor(25, 75), White) << "excluded";
    EXPECT_TRUE(near(image.pixelColor(75, 75), Red));
    EXPECT_EQ(image.pixelColor(150, 75), White) << "outside the intersection";
    EXPECT_TRUE(near(image.pixelColor(25, 25), Blue)) << "the exclusion is undone";
    EXPECT_EQ(image.pixelColor(150, 25), White) << "the intersection stays";
}

TEST(Wmf, ShapesAgreeWithLibwmf)
{
    const QString wmf2gd = QStandardPaths::findExecutable(QStringLiteral("wmf2gd"));
    if (wmf2gd.isEmpty())
        GTEST_SKIP() << "wmf2gd (libwmf-bin) is not installed";
    WmfBuilder w;
    w.windowOrg(0, 0).windowExt(2880, 1440).nullPen().select(0);
    w.solidBrush(Green).select(1).rectangle(0, 0, 2880, 1440);
    w.solidBrush(Red).select(2).rectangle(100, 100, 1300, 700);
    // (libwmf's picture fills no ellipses or chords, so they are left out here.)
    w.solidBrush(Blue).select(3).record(0x0324, {3, 1500, 1400, 2700, 1400, 2700, 200});
    w.solidBrush(Yellow).select(4);
    // Pie from the top to the left. (libwmf ends rays between the axes elsewhere on the
    // ellipse than where the ray through the point meets it.)
    w.record(0x081A, {1100, 100, 800, 700, 1400, 1300, 800, 100});
    TempTree tree;
    const QString in = tree.file(QStringLiteral("shapes.wmf"), w.file({0, 0, 2880, 1440}));
    const QString out = tree.path(QStringLiteral("shapes.png"));
    QProcess convert;
    convert.start(wmf2gd, {QStringLiteral("-o"), out, in});
    ASSERT_TRUE(convert.waitForFinished(60000));
    ASSERT_EQ(convert.exitCode(), 0);
    const QImage reference(out);
    ASSERT_FALSE(reference.isNull());
    const QImage ours = RenderWmf(w.file({0, 0, 2880, 1440}));
    ASSERT_EQ(ours.size(), QSize(192, 96));

    // Compare at points well inside one colour of our picture.
    int compared = 0;
    for (int gy = 1; gy < 24; ++gy) {
        for (int gx = 1; gx < 48; ++gx) {
            const int x = gx * 4;
            const int y = gy * 4;
            const QColor c = ours.pixelColor(x, y);
            bool inside = true;
            for (int dy = -3; dy <= 3 && inside; ++dy)
                for (int dx = -3; dx <= 3 && inside; ++dx)
                    inside = ours.pixelColor(x + dx, y + dy) == c;
            if (!inside)
                continue;
            const QColor r = reference.pixelColor(x * reference.width() / ours.width(),
                                                  y * reference.height() / ours.height());
            EXPECT_TRUE(near(c, r)) << "at " << x << "," << y << " ours " << c.name().toStdString()
                                    << " libwmf " << r.name().toStdString();
            ++compared;
        }
    }
    EXPECT_GT(compared, 500);
}
