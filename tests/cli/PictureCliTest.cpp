#include "CliRun.h"
#include "basket/BasketHeader.h"
#include "common/TempTree.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QByteArray png(QSize size, QColor left, QColor right)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(left);
    for (int y = 0; y < size.height(); ++y)
        for (int x = size.width() / 2; x < size.width(); ++x)
            image.setPixelColor(x, y, right);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

/// An EMF of 80 x 40 pixels (frame in 0.01 mm at 96 per inch) whose one record is an
/// EMF+ header in a comment.
QByteArray emfPlusOnly()
{
    QByteArray bytes;
    const auto u32 = [&bytes](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xFF));
    };
    u32(1);
    u32(88);
    for (quint32 v : {0u, 0u, 79u, 39u, 0u, 0u, 2117u, 1058u})
        u32(v); // bounds, frame
    for (quint32 v : {0x464D4520u, 0x10000u, 0u, 0u, 0u, 0u, 0u, 0u, 1920u, 1080u, 508u, 286u})
        u32(v);
    u32(70); // comment: data size, "EMF+", then its header record
    u32(8 + 4 + 4 + 28);
    u32(4 + 28);
    u32(0x2B464D45);
    for (quint32 v : {0x00014001u, 28u, 16u, 0xDBC01002u, 1u, 96u, 96u})
        u32(v);
    for (quint32 v : {14u, 20u, 0u, 16u, 0u})
        u32(v);
    return bytes;
}

} // namespace

TEST(PictureCli, PictureSaysWhatTheStatusBarWouldOfAMetafile)
{
    TempTree t;
    const QString out = t.path("out.png");
    const CliRun r = RunCli({"picture", t.file("plus.emf", emfPlusOnly()), "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("EMF+")) << r.out.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(80, 40));
}

TEST(PictureCli, PictureDrawsNaturalSizeOrTurned)
{
    TempTree t;
    const QString source = t.file("wide picture.bmp", png(QSize(40, 20), Qt::red, Qt::blue));
    const QString out = t.path("out.png");
    CliRun r = RunCli({"picture", source, "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(40, 20));
    r = RunCli({"picture", source, "--rotate", "90", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QImage turned(out);
    ASSERT_EQ(turned.size(), QSize(20, 40));
    EXPECT_EQ(turned.pixelColor(10, 5), QColor(Qt::red)) << "the left half went to the top";
    EXPECT_EQ(turned.pixelColor(10, 35), QColor(Qt::blue));
    r = RunCli({"picture", source, "--rotate", "-90", "--out", out});
    turned = QImage(out);
    EXPECT_EQ(turned.pixelColor(10, 35), QColor(Qt::red)) << "and to the bottom the other way";
    r = RunCli({"picture", source, "--rotate", "45", "--out", out});
    EXPECT_EQ(r.status, 2);
    r = RunCli({"picture", t.file("x.bmp", QByteArray("no")), "--out", out});
    EXPECT_EQ(r.status, 1);
}

TEST(PictureCli, ThumbsWritesOnePagePerTwentyFivePictures)
{
    TempTree t;
    for (int i = 0; i < 26; ++i)
        t.file(QStringLiteral("p%1.bmp").arg(i), png(QSize(30, 20), Qt::green, Qt::green));
    t.file("notes.txt", 10);
    const QString dir = t.path("pages");
    const CliRun r = RunCli({"thumbs", t.root(), "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "26 pictures, 2 pages\n");
    const QImage second(dir + "/page2.png");
    EXPECT_EQ(second.size(), QSize(1000, 750));
    EXPECT_TRUE(QImage(dir + "/page3.png").isNull());
    const CliRun none = RunCli({"thumbs", t.folder("empty"), "--out", dir});
    EXPECT_EQ(none.out, "There are no picture files\n");
}

TEST(PictureCli, MediaPrintsTheLength)
{
    if (QStandardPaths::findExecutable("sox").isEmpty())
        GTEST_SKIP() << "sox is not installed";
    TempTree t;
    const QString wav = t.path("a b.wav");
    QProcess sox;
    sox.start("sox", {"-n", "-r", "8000", wav, "synth", "65", "sine", "300"});
    ASSERT_TRUE(sox.waitForFinished(60000));
    const CliRun r = RunCli({"media", wav});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "01:05\n");
    EXPECT_EQ(RunCli({"media", t.path("missing.mp3")}).status, 1);
}

TEST(PictureCli, SizebarsDrawsTheChartOfTheTree)
{
    TempTree t;
    t.file("a.txt", 3000);
    t.file("b.txt", 1000);
    t.file("c.doc", 500);
    const QString out = t.path("bars.png");
    const CliRun r = RunCli({"sizebars", "--tree", "ext", t.root(), "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1 page\n");
    EXPECT_EQ(QImage(out).size(), QSize(800, 600));
    const CliRun empty = RunCli({"sizebars", t.folder("none"), "--out", out});
    EXPECT_EQ(empty.out, "nothing to draw\n");
}

TEST(PictureCli, ThumbsAndSizebarsOfABasketFile)
{
    TempTree t;
    QStringList save{"basket", "save", t.path("pics.bsk")};
    for (int i = 0; i < 26; ++i)
        save << t.file(QStringLiteral("p%1.bmp").arg(i), png(QSize(30, 20), Qt::green, Qt::red));
    save << t.file("notes.txt", 10);
    ASSERT_EQ(RunCli(save).status, 0);
    const QString dir = t.path("pages");
    CliRun r = RunCli({"thumbs", "--basket", t.path("pics.bsk"), "--out", dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "26 pictures, 2 pages\n");
    EXPECT_FALSE(QImage(dir + "/page2.png").isNull());

    // One bar per entry, each as long as the entry's size allows.
    ASSERT_EQ(RunCli({"basket", "save", t.path("sizes.bsk"), t.file("a", 4000), t.file("b", 1000),
                      t.file("c", 2000)})
                  .status,
              0);
    const QString out = t.path("bars.png");
    r = RunCli({"sizebars", "--basket", t.path("sizes.bsk"), "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1 page\n");
    const QImage chart(out);
    ASSERT_EQ(chart.size(), QSize(800, 600));
    const int x = 6 + 1500 / 15 + 1; // inside every bar, right of the file labels
    QList<int> lengths;
    for (int y = 1; y < chart.height(); ++y) {
        if (chart.pixelColor(x, y) != QColor(Qt::black) ||
            chart.pixelColor(x, y - 1) == QColor(Qt::black))
            continue;
        int right = x;
        while (right + 1 < chart.width() && chart.pixelColor(right + 1, y) == QColor(Qt::black))
            ++right;
        lengths << right - x;
    }
    ASSERT_EQ(lengths.size(), 3) << "one bar per row";
    std::sort(lengths.begin(), lengths.end());
    EXPECT_GE(lengths[2], 800 - x - 10) << "the largest fills the width";
    EXPECT_NEAR(lengths[0], lengths[2] / 4, 2);
    EXPECT_NEAR(lengths[1], lengths[2] / 2, 2);

    const QString empty =
        t.file("empty.bsk", EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + "\r\n");
    r = RunCli({"sizebars", "--basket", empty, "--out", out});
    EXPECT_EQ(r.out, "nothing to draw\n");
    r = RunCli({"thumbs", "--basket", empty, "--out", dir});
    EXPECT_EQ(r.out, "RadeZazeda is empty\n");
    r = RunCli(
        {"thumbs", "--basket", t.file("plain.bsk", QByteArray("just text\r\n")), "--out", dir});
    EXPECT_EQ(r.status, 1);
}
