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
    const QString out = t.path(QStringLiteral("out.png"));
    const CliRun r =
        RunCli({QStringLiteral("picture"), t.file(QStringLiteral("plus.emf"), emfPlusOnly()),
                QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("EMF+"))) << r.out.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(80, 40));
}

TEST(PictureCli, PictureDrawsNaturalSizeOrTurned)
{
    TempTree t;
    const QString source =
        t.file(QStringLiteral("wide picture.bmp"), png(QSize(40, 20), Qt::red, Qt::blue));
    const QString out = t.path(QStringLiteral("out.png"));
    CliRun r = RunCli({QStringLiteral("picture"), source, QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(40, 20));
    r = RunCli({QStringLiteral("picture"), source, QStringLiteral("--rotate"), QStringLiteral("90"),
                QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QImage turned(out);
    ASSERT_EQ(turned.size(), QSize(20, 40));
    EXPECT_EQ(turned.pixelColor(10, 5), QColor(Qt::red)) << "the left half went to the top";
    EXPECT_EQ(turned.pixelColor(10, 35), QColor(Qt::blue));
    r = RunCli({QStringLiteral("picture"), source, QStringLiteral("--rotate"),
                QStringLiteral("-90"), QStringLiteral("--out"), out});
    turned = QImage(out);
    EXPECT_EQ(turned.pixelColor(10, 35), QColor(Qt::red)) << "and to the bottom the other way";
    r = RunCli({QStringLiteral("picture"), source, QStringLiteral("--rotate"), QStringLiteral("45"),
                QStringLiteral("--out"), out});
    EXPECT_EQ(r.status, 2);
    r = RunCli({QStringLiteral("picture"), t.file(QStringLiteral("x.bmp"), QByteArray("no")),
                QStringLiteral("--out"), out});
    EXPECT_EQ(r.status, 1);
}

TEST(PictureCli, ThumbsWritesOnePagePerTwentyFivePictures)
{
    TempTree t;
    for (int i = 0; i < 26; ++i)
        t.file(QStringLiteral("p%1.bmp").arg(i), png(QSize(30, 20), Qt::green, Qt::green));
    t.file(QStringLiteral("notes.txt"), 10);
    const QString dir = t.path(QStringLiteral("pages"));
    const CliRun r = RunCli({QStringLiteral("thumbs"), t.root(), QStringLiteral("--out"), dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("26 pictures, 2 pages\n"));
    const QImage second(dir + QStringLiteral("/page2.png"));
    EXPECT_EQ(second.size(), QSize(1000, 750));
    EXPECT_TRUE(QImage(dir + QStringLiteral("/page3.png")).isNull());
    const CliRun none = RunCli({QStringLiteral("thumbs"), t.folder(QStringLiteral("empty")),
                                QStringLiteral("--out"), dir});
    EXPECT_EQ(none.out, QStringLiteral("There are no picture files\n"));
}

TEST(PictureCli, MediaPrintsTheLength)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
        GTEST_SKIP() << "sox is not installed";
    TempTree t;
    const QString wav = t.path(QStringLiteral("a b.wav"));
    QProcess sox;
    sox.start(QStringLiteral("sox"),
              {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("8000"), wav,
               QStringLiteral("synth"), QStringLiteral("65"), QStringLiteral("sine"),
               QStringLiteral("300")});
    ASSERT_TRUE(sox.waitForFinished(60000));
    const CliRun r = RunCli({QStringLiteral("media"), wav});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("01:05\n"));
    EXPECT_EQ(RunCli({QStringLiteral("media"), t.path(QStringLiteral("missing.mp3"))}).status, 1);
}

TEST(PictureCli, SizebarsDrawsTheChartOfTheTree)
{
    TempTree t;
    t.file(QStringLiteral("a.txt"), 3000);
    t.file(QStringLiteral("b.txt"), 1000);
    t.file(QStringLiteral("c.doc"), 500);
    const QString out = t.path(QStringLiteral("bars.png"));
    const CliRun r = RunCli({QStringLiteral("sizebars"), QStringLiteral("--tree"),
                             QStringLiteral("ext"), t.root(), QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1 page\n"));
    EXPECT_EQ(QImage(out).size(), QSize(800, 600));
    const CliRun empty = RunCli({QStringLiteral("sizebars"), t.folder(QStringLiteral("none")),
                                 QStringLiteral("--out"), out});
    EXPECT_EQ(empty.out, QStringLiteral("nothing to draw\n"));
}

TEST(PictureCli, ThumbsAndSizebarsOfABasketFile)
{
    TempTree t;
    QStringList save{QStringLiteral("basket"), QStringLiteral("save"),
                     t.path(QStringLiteral("pics.bsk"))};
    for (int i = 0; i < 26; ++i)
        save << t.file(QStringLiteral("p%1.bmp").arg(i), png(QSize(30, 20), Qt::green, Qt::red));
    save << t.file(QStringLiteral("notes.txt"), 10);
    ASSERT_EQ(RunCli(save).status, 0);
    const QString dir = t.path(QStringLiteral("pages"));
    CliRun r = RunCli({QStringLiteral("thumbs"), QStringLiteral("--basket"),
                       t.path(QStringLiteral("pics.bsk")), QStringLiteral("--out"), dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("26 pictures, 2 pages\n"));
    EXPECT_FALSE(QImage(dir + QStringLiteral("/page2.png")).isNull());

    // One bar per entry, each as long as the entry's size allows.
    ASSERT_EQ(RunCli({QStringLiteral("basket"), QStringLiteral("save"),
                      t.path(QStringLiteral("sizes.bsk")), t.file(QStringLiteral("a"), 4000),
                      t.file(QStringLiteral("b"), 1000), t.file(QStringLiteral("c"), 2000)})
                  .status,
              0);
    const QString out = t.path(QStringLiteral("bars.png"));
    r = RunCli({QStringLiteral("sizebars"), QStringLiteral("--basket"),
                t.path(QStringLiteral("sizes.bsk")), QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1 page\n"));
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

    const QString empty = t.file(QStringLiteral("empty.bsk"),
                                 EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + "\r\n");
    r = RunCli({QStringLiteral("sizebars"), QStringLiteral("--basket"), empty,
                QStringLiteral("--out"), out});
    EXPECT_EQ(r.out, QStringLiteral("nothing to draw\n"));
    r = RunCli({QStringLiteral("thumbs"), QStringLiteral("--basket"), empty,
                QStringLiteral("--out"), dir});
    EXPECT_EQ(r.out, QStringLiteral("RadeZazeda is empty\n"));
    r = RunCli({QStringLiteral("thumbs"), QStringLiteral("--basket"),
                t.file(QStringLiteral("plain.bsk"), QByteArray("just text\r\n")),
                QStringLiteral("--out"), dir});
    EXPECT_EQ(r.status, 1);
}
