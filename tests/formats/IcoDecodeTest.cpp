// Icons as the picture view reads them: directories that hold another height than the
// image, and image headers that the icon decoder alone refuses.
#include "formats/IcoDecode.h"

#include "common/FuzzSeeds.h"
#include "common/IconFixtures.h"
#include "common/TempTree.h"
#include "formats/IconScan.h"
#include "platform/Prompts.h"
#include "view/picture/PictureFile.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace iconfixtures;

namespace {

const QRgb Green = qRgb(30, 160, 60);

/// An image with the OS/2 core header (12 bytes: 16-bit width and height, no
/// compression field), which the bitmap format allows and some old icons carry.
QByteArray CoreHeaderImage(int size)
{
    const QByteArray plain = dibImage(size, 24, Green);
    QByteArray core(12, '\0');
    put32(core, 0, 12);
    put16(core, 4, quint16(size));
    put16(core, 6, quint16(2 * size));
    put16(core, 8, 1);
    put16(core, 10, 24);
    return core + plain.mid(40);
}

} // namespace

TEST(IcoDecode, DirectoryWithTwiceTheHeightOrNoneDecodes)
{
    for (const int bits : {4, 8, 32}) {
        QByteArray ico = icoFile({dibImage(32, bits, Green)});
        ico[7] = char(64); // twice the height, as the icon scan saves it
        SaveFuzzSeed("ico_decode", QStringLiteral("doubled%1.ico").arg(bits), ico);
        const QImage doubled = DecodeIcoImage(ico);
        EXPECT_EQ(doubled.size(), QSize(32, 32)) << bits;
        EXPECT_EQ(doubled.pixel(3, 3), Green) << bits;
        ico[6] = ico[7] = 0; // no size at all: 256 by the directory
        EXPECT_EQ(DecodeIcoImage(ico).size(), QSize(32, 32)) << bits;
    }
}

TEST(IcoDecode, UnusualButConsistentHeadersDecode)
{
    QByteArray ico = icoFile({CoreHeaderImage(16)});
    ico[6] = ico[7] = char(16);
    put16(ico, 12, 24);
    SaveFuzzSeed("ico_decode", "coreheader.ico", ico);
    const QImage image = DecodeIcoImage(ico);
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(qRgb(qRed(image.pixel(8, 8)), qGreen(image.pixel(8, 8)), qBlue(image.pixel(8, 8))),
              Green);
}

TEST(IcoDecode, IconSavedByTheIconScanOpensAsAPicture)
{
    TempTree t;
    // icotool (icoutils) writes the icon when it is there; the fixture otherwise.
    QByteArray source = icoFile({dibImage(32, 8, Green)});
    if (!QStandardPaths::findExecutable("icotool").isEmpty()) {
        QImage png(32, 32, QImage::Format_ARGB32);
        png.fill(Green);
        png.setPixel(0, 0, qRgb(1, 2, 3)); // more colours than one, so 32 bits stay
        ASSERT_TRUE(png.save(t.path("in.png")));
        QProcess icotool;
        icotool.start("icotool", {"-c", "-o", t.path("made.ico"), t.path("in.png")});
        ASSERT_TRUE(icotool.waitForFinished(30000) && icotool.exitCode() == 0);
        QFile made(t.path("made.ico"));
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        source = made.readAll();
    }
    t.file("source.ico", source);
    ScriptedPrompts prompts;
    IconFileScan scan;
    ASSERT_TRUE(scan.LoadIconFileBytes(t.path("source.ico"), prompts));
    ASSERT_TRUE(scan.FindIconImages(prompts));
    ASSERT_TRUE(scan.SaveIconFile(1, t.path("saved.ico"), prompts));
    const QImage picture = LoadPicture(t.path("saved.ico"));
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixel(10, 10), Green);
}
