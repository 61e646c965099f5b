#include "formats/Metafile.h"

#include "PictureChecks.h"
#include "WmfBuilder.h"
#include "common/FuzzSeeds.h"
#include "common/LittleEndianBytes.h"
#include "common/TempTree.h"
#include "view/picture/PictureFile.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using Bytes = LittleEndianBytes;

quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

/// A 200x100 EMF: a red-filled rectangle with a blue pen, a green line, a black ellipse
/// outline and the text "Hi" in a 30-pixel font.
QByteArray sampleEmf()
{
    Bytes body;
    // pen 1: solid blue, width 3; brush 2: solid red; pen 3: green; font 4
    body.emfRecord(38, Bytes().u32(1).u32(0).i32(3).i32(0).u32(rgb(0, 0, 255)));
    body.emfRecord(39, Bytes().u32(2).u32(0).u32(rgb(255, 0, 0)).u32(0));
    body.emfRecord(37, Bytes().u32(1));
    body.emfRecord(37, Bytes().u32(2));
    body.emfRecord(43, Bytes().i32(10).i32(10).i32(90).i32(60)); // rectangle
    body.emfRecord(38, Bytes().u32(3).u32(0).i32(4).i32(0).u32(rgb(0, 160, 0)));
    body.emfRecord(37, Bytes().u32(3));
    body.emfRecord(27, Bytes().i32(100).i32(90));                  // move to
    body.emfRecord(54, Bytes().i32(190).i32(90));                  // line to
    body.emfRecord(37, Bytes().u32(0x80000005));                   // hollow brush
    body.emfRecord(37, Bytes().u32(0x80000007));                   // black pen
    body.emfRecord(42, Bytes().i32(110).i32(10).i32(190).i32(50)); // ellipse
    Bytes font;
    font.u32(4).i32(-30).i32(0).i32(0).i32(0).i32(700).u32(0).u32(0);
    for (int i = 0; i < 32; ++i)
        font.u16(0);
    body.emfRecord(82, font);
    body.emfRecord(37, Bytes().u32(4));
    body.emfRecord(24, Bytes().u32(rgb(0, 0, 0)));
    body.emfRecord(18, Bytes().u32(1)); // transparent text
    Bytes text;
    // bounds, graphics mode, scales, then the text record: reference, count, offset...
    text.i32(0).i32(0).i32(0).i32(0).u32(1).u32(0).u32(0);
    text.i32(20).i32(65).u32(2).u32(76).u32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
    text.u16('H').u16('i');
    body.emfRecord(84, text);
    body.emfRecord(14, Bytes().u32(0).u32(0).u32(0));

    Bytes header;
    header.i32(0).i32(0).i32(199).i32(99);             // bounds
    header.i32(0).i32(0).i32(5290).i32(2645);          // frame in 0.01 mm
    header.u32(0x464D4520).u32(0x10000).u32(0).u32(0); // signature, version, bytes, records
    header.u16(5).u16(0).u32(0).u32(0).u32(0);         // handles, reserved, description
    header.i32(1024).i32(768).i32(270).i32(203);       // device and millimetres
    Bytes file;
    file.emfRecord(1, header);
    file.raw(body.data);
    return file.data;
}

/// A placeable WMF of 2 x 1 inches (192 x 96 pixels) in 1440 units per inch: a red
/// rectangle with a blue pen, a green polyline and the text "Hi".
QByteArray sampleWmf(bool placeable = true)
{
    WmfBuilder w;
    w.windowOrg(0, 0).windowExt(2880, 1440);
    w.pen(Qt::blue, 45).solidBrush(Qt::red).select(0).select(1).rectangle(150, 150, 1300, 900);
    w.pen(QColor(0, 160, 0), 60).select(2);
    w.record(0x0325, {3, 1600, 1300, 2700, 1300, 2700, 200}); // polyline
    w.font(-360).select(3).record(0x0102, {1}).textOut(1500, 1000, "Hi");
    return placeable ? w.file({0, 0, 2880, 1440}) : w.file();
}

/// Pixels in `rect` that are not white.
int inkIn(const QImage& image, QRect rect)
{
    int ink = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                ++ink;
    return ink;
}

} // namespace

