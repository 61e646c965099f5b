#include "PictureChecks.h"
#include "common/FuzzSeeds.h"
#include "common/LittleEndianBytes.h"
#include "common/TempTree.h"
#include "formats/EmfReader.h"
#include "formats/Metafile.h"
#include "view/picture/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using Records = LittleEndianBytes;

enum : quint32 {
    MoveTo = 27,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrush = 39,
    Rectangle = 43,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    WidenPath = 66,
    SelectClipPath = 67,
    AbortPath = 68,
    Comment = 70,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchDiBits = 81,
    PolyBezierTo16 = 88,
    AlphaBlend = 114,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
};

constexpr quint32 NullPen = 0x80000008;

quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

/// The reference device the drawings are made on: pixels across `millimetres`.
struct Device {
    QSize pixels{1920, 1080};
    QSize millimetres{508, 286}; // 96 pixels per inch
};

/// A whole EMF: header with `bounds` (device pixels) and `frame` (0.01 mm), the records,
/// and the end record.
QByteArray emfFile(QRect bounds, QRect frame, const Records& records, Device device = {})
{
    Records header;
    header.rect(bounds).rect(frame);
    header.u32(0x464D4520).u32(0x10000).u32(0).u32(0); // signature, version, bytes, records
    header.u16(8).u16(0).u32(0).u32(0).u32(0);         // handles, reserved, description
    header.i32(device.pixels.width()).i32(device.pixels.height());
    header.i32(device.millimetres.width()).i32(device.millimetres.height());
    Records file;
    file.emfRecord(1, header).raw(records.data).emfRecord(14, Records().u32(0).u32(16).u32(0));
    return file.data;
}

/// Hundredths of a millimetre for `pixels` at 96 per inch.
int hundredthsMm(int pixels)
{
    return int(std::lround(pixels * 2540.0 / 96));
}

/// A frame of `size` pixels at 96 per inch, at the origin.
QRect frameOf(QSize size)
{
    return QRect(QPoint(0, 0), QPoint(hundredthsMm(size.width()), hundredthsMm(size.height())));
}

void solidBrush(Records& r, quint32 index, quint32 colour)
{
    r.emfRecord(CreateBrush, Records().u32(index).u32(0).u32(colour).u32(0));
    r.emfRecord(SelectObject, Records().u32(index));
}

void solidPen(Records& r, quint32 index, int width, quint32 colour)
{
    r.emfRecord(CreatePen, Records().u32(index).u32(0).i32(width).i32(0).u32(colour));
    r.emfRecord(SelectObject, Records().u32(index));
}

void rectangle(Records& r, QRect rect)
{
    r.emfRecord(Rectangle, Records().rect(rect));
}

void pathEnd(Records& r, quint32 type)
{
    r.emfRecord(type, Records().rect(QRect()));
}

/// A rectangle figure as MOVETO and a POLYBEZIERTO16 of straight curves.
void rectangleFigure(Records& r, QRect rect)
{
    r.emfRecord(MoveTo, Records().i32(rect.left()).i32(rect.top()));
    const QList<QPoint> corners{rect.topRight(), rect.bottomRight(), rect.bottomLeft()};
    Records curves;
    curves.rect(QRect()).u32(quint32(corners.size() * 3));
    QPoint from = rect.topLeft();
    for (const QPoint& to : corners) {
        for (const QPoint& p : {from, to, to})
            curves.u16(quint32(p.x())).u16(quint32(p.y()));
        from = to;
    }
    r.emfRecord(PolyBezierTo16, curves);
}

QImage draw(const QByteArray& emf, const char* seed)
{
    SaveFuzzSeed(QStringLiteral("emf"), QString::fromLatin1(seed) + QStringLiteral(".emf"), emf);
    return DrawEmf(emf, qint64(4096) * 4096).image;
}

} // namespace

