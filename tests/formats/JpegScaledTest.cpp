#include "formats/JpegScaled.h"

#include "common/FuzzSeeds.h"
#include "common/TempTree.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

/// A JPEG of ffmpeg's test pattern, `size` pixels, in `pixelFormat` (yuvj420p, gray...).
QByteArray FfmpegJpeg(const TempTree& tree, QSize size, const QString& pixelFormat)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return {};
    const QString out = tree.path(
        QStringLiteral("%1-%2x%3.jpg").arg(pixelFormat).arg(size.width()).arg(size.height()));
    QProcess run;
    run.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i",
                       QStringLiteral("testsrc2=size=%1x%2").arg(size.width()).arg(size.height()),
                       "-frames:v", "1", "-pix_fmt", pixelFormat, "-q:v", "3", out});
    if (!run.waitForFinished(60000) || run.exitCode() != 0)
        return {};
    QFile file(out);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (size.width() * size.height() <= 320 * 240)
        SaveFuzzSeed("jpeg_scaled", pixelFormat + ".jpg", bytes);
    return bytes;
}

/// The largest difference of one colour channel between two images of the same size.
int LargestDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

auto Fixed(QSize size)
{
    return [size](QSize) { return size; };
}

} // namespace

TEST(JpegScaled, DecodesAtTheSmallestScaleThatCoversAndLooksLikeQtsReader)
{
    if (!JpegDecoderBuiltIn())
        GTEST_SKIP() << "built without libjpeg";
    TempTree tree;
    const QByteArray photo = FfmpegJpeg(tree, QSize(1600, 1200), "yuvj420p");
    if (photo.isEmpty())
        GTEST_SKIP() << "ffmpeg is needed to make the pictures";
    const qint64 plenty = qint64(1) << 30;
    struct Case {
        QSize cover;
        QSize decoded;
    };
    // 1/8 is 200 x 150; one pixel more in either direction needs 2/8; beyond the picture
    // it stays at its natural size.
    for (const Case& c : {Case{{196, 146}, {200, 150}}, Case{{200, 150}, {200, 150}},
                          Case{{201, 100}, {400, 300}}, Case{{100, 151}, {400, 300}},
                          Case{{1000, 700}, {1000, 750}}, Case{{3000, 3000}, {1600, 1200}}}) {
        const ScaledJpeg jpeg = DecodeJpegCovering(photo, Fixed(c.cover), plenty);
        EXPECT_EQ(jpeg.natural, QSize(1600, 1200));
        EXPECT_EQ(jpeg.image.size(), c.decoded) << c.cover.width() << "x" << c.cover.height();
        EXPECT_EQ(jpeg.image.format(), QImage::Format_RGB32);
    }
    // The cover is asked of the natural size.
    QSize asked;
    const ScaledJpeg half = DecodeJpegCovering(
        photo,
        [&asked](QSize natural) {
            asked = natural;
            return natural / 2;
        },
        plenty);
    EXPECT_EQ(asked, QSize(1600, 1200));
    EXPECT_EQ(half.image.size(), QSize(800, 600));

    // The same pixels as Qt's reader at the same reduced scale.
    QBuffer buffer(const_cast<QByteArray*>(&photo));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setScaledSize(QSize(200, 150));
    const QImage qt = reader.read();
    const QImage ours = DecodeJpegCovering(photo, Fixed({200, 150}), plenty).image;
    ASSERT_EQ(qt.size(), ours.size());
    EXPECT_LE(LargestDifference(qt, ours), 2);
}

TEST(JpegScaled, GreyPicturesDecodeAsGreyAndBadDataGivesNothing)
{
    if (!JpegDecoderBuiltIn())
        GTEST_SKIP() << "built without libjpeg";
    // A one-component JPEG, as Qt writes a grey picture (ffmpeg writes three).
    QImage pattern(320, 240, QImage::Format_Grayscale8);
    for (int row = 0; row < pattern.height(); ++row) {
        for (int col = 0; col < pattern.width(); ++col)
            pattern.scanLine(row)[col] = uchar((col * 7 + row * 3) % 256);
    }
    QByteArray grey;
    QBuffer out(&grey);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(pattern.save(&out, "JPEG", 90));
    ASSERT_EQ(static_cast<unsigned char>(grey[grey.indexOf("\xff\xc0") + 9]), 1);
    SaveFuzzSeed("jpeg_scaled", "grey.jpg", grey);
    const qint64 plenty = qint64(1) << 30;
    const QImage image = DecodeJpegCovering(grey, Fixed({40, 30}), plenty).image;
    ASSERT_EQ(image.size(), QSize(40, 30));
    for (int row = 0; row < image.height(); ++row) {
        for (int col = 0; col < image.width(); ++col) {
            const QRgb p = image.pixel(col, row);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << col << "," << row;
        }
    }
    QImage readByQt;
    ASSERT_TRUE(readByQt.loadFromData(grey, "jpeg"));
    EXPECT_LE(
        LargestDifference(readByQt, DecodeJpegCovering(grey, Fixed({320, 240}), plenty).image), 2);

    // Too many pixels: the size is told, the picture refused.
    const ScaledJpeg big = DecodeJpegCovering(grey, Fixed({40, 30}), 320 * 240 - 1);
    EXPECT_TRUE(big.image.isNull());
    EXPECT_EQ(big.natural, QSize(320, 240));
    // Not a JPEG, a JPEG cut in its header, and one whose header is garbage.
    EXPECT_FALSE(LooksLikeJpeg(QByteArray("\x89PNG\r\n", 6)));
    EXPECT_TRUE(
        DecodeJpegCovering(QByteArray("\x89PNG\r\n", 6), Fixed({1, 1}), plenty).image.isNull());
    EXPECT_TRUE(DecodeJpegCovering(grey.left(40), Fixed({1, 1}), plenty).image.isNull());
    QByteArray garbled = grey;
    for (qsizetype i = 4; i < 200; ++i)
        garbled[i] = char(0xFF - i);
    EXPECT_TRUE(DecodeJpegCovering(garbled, Fixed({1, 1}), plenty).image.isNull());
    // Cut in the middle of its data: what was there is decoded, the rest filled.
    EXPECT_EQ(
        DecodeJpegCovering(grey.left(grey.size() / 2), Fixed({320, 240}), plenty).image.size(),
        QSize(320, 240));
}
