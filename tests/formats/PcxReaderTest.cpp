#include "formats/PcxReader.h"

#include "common/FuzzSeeds.h"
#include "common/TempTree.h"

#include <gtest/gtest.h>

namespace {

/// A PCX header; `palette16` fills the header's 16-colour palette.
QByteArray header(int bitsPerPlane, int planes, int width, int height, int bytesPerLine,
                  bool rle = true, const QList<QRgb>& palette16 = {})
{
    QByteArray h(128, '\0');
    const auto put16 = [&h](int at, int value) {
        h[at] = char(value & 0xFF);
        h[at + 1] = char(value >> 8);
    };
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = rle ? 1 : 0;
    h[3] = char(bitsPerPlane);
    put16(4, 10); // a picture need not start at 0,0
    put16(6, 20);
    put16(8, 10 + width - 1);
    put16(10, 20 + height - 1);
    for (int i = 0; i < palette16.size(); ++i) {
        h[16 + i * 3] = char(qRed(palette16[i]));
        h[17 + i * 3] = char(qGreen(palette16[i]));
        h[18 + i * 3] = char(qBlue(palette16[i]));
    }
    h[65] = char(planes);
    put16(66, bytesPerLine);
    return h;
}

/// PCX run-length coding of one stream of bytes.
QByteArray rle(const QByteArray& raw)
{
    QByteArray out;
    for (qsizetype i = 0; i < raw.size();) {
        qsizetype run = 1;
        while (i + run < raw.size() && raw[i + run] == raw[i] && run < 63)
            ++run;
        const auto b = static_cast<unsigned char>(raw[i]);
        if (run > 1 || (b & 0xC0) == 0xC0)
            out.append(char(0xC0 | run));
        out.append(raw[i]);
        i += run;
    }
    return out;
}

/// Every pixel, row by row.
QList<QRgb> pixels(const QImage& image)
{
    QList<QRgb> all;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            all << image.pixel(x, y);
    return all;
}

TEST(PcxReader, Reads8BitPicturesWithTheVgaPalette)
{
    // 3x2, lines padded to 4 bytes; runs cross the line end.
    const QByteArray raw("\x01\x01\x01\x02\x02\xC5\x02\x00", 8);
    QByteArray palette(769, '\0');
    palette[0] = 0x0C;
    const auto setColour = [&palette](int index, QRgb c) {
        palette[1 + index * 3] = char(qRed(c));
        palette[2 + index * 3] = char(qGreen(c));
        palette[3 + index * 3] = char(qBlue(c));
    };
    setColour(1, qRgb(255, 0, 0));
    setColour(2, qRgb(0, 128, 255));
    setColour(0xC5, qRgb(9, 8, 7));
    const QByteArray file = header(8, 1, 3, 2, 4) + rle(raw) + palette;
    SaveFuzzSeed(QStringLiteral("pcx"), QStringLiteral("vga-palette"), file);
    const QImage image = ReadPcx(file);
    ASSERT_EQ(image.size(), QSize(3, 2));
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 128, 255);
    // A literal 0xC5 must be coded as a run.
    EXPECT_EQ(pixels(image), QList<QRgb>({red, red, red, blue, qRgb(9, 8, 7), blue}));
}

TEST(PcxReader, Reads24BitPicturesFromThreePlanes)
{
    // Per line: the red plane, then green, then blue (2 pixels, 2 bytes a plane).
    const QByteArray raw("\xFF\x10"
                         "\x00\x20"
                         "\x00\x30"
                         "\x01\x02"
                         "\x03\x04"
                         "\x05\x06",
                         12);
    for (const bool compressed : {true, false}) {
        const QByteArray file = header(8, 3, 2, 2, 2, compressed) + (compressed ? rle(raw) : raw);
        SaveFuzzSeed(QStringLiteral("pcx"), QStringLiteral("true-colour-%1").arg(compressed), file);
        const QImage image = ReadPcx(file);
        ASSERT_EQ(image.size(), QSize(2, 2)) << compressed;
        EXPECT_EQ(pixels(image), QList<QRgb>({qRgb(0xFF, 0x00, 0x00), qRgb(0x10, 0x20, 0x30),
                                              qRgb(0x01, 0x03, 0x05), qRgb(0x02, 0x04, 0x06)}));
    }
}