TEST(Emf, AFilledBezierPathShowsItsFillPlacedByTheFrame)
{
    // A circle of four Bézier quarters on a 200 dpi device, filling a frame of 400 px at
    // 96 dpi; the header's bounds say (256, 256), which is not where the frame lies.
    Device device{QSize(2000, 2000), QSize(254, 254)};
    const double r = 416.5;
    const double k = 0.5523 * r;
    const QList<QPointF> points{{2 * r, r + k}, {r + k, 2 * r}, {r, 2 * r},     {r - k, 2 * r},
                                {0, r + k},     {0, r},         {0, r - k},     {r - k, 0},
                                {r, 0},         {r + k, 0},     {2 * r, r - k}, {2 * r, r}};
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    solidPen(records, 2, 24, rgb(0, 0, 255));
    records.emfRecord(BeginPath);
    records.emfRecord(MoveTo, Records().i32(int(2 * r)).i32(int(r)));
    Records curves;
    curves.rect(QRect()).u32(quint32(points.size()));
    for (const QPointF& p : points)
        curves.u16(quint32(std::lround(p.x()))).u16(quint32(std::lround(p.y())));
    records.emfRecord(PolyBezierTo16, curves);
    records.emfRecord(CloseFigure);
    records.emfRecord(EndPath);
    pathEnd(records, StrokeAndFillPath);
    const QImage image =
        draw(emfFile(QRect(256, 256, 400, 400), frameOf(QSize(400, 400)), records, device),
             "bezier-circle");
    ASSERT_EQ(image.size(), QSize(400, 400));
    EXPECT_TRUE(near(image.pixelColor(200, 200), Red)) << "the path is filled";
    EXPECT_TRUE(near(image.pixelColor(40, 200), Red)) << "out to its left edge";
    EXPECT_TRUE(near(image.pixelColor(200, 2), Blue)) << "its outline touches the top";
    EXPECT_TRUE(near(image.pixelColor(397, 200), Blue)) << "and the right side";
    EXPECT_EQ(image.pixelColor(6, 6), White) << "the corners stay empty";
    EXPECT_EQ(image.pixelColor(393, 393), White);
}

TEST(Emf, PathsFillStrokeAbortWidenAndClip)
{
    const QSize size(300, 100);
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    solidPen(records, 2, 10, rgb(0, 0, 255));
    // Left third: FILLPATH of an open figure fills it closed, with no outline.
    records.emfRecord(BeginPath);
    records.emfRecord(MoveTo, Records().i32(10).i32(10));
    records.emfRecord(54, Records().i32(90).i32(10));
    records.emfRecord(54, Records().i32(90).i32(90));
    records.emfRecord(54, Records().i32(10).i32(90));
    records.emfRecord(EndPath);
    pathEnd(records, FillPath);
    // An aborted path leaves nothing for the next fill.
    records.emfRecord(BeginPath);
    rectangle(records, QRect(0, 0, 300, 100));
    records.emfRecord(AbortPath);
    pathEnd(records, FillPath);
    // Middle: a widened line, filled, is a bar as wide as the pen.
    records.emfRecord(BeginPath);
    records.emfRecord(MoveTo, Records().i32(110).i32(50));
    records.emfRecord(54, Records().i32(190).i32(50));
    records.emfRecord(EndPath);
    records.emfRecord(WidenPath);
    pathEnd(records, FillPath);
    // Right third: a clip path lets only its inside of a big rectangle through; STROKEPATH
    // of its outline after does not fill.
    records.emfRecord(SaveDc);
    records.emfRecord(BeginPath);
    rectangleFigure(records, QRect(QPoint(220, 20), QPoint(280, 80)));
    records.emfRecord(EndPath);
    records.emfRecord(SelectClipPath, Records().u32(5));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    rectangle(records, QRect(QPoint(200, 0), QPoint(299, 99)));
    records.emfRecord(RestoreDc, Records().i32(-1));
    records.emfRecord(BeginPath);
    rectangleFigure(records, QRect(QPoint(205, 5), QPoint(295, 95)));
    records.emfRecord(CloseFigure);
    records.emfRecord(EndPath);
    pathEnd(records, StrokePath);
    const QImage image = draw(emfFile(QRect(), frameOf(size), records), "paths");
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(50, 50), Red)) << "the open figure is filled";
    EXPECT_TRUE(near(image.pixelColor(11, 11), Red)) << "without an outline";
    EXPECT_EQ(image.pixelColor(5, 50), White) << "nothing of the aborted path";
    EXPECT_TRUE(near(image.pixelColor(150, 50), Red)) << "the widened line";
    EXPECT_TRUE(near(image.pixelColor(150, 46), Red));
    EXPECT_EQ(image.pixelColor(150, 40), White) << "is only the pen's width";
    EXPECT_TRUE(near(image.pixelColor(250, 50), Red)) << "inside the clip path";
    EXPECT_EQ(image.pixelColor(212, 50), White) << "outside it nothing";
    EXPECT_TRUE(near(image.pixelColor(205, 50), Blue)) << "the stroked outline";
    EXPECT_TRUE(near(image.pixelColor(295, 50), Blue)) << "closed by CLOSEFIGURE";
}

