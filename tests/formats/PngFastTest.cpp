#include "formats/PngFast.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

/// Noise, a gradient and flat runs side by side, so every kind of row is deflated.
QImage MixedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QRgb pixel = qRgb(255, 255, 255);
            if (x % 3 == 0)
                pixel = random.generate() | 0xFF000000u;
            else if (x % 3 == 1)
                pixel = qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

} // namespace

TEST(PngFast, QtReadsBackEveryPixelAndTheResolution)
{
    // Widths around a pixel's three bytes, a single column and a page that takes several
    // rounds of output from zlib.
    for (const QSize size : {QSize(1, 1), QSize(1, 40), QSize(7, 5), QSize(1000, 750)}) {
        QImage picture = MixedPicture(size.width(), size.height());
        picture.setDotsPerMeterX(3780);
        picture.setDotsPerMeterY(2835);
        const QImage read = QImage::fromData(EncodePngFast(picture), "PNG");
        ASSERT_FALSE(read.isNull()) << size.width() << "x" << size.height();
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture);
        EXPECT_EQ(read.dotsPerMeterX(), 3780);
        EXPECT_EQ(read.dotsPerMeterY(), 2835);
    }
}

TEST(PngFast, OtherFormatsAreWrittenAsTheirColours)
{
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0)});
    indexed.fill(1);
    indexed.setPixel(0, 0, 0);
    const QImage read = QImage::fromData(EncodePngFast(indexed), "PNG");
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
              indexed.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(EncodePngFast(QImage()).isEmpty());
}