TEST(Metafile, EmfDrawsFillsLinesOutlinesAndTextAtItsHeaderSize)
{
    const QByteArray emf = sampleEmf();
    SaveFuzzSeed(QStringLiteral("emf"), QStringLiteral("sample.emf"), emf);
    const QImage image = RenderEmf(emf);
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_TRUE(near(image.pixelColor(50, 35), Qt::red)) << "the rectangle is filled";
    EXPECT_TRUE(near(image.pixelColor(10, 35), Qt::blue)) << "with a blue outline";
    EXPECT_TRUE(near(image.pixelColor(150, 90), QColor(0, 160, 0))) << "the green line";
    EXPECT_EQ(image.pixelColor(150, 30), QColor(Qt::white)) << "the ellipse is hollow";
    EXPECT_LT(image.pixelColor(150, 10).lightness(), 160) << "its outline is drawn";
    EXPECT_GT(inkIn(image, QRect(20, 65, 40, 30)), 40) << "the text is drawn";
    EXPECT_EQ(inkIn(image, QRect(60, 65, 30, 30)), 0) << "and only two letters wide";
}

TEST(Metafile, PlaceableWmfDrawsAtItsInchSize)
{
    const QByteArray wmf = sampleWmf();
    SaveFuzzSeed(QStringLiteral("wmf"), QStringLiteral("placeable.wmf"), wmf);
    const QImage image = RenderWmf(wmf);
    ASSERT_EQ(image.size(), QSize(192, 96));
    // 1440 units per inch at 96 pixels per inch: 15 units a pixel.
    EXPECT_TRUE(near(image.pixelColor(50, 30), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(10, 30), Qt::blue));
    EXPECT_TRUE(near(image.pixelColor(150, 87), QColor(0, 160, 0)));
    EXPECT_TRUE(near(image.pixelColor(180, 50), QColor(0, 160, 0)));
    EXPECT_GT(inkIn(image, QRect(100, 67, 40, 26)), 30) << "the text below its reference";
}

TEST(Metafile, WmfWithoutPlaceableHeaderTakesTheWindowExtent)
{
    const QImage image = RenderWmf(sampleWmf(false));
    EXPECT_EQ(image.size(), QSize(2880, 1440));
}

TEST(Metafile, DamagedFilesGiveNoPictureOrWhatCouldBeDrawn)
{
    EXPECT_TRUE(RenderMetafile(QByteArray()).isNull());
    EXPECT_TRUE(RenderMetafile(QByteArray("not a metafile at all")).isNull());
    const QByteArray emf = sampleEmf();
    for (qsizetype cut : {qsizetype(20), qsizetype(100), emf.size() / 2, emf.size() - 3})
        (void)RenderMetafile(emf.left(cut)); // must not read past the end
    QByteArray huge = emf;
    qToLittleEndian<qint32>(1000000, huge.data() + 8 + 8); // bounds right far away
    EXPECT_EQ(RenderEmf(huge).size(), QSize(200, 100)) << "placed by its frame instead";
    const QByteArray wmf = sampleWmf();
    for (qsizetype cut = 0; cut < wmf.size(); cut += 7)
        (void)RenderMetafile(wmf.left(cut));
    QByteArray badCount = wmf;
    // The polyline claims far more points than its record holds.
    const qsizetype at = badCount.indexOf(QByteArray("\x25\x03", 2));
    ASSERT_GT(at, 0);
    qToLittleEndian<qint16>(30000, badCount.data() + at + 2);
    EXPECT_FALSE(RenderWmf(badCount).isNull());
}

TEST(Metafile, LoadPictureReadsMetafilesByExtension)
{
    TempTree tree;
    EXPECT_EQ(LoadPicture(tree.file(QStringLiteral("a.emf"), sampleEmf())).size(), QSize(200, 100));
    EXPECT_EQ(LoadPicture(tree.file(QStringLiteral("a.WMF"), sampleWmf())).size(), QSize(192, 96));
    EXPECT_EQ(LoadThumbnail(tree.path(QStringLiteral("a.emf")), QSize(40, 30)).size(),
              QSize(40, 30));
}