TEST(Emf, WorldTransformsTurnLogicalUnitsBeforeTheMapping)
{
    const QSize size(200, 200);
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    records.emfRecord(SaveDc);
    // Twice the size, then moved by (100, 0) first: (0..40) lands on (200..280)/2... see
    // below: left-multiplied, the translation applies before the scale.
    records.emfRecord(SetWorldTransform, Records().f32(2).f32(0).f32(0).f32(2).f32(0).f32(0));
    records.emfRecord(ModifyWorldTransform,
                      Records().f32(1).f32(0).f32(0).f32(1).f32(50).f32(0).u32(2));
    rectangle(records, QRect(QPoint(0, 0), QPoint(20, 20))); // to (100, 0)-(140, 40)
    records.emfRecord(RestoreDc, Records().i32(-1));
    rectangle(records, QRect(QPoint(0, 100), QPoint(20, 120))); // untouched again
    // A quarter turn about the origin, then right-multiplied by a move of (150, 150).
    records.emfRecord(SetWorldTransform, Records().f32(0).f32(1).f32(-1).f32(0).f32(0).f32(0));
    records.emfRecord(ModifyWorldTransform,
                      Records().f32(1).f32(0).f32(0).f32(1).f32(150).f32(150).u32(3));
    rectangle(records, QRect(QPoint(0, 0), QPoint(40, 10))); // to (140, 150)-(150, 190)
    records.emfRecord(ModifyWorldTransform,
                      Records().f32(0).f32(0).f32(0).f32(0).f32(0).f32(0).u32(1));
    rectangle(records, QRect(QPoint(180, 0), QPoint(199, 10))); // the identity again
    const QImage image = draw(emfFile(QRect(), frameOf(size), records), "world");
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(120, 20), Red)) << "moved, then doubled";
    EXPECT_EQ(image.pixelColor(30, 20), White) << "nothing where it was unmoved";
    EXPECT_EQ(image.pixelColor(150, 20), White) << "nor past its doubled size";
    EXPECT_TRUE(near(image.pixelColor(10, 110), Red)) << "RESTOREDC brings back the identity";
    EXPECT_TRUE(near(image.pixelColor(145, 170), Red)) << "turned a quarter, then moved";
    EXPECT_EQ(image.pixelColor(170, 155), White) << "not lying along x";
    EXPECT_TRUE(near(image.pixelColor(190, 5), Red)) << "identity by MODIFYWORLDTRANSFORM";
}