TEST(PcxReader, ReadsOneBitAndPlanarEgaPictures)
{
    // 10 pixels of 1 bit: 1011000011 -> bytes 0xB0 0xC0.
    const QImage mono = ReadPcx(header(1, 1, 10, 1, 2) + rle(QByteArray("\xB0\xC0", 2)));
    const QRgb o = qRgb(255, 255, 255);
    const QRgb x = qRgb(0, 0, 0);
    EXPECT_EQ(pixels(mono), QList<QRgb>({o, x, o, o, x, x, x, x, o, o}));

    // 4 planes of 1 bit give indexes into the header palette: plane 0 is the low bit.
    QList<QRgb> palette16;
    for (int i = 0; i < 16; ++i)
        palette16.append(qRgb(i * 16, 255 - i * 16, i));
    const QByteArray planes("\x80\xC0\x00\x40", 4); // pixel 0: 0b0011 = 3, pixel 1: 0b1010
    const QImage ega = ReadPcx(header(1, 4, 2, 1, 1, true, palette16) + rle(planes));
    EXPECT_EQ(pixels(ega), QList<QRgb>({palette16[3], palette16[10]}));

    // 2 and 4 bits per pixel in one plane; an empty header palette means the EGA colours.
    const QImage four = ReadPcx(header(4, 1, 3, 1, 2) + rle(QByteArray("\x1F\xC9", 2)));
    EXPECT_EQ(pixels(four), QList<QRgb>({qRgb(0x00, 0x00, 0xAA), qRgb(0xFF, 0xFF, 0xFF),
                                         qRgb(0xFF, 0x55, 0x55)}));
    const QImage two = ReadPcx(header(2, 1, 4, 1, 1, true, palette16) + rle(QByteArray("\x1B", 1)));
    EXPECT_EQ(pixels(two), palette16.mid(0, 4));
}

TEST(PcxReader, RejectsWhatIsNotAPicture)
{
    EXPECT_TRUE(ReadPcx({}).isNull());
    EXPECT_TRUE(ReadPcx(QByteArray(200, 'x')).isNull());
    EXPECT_TRUE(ReadPcx(header(3, 1, 4, 4, 2) + QByteArray(16, '\0')).isNull()); // 3 bits
    EXPECT_TRUE(ReadPcx(header(8, 2, 4, 4, 4) + QByteArray(32, '\0')).isNull()); // 2 planes
    EXPECT_TRUE(ReadPcx(header(8, 1, 8, 1, 4) + QByteArray(8, '\0')).isNull());  // short lines
    // A header claiming far more than the file can hold (65536 x 65536) fails at once.
    QByteArray huge = header(1, 1, 1, 1, 1) + QByteArray(13, '\xC1');
    for (const int at : {4, 5, 6, 7})
        huge[at] = '\0';
    for (const int at : {8, 9, 10, 11, 66, 67})
        huge[at] = '\xFF';
    ASSERT_EQ(huge.size(), 141);
    EXPECT_TRUE(ReadPcx(huge).isNull());
    SaveFuzzSeed(QStringLiteral("pcx"), QStringLiteral("huge-header"), huge);
    // A file cut short still shows what it holds, black below.
    const QImage cut = ReadPcx(header(8, 3, 1, 2, 1) + rle(QByteArray("\x10\x20\x30", 3)));
    EXPECT_EQ(pixels(cut), QList<QRgb>({qRgb(0x10, 0x20, 0x30), qRgb(0, 0, 0)}));
}

TEST(PcxReader, ReadsFromFile)
{
    TempTree tree;
    const QString path =
        tree.file(QStringLiteral("one.pcx"), header(8, 3, 1, 1, 1) + QByteArray("\x01\x02\x03", 3));
    EXPECT_EQ(ReadPcxFile(path).pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_TRUE(ReadPcxFile(tree.path(QStringLiteral("none.pcx"))).isNull());
}

} // namespace