TEST(Emf, ClippingRectanglesAndRegionsLimitDrawing)
{
    const QSize size(200, 100);
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    // Left half: intersect with (10..90, 10..90), cut out (40..60) across.
    records.emfRecord(SaveDc);
    records.emfRecord(IntersectClipRect, Records().rect(QRect(QPoint(10, 10), QPoint(90, 90))));
    records.emfRecord(ExcludeClipRect, Records().rect(QRect(QPoint(40, 0), QPoint(60, 100))));
    rectangle(records, QRect(QPoint(0, 0), QPoint(100, 100)));
    records.emfRecord(RestoreDc, Records().i32(-1));
    // Right half: a region of two device rectangles, copied in; then an OR adds a third.
    Records region;
    region.u32(32).u32(1).u32(2).u32(32).rect(QRect(QPoint(110, 0), QPoint(190, 100)));
    region.rect(QRect(QPoint(110, 0), QPoint(130, 30)))
        .rect(QRect(QPoint(170, 0), QPoint(190, 30)));
    records.emfRecord(ExtSelectClipRgn,
                      Records().u32(quint32(region.data.size())).u32(5).raw(region.data));
    Records more;
    more.u32(32).u32(1).u32(1).u32(16).rect(QRect(QPoint(110, 70), QPoint(190, 100)));
    more.rect(QRect(QPoint(110, 70), QPoint(190, 100)));
    records.emfRecord(ExtSelectClipRgn,
                      Records().u32(quint32(more.data.size())).u32(2).raw(more.data));
    rectangle(records, QRect(QPoint(100, 0), QPoint(200, 100)));
    // A copy of no region clears the clip.
    records.emfRecord(ExtSelectClipRgn, Records().u32(0).u32(5));
    rectangle(records, QRect(QPoint(140, 45), QPoint(160, 55)));
    const QImage image = draw(emfFile(QRect(), frameOf(size), records), "clip");
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(25, 50), Red));
    EXPECT_EQ(image.pixelColor(5, 50), White) << "outside the intersected rectangle";
    EXPECT_EQ(image.pixelColor(50, 50), White) << "inside the excluded one";
    EXPECT_TRUE(near(image.pixelColor(120, 15), Red)) << "inside the region";
    EXPECT_TRUE(near(image.pixelColor(180, 15), Red));
    EXPECT_EQ(image.pixelColor(150, 15), White) << "between its rectangles";
    EXPECT_TRUE(near(image.pixelColor(150, 85), Red)) << "the rectangle added by OR";
    EXPECT_TRUE(near(image.pixelColor(150, 50), Red)) << "no clip after the empty copy";
    EXPECT_EQ(image.pixelColor(150, 35), White);
}

namespace {

/// A device-independent bitmap as Qt's BMP writer makes it: the file less its 14-byte
/// file header.
QByteArray dibOf(const QImage& image)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bmp.mid(14);
}

/// A 32-bit top-down DIB of one row of premultiplied BGRA pixels.
QByteArray alphaDib(const QList<QRgb>& pixels)
{
    Records dib;
    dib.u32(40).i32(int(pixels.size())).i32(-1).u16(1).u16(32).u32(0).u32(0);
    dib.i32(0).i32(0).u32(0).u32(0);
    for (QRgb p : pixels)
        dib.u8(quint32(qBlue(p)))
            .u8(quint32(qGreen(p)))
            .u8(quint32(qRed(p)))
            .u8(quint32(qAlpha(p)));
    return dib.data;
}

/// STRETCHDIBITS of the whole `dib` (BITMAPINFOHEADER with no colour table) into `target`.
void stretchDiBits(Records& r, const QByteArray& dib, QRect target, QSize source)
{
    constexpr quint32 infoAt = 80;
    constexpr quint32 infoSize = 40;
    Records params;
    params.rect(target).i32(target.x()).i32(target.y()).i32(0).i32(0);
    params.i32(source.width()).i32(source.height());
    params.u32(infoAt).u32(infoSize).u32(infoAt + infoSize).u32(quint32(dib.size()) - infoSize);
    params.u32(0).u32(0x00CC0020).i32(target.width()).i32(target.height()).raw(dib);
    r.emfRecord(StretchDiBits, params);
}

/// The fields BITBLT, STRETCHBLT and ALPHABLEND share, up to the bitmap's offsets.
Records bltHead(QRect target, quint32 ropOrBlend)
{
    Records params;
    params.rect(target).i32(target.x()).i32(target.y()).i32(target.width()).i32(target.height());
    params.u32(ropOrBlend).i32(0).i32(0);
    params.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0).u32(0).u32(
        0); // source transform, colour, usage
    return params;
}

} // namespace

TEST(Emf, BitmapRecordsDrawTheirBitsStretchedFilledAndBlended)
{
    const QSize size(200, 100);
    Records records;
    // A 2 x 2 picture stretched over the left half: each pixel a quarter, rows in order.
    QImage quads(2, 2, QImage::Format_RGB32);
    quads.setPixel(0, 0, qRgb(255, 0, 0));
    quads.setPixel(1, 0, qRgb(0, 255, 0));
    quads.setPixel(0, 1, qRgb(0, 0, 255));
    quads.setPixel(1, 1, qRgb(0, 0, 0));
    stretchDiBits(records, dibOf(quads), QRect(0, 0, 100, 100), QSize(2, 2));
    // A transfer without a bitmap fills with the brush (PATCOPY).
    solidBrush(records, 1, rgb(0, 160, 0));
    Records fill = bltHead(QRect(100, 0, 50, 50), 0x00F00021);
    fill.u32(0).u32(0).u32(0).u32(0);
    records.emfRecord(BitBlt, fill);
    // Half-transparent red, blended over white by its own alpha.
    const QByteArray dib = alphaDib({qRgba(128, 0, 0, 128)});
    Records blend = bltHead(QRect(150, 0, 50, 50), 0x01FF0000); // source alpha, opaque
    blend.u32(108).u32(40).u32(148).u32(quint32(dib.size() - 40)).i32(1).i32(1).raw(dib);
    records.emfRecord(AlphaBlend, blend);
    const QImage image = draw(emfFile(QRect(), frameOf(size), records), "bitmaps");
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(25, 25), Red)) << "top row first";
    EXPECT_EQ(image.pixelColor(48, 48), Red) << "enlarged pixels stay sharp";
    EXPECT_TRUE(near(image.pixelColor(75, 25), QColor(0, 255, 0)));
    EXPECT_TRUE(near(image.pixelColor(25, 75), Blue));
    EXPECT_TRUE(near(image.pixelColor(75, 75), QColor(0, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(125, 25), QColor(0, 160, 0))) << "the brush fill";
    EXPECT_EQ(image.pixelColor(125, 75), White) << "only where the transfer goes";
    EXPECT_TRUE(near(image.pixelColor(175, 25), QColor(255, 128, 128))) << "blended";
}

TEST(Emf, APictureLargerThanTheLargestImageIsDrawnScaledDown)
{
    // 14000 x 10000 pixels, the right half red.
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    rectangle(records, QRect(QPoint(7000, 0), QPoint(14000, 10000)));
    const QByteArray emf = emfFile(QRect(), frameOf(QSize(14000, 10000)), records);
    SaveFuzzSeed(QStringLiteral("emf"), QStringLiteral("large.emf"), emf);

    const EmfDrawing bySide = DrawEmf(emf, qint64(1) << 40, 1400);
    EXPECT_EQ(bySide.naturalSize, QSize(14000, 10000));
    ASSERT_EQ(bySide.image.size(), QSize(1400, 1000)) << "the proportions are kept";
    EXPECT_TRUE(near(bySide.image.pixelColor(1050, 500), Red)) << "the drawing scales too";
    EXPECT_EQ(bySide.image.pixelColor(650, 500), White);
    EXPECT_EQ(DrawEmf(emf, 140000).image.size(), QSize(442, 316)) << "by the pixel count";

    TempTree tree;
    const qint64 memory = 4 * 200000;
    const PictureRead read = ReadPicture(tree.file(QStringLiteral("big.emf"), emf), memory);
    ASSERT_FALSE(read.image.isNull()) << "drawn, never refused";
    EXPECT_LE(qint64(read.image.width()) * read.image.height() * 4, memory);
    EXPECT_TRUE(near(read.image.pixelColor(read.image.width() * 3 / 4, 10), Red));
    EXPECT_TRUE(read.problem.contains(QStringLiteral("14000 x 10000")))
        << read.problem.toStdString();
}

TEST(Emf, EmfPlusRecordsFallBackToGdiRecordsOrAreReported)
{
    // EMF+ records travel in comments: a header and a fill the reader does not play.
    Records plus;
    Records plusHeader;
    plusHeader.u16(0x4001).u16(1).u32(28).u32(16).u32(0xDBC01002).u32(1).u32(96).u32(96);
    plus.emfRecord(
        Comment,
        Records().u32(quint32(4 + plusHeader.data.size())).u32(0x2B464D45).raw(plusHeader.data));
    Records plusFill;
    plusFill.u16(0x400A).u16(0x8000).u32(28).u32(16).u32(0xFFFF0000).u32(1).f32(0).f32(0);
    plus.emfRecord(
        Comment,
        Records().u32(quint32(4 + plusFill.data.size())).u32(0x2B464D45).raw(plusFill.data));
    const QSize size(100, 50);
    TempTree tree;

    const QByteArray only = emfFile(QRect(), frameOf(size), plus);
    SaveFuzzSeed(QStringLiteral("emf"), QStringLiteral("emfplus-only.emf"), only);
    const EmfDrawing blank = DrawEmf(only, 1 << 20);
    EXPECT_TRUE(blank.emfPlusOnly);
    EXPECT_EQ(blank.image.size(), size);
    const PictureRead said = ReadPicture(tree.file(QStringLiteral("plus.emf"), only), 1 << 24);
    EXPECT_FALSE(said.image.isNull());
    EXPECT_TRUE(said.problem.contains(QStringLiteral("EMF+"))) << said.problem.toStdString();

    Records dual = plus;
    solidBrush(dual, 1, rgb(255, 0, 0));
    rectangle(dual, QRect(QPoint(10, 10), QPoint(90, 40)));
    const QByteArray both = emfFile(QRect(), frameOf(size), dual);
    const EmfDrawing fallback = DrawEmf(both, 1 << 20);
    EXPECT_FALSE(fallback.emfPlusOnly);
    EXPECT_TRUE(near(fallback.image.pixelColor(50, 25), Red)) << "the GDI records are drawn";
    EXPECT_EQ(ReadPicture(tree.file(QStringLiteral("dual.emf"), both), 1 << 24).problem, QString());
}

TEST(Emf, PiesAndChordsRunCounterClockwiseUntilTheDirectionTurns)
{
    const QSize size(200, 100);
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    // From three o'clock to twelve: the upper right quarter.
    records.emfRecord(
        47, Records().rect(QRect(QPoint(0, 0), QPoint(100, 100))).i32(100).i32(50).i32(50).i32(0));
    records.emfRecord(57, Records().u32(2)); // clockwise
    // The same points clockwise: all but the upper right segment.
    records.emfRecord(
        46,
        Records().rect(QRect(QPoint(100, 0), QPoint(200, 100))).i32(200).i32(50).i32(150).i32(0));
    const QImage image = draw(emfFile(QRect(), frameOf(size), records), "arcs");
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(70, 30), Red)) << "the pie's quarter";
    EXPECT_EQ(image.pixelColor(30, 30), White) << "and no other";
    EXPECT_EQ(image.pixelColor(70, 70), White);
    EXPECT_TRUE(near(image.pixelColor(130, 70), Red)) << "the chord's larger part";
    EXPECT_TRUE(near(image.pixelColor(115, 40), Red));
    EXPECT_EQ(image.pixelColor(185, 15), White) << "cut off by the chord";
}

TEST(Emf, ADamagedReferenceDeviceSizeIsTakenAsNinetySixPixelsPerInch)
{
    Records records;
    solidBrush(records, 1, rgb(255, 0, 0));
    records.emfRecord(SelectObject, Records().u32(NullPen));
    rectangle(records, QRect(QPoint(50, 0), QPoint(100, 50)));
    for (const QSize millimetres : {QSize(0, 0), QSize(1, 1), QSize(-508, 286)}) {
        const QImage image = draw(
            emfFile(QRect(), frameOf(QSize(100, 50)), records, {QSize(1920, 1080), millimetres}),
            "device");
        ASSERT_EQ(image.size(), QSize(100, 50));
        EXPECT_TRUE(near(image.pixelColor(75, 25), Red)) << millimetres.width();
        EXPECT_EQ(image.pixelColor(25, 25), White) << millimetres.width();
    }
}

TEST(Emf, AClipPathFarPastThePictureIsCutToIt)
{
    // Found by fuzzing: a clip path millions of pixels wide made a region as large.
    QFile seed(QStringLiteral(LUMARA_SEED_INPUTS "/emf/huge-clip-path.emf"));
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    EXPECT_FALSE(DrawEmf(seed.readAll(), qint64(1) << 18, 1024).image.isNull());
}
