#include "common/FuzzSeeds.h"
#include "common/IconFixtures.h"
#include "common/TempTree.h"
#include "formats/IconResources.h"
#include "formats/IconScan.h"
#include "formats/PeResources.h"
#include "platform/Prompts.h"
#include "view/fonts/IconPage.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace iconfixtures;

namespace {

const QRgb Red = qRgb(200, 30, 50);
const QRgb Blue = qRgb(20, 40, 220);

/// Three icons: 16 and 32 pixels, 48 pixels in 4 bits, and a 1-bit 16-pixel one.
QByteArray threeIconProgram()
{
    return peWithIcons({{dibImage(16, 32, Red), dibImage(32, 32, Red)},
                        {dibImage(48, 4, Blue)},
                        {dibImage(16, 1, Blue)}});
}

TEST(PeIcons, EveryIconGroupBecomesAnIcoFileThatQtDecodes)
{
    const QByteArray program = threeIconProgram();
    SaveFuzzSeed("pe_icons", "three_groups", program);
    const QList<QByteArray> icons = ReadIcons(program);
    ASSERT_EQ(icons.size(), 3);

    const QImage first = IconImageForCell(icons[0], 64);
    EXPECT_EQ(first.size(), QSize(32, 32)) << "the largest image that fits the cell";
    EXPECT_EQ(first.pixel(5, 5), Red);
    const QImage second = IconImageForCell(icons[1], 64);
    EXPECT_EQ(second.size(), QSize(48, 48));
    EXPECT_EQ(QColor(second.pixel(47, 0)).rgb(), Blue);
    EXPECT_EQ(IconImageForCell(icons[2], 64).size(), QSize(16, 16));
    // Larger than the cell: shrunk to fit.
    EXPECT_EQ(IconImageForCell(icons[1], 24).size(), QSize(24, 24));
}

TEST(PeIcons, IcoFilesHoldOneIconAndOtherFilesNone)
{
    const QByteArray ico = icoFile({dibImage(32, 8, Red)});
    SaveFuzzSeed("pe_icons", "ico_file", ico);
    ASSERT_EQ(ReadIcons(ico).size(), 1);
    EXPECT_EQ(IconImageForCell(ReadIcons(ico)[0], 64).pixel(0, 31), Red);
    EXPECT_TRUE(
        ReadIcons("plain text that is no program at all, long enough to look at").isEmpty());
    EXPECT_TRUE(ReadIcons({}).isEmpty());
    // A program without icon resources.
    EXPECT_TRUE(ReadIcons(peImage({{16, 1, QByteArray(60, 'v')}})).isEmpty());
}

TEST(PeIcons, DamagedProgramsNeverReadPastTheirEnd)
{
    const QByteArray program = threeIconProgram();
    for (qsizetype cut = 0; cut < program.size(); cut += 13) {
        const QList<QByteArray> icons = ReadIcons(program.left(cut));
        EXPECT_LE(icons.size(), 3);
    }
    // Directory entries that point anywhere: a self-referring subdirectory, huge counts.
    QByteArray loops = program;
    const qsizetype rsrc = 0x200;
    put32(loops, rsrc + 16 + 4, 0x80000000u);
    put16(loops, rsrc + 14, 0xFFFF);
    EXPECT_LE(ReadIcons(loops).size(), 3);
    SaveFuzzSeed("pe_icons", "self_referring", loops);
}

TEST(PeIcons, ResourcesAreFoundByTypeAndId)
{
    const QByteArray image = peImage({{3, 7, "seven"}, {3, 9, "nine!"}, {14, 1, "group"}});
    const PeResources resources(image);
    ASSERT_TRUE(resources.valid());
    ASSERT_EQ(resources.entries(3).size(), 2);
    EXPECT_EQ(resources.entries(3)[1].id, 9u);
    EXPECT_EQ(resources.data(3, 9).value_or(""), QByteArray("nine!"));
    EXPECT_FALSE(resources.data(3, 8).has_value());
    EXPECT_FALSE(PeResources("MZ not really").valid());
}

/// A saved icon as Qt decodes it. The directory states twice the icon's height, which
/// Windows ignores in favour of the image's own header but Qt trusts: halve it first.
QImage DecodeSavedIcon(QByteArray ico)
{
    ico[7] = char(uchar(ico[7]) / 2);
    return QImage::fromData(ico, "ico");
}

/// `count` bytes of filler that the scan must not take for an image.
QByteArray filler(int count)
{
    return QByteArray(count, '\x11');
}

TEST(IconByteScan, AcceptsOnlyHeadersOfIconImages)
{
    const QByteArray good = dibImage(32, 4);
    const QByteArray flat = dibImage(32, 4, Red, 32); // height not twice the width
    QByteArray twoPlanes = dibImage(32, 8);
    put16(twoPlanes, 12, 2);
    const QByteArray sixteenBits = dibImage(16, 16);
    const QByteArray tiny = dibImage(8, 8);
    const QByteArray bytes =
        filler(5) + good + flat + twoPlanes + sixteenBits + tiny + dibImage(16, 24) + filler(50);
    SaveFuzzSeed("icon_scan", "mixed_headers", bytes);
    const QList<qint64> found = FindIconImageOffsets(bytes);
    // 1-based offsets: the good image starts at byte 6.
    const qint64 last =
        6 + good.size() + flat.size() + twoPlanes.size() + sixteenBits.size() + tiny.size();
    EXPECT_EQ(found, (QList<qint64>{6, last}));
    const IconImageHeader header = IconImageHeaderAt(bytes, 6);
    EXPECT_EQ(header.width, 32);
    EXPECT_EQ(header.height, 32);
    EXPECT_EQ(header.bitCount, 4);
}

TEST(IconByteScan, HeadersInTheLast40BytesAreNotCandidates)
{
    const QByteArray image = dibImage(16, 1);
    // The header ends the bytes: i must stay below size - 40.
    EXPECT_TRUE(FindIconImageOffsets(filler(3) + image.left(41)).isEmpty());
    EXPECT_EQ(FindIconImageOffsets(filler(3) + image.left(42)), QList<qint64>{4});
}

TEST(IconByteScan, TheIcoFileHoldsTheImageUpToTheNextOrToTheEnd)
{
    const QByteArray a = dibImage(32, 1);
    const QByteArray b = dibImage(16, 32);
    const QByteArray bytes = filler(9) + a + filler(7) + b + filler(3);
    const QList<qint64> found = FindIconImageOffsets(bytes);
    ASSERT_EQ(found.size(), 2);

    // The icon directory by hand: type 1, one image, 32 wide, twice 32 high (an icon
    // image holds its mask too), two colours at one bit, the image's size, at byte 22.
    const QByteArray first = IcoFileForImage(bytes, found, 1);
    const qint64 firstSize = a.size() + 7;
    QByteArray directory = QByteArray::fromHex("00000100010020400200010001000000000016000000");
    put32(directory, 14, quint32(firstSize));
    EXPECT_EQ(first.left(22), directory);
    EXPECT_EQ(first.mid(22), a + filler(7));

    // The last image takes everything to the end of the file.
    const QByteArray last = IcoFileForImage(bytes, found, 2);
    EXPECT_EQ(last.mid(22), b + filler(3));
    EXPECT_EQ(qFromLittleEndian<quint32>(last.constData() + 14), quint32(b.size() + 3));
    EXPECT_EQ(uchar(last[8]), 0);
    EXPECT_TRUE(IcoFileForImage(bytes, found, 3).isEmpty());
    EXPECT_TRUE(IcoFileForImage(bytes, found, 0).isEmpty());
}

TEST(IconFileScan, TooLargeEmptyAndIconlessFilesSayWhy)
{
    TempTree tree;
    ScriptedPrompts prompts;
    IconFileScan scan;
    EXPECT_FALSE(scan.LoadIconFileBytes(tree.file("big.dll", 5'000'001), prompts));
    EXPECT_TRUE(scan.LoadIconFileBytes(tree.file("limit.dll", 5'000'000), prompts));
    EXPECT_FALSE(scan.LoadIconFileBytes(tree.file("empty.exe", 0), prompts));
    EXPECT_TRUE(scan.LoadIconFileBytes(tree.file("text.exe", "no icons in here at all, "
                                                             "just words and more words"),
                                       prompts));
    EXPECT_FALSE(scan.FindIconImages(prompts));
    EXPECT_TRUE(scan.bytes().isEmpty());
    EXPECT_EQ(prompts.shownTexts(), (QStringList{"file size > 5 MB - too big!",
                                                 "there are no icons associated with this file",
                                                 "there are no icons assocaited with this file"}));
}

TEST(IconFileScan, SavingAsksBeforeReplacingAndWritesADecodableIcon)
{
    TempTree tree;
    const QString program = tree.file("tool.exe", threeIconProgram());
    ScriptedPrompts prompts;
    IconFileScan scan;
    ASSERT_TRUE(scan.LoadIconFileBytes(program, prompts));
    ASSERT_TRUE(scan.FindIconImages(prompts));
    ASSERT_EQ(scan.offsets().size(), 4);

    const QString target = tree.file("saved.ico", "old");
    prompts.answers = {Prompts::Answer::No};
    EXPECT_FALSE(scan.SaveIconFile(2, target, prompts));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, target + " exists\rReplace ?");
    EXPECT_EQ(prompts.shown[0].title, "Icon saving");
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    kept.close();

    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(scan.SaveIconFile(2, target, prompts));
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray written = saved.readAll();
    EXPECT_EQ(written, IcoFileForImage(scan.bytes(), scan.offsets(), 2));
    const QImage icon = DecodeSavedIcon(written);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixel(3, 3), Red);

    EXPECT_FALSE(scan.SaveIconFile(1, tree.path("missing/folder/x.ico"), prompts));
    EXPECT_EQ(prompts.shownTexts().last(), "unable to save icon\r\n" +
                                               tree.path("missing/folder/x.ico") +
                                               ": No such file or directory");
}

TEST(IconPages, SeventyIconsOnThirtyCellsMakeThreePages)
{
    const IconPageLayout layout(70, QSize(6 * 74 + 20, 5 * 74 + 3));
    EXPECT_EQ(layout.columns(), 6);
    EXPECT_EQ(layout.rows(), 5);
    EXPECT_EQ(layout.perPage(), 30);
    EXPECT_EQ(layout.pages(), 3);
    EXPECT_EQ(IconPageLayout(60, QSize(444, 370)).pages(), 2);
    EXPECT_EQ(IconPageLayout(0, QSize(444, 370)).pages(), 0);

    // Page 2 holds icons 61 to 70: the first row and the next four cells.
    EXPECT_EQ(layout.indexAt(2, QPoint(5, 5)), 60);
    EXPECT_EQ(layout.indexAt(2, QPoint(74 * 3 + 60, 74 + 10)), 69);
    EXPECT_EQ(layout.indexAt(2, QPoint(74 * 4 + 1, 74 + 1)), -1);
    EXPECT_EQ(layout.indexAt(0, QPoint(74 * 6 + 1, 1)), -1) << "beyond the last column";
    EXPECT_EQ(layout.cellOrigin(69), QPoint(74 * 3, 74));

    const IconHover on = IconHoverText(layout.indexAt(2, QPoint(74 * 3, 74)), 70);
    EXPECT_EQ(on.message, "icon 70 of 70");
    EXPECT_EQ(on.tag, " 70");
    EXPECT_EQ(IconPageToolTip(on.message), "right click on icon to save");
    const IconHover off = IconHoverText(layout.indexAt(2, QPoint(74 * 5, 74)), 70);
    EXPECT_TRUE(off.message.isEmpty());
    EXPECT_TRUE(IconPageToolTip(off.message).isEmpty());
    EXPECT_TRUE(IconPageToolTip("3 icons").isEmpty());
}

TEST(IconPages, APageDrawsItsIconsInTheirCellsUntilCancelled)
{
    const QList<QByteArray> icons = ReadIcons(threeIconProgram());
    const QSize size(2 * 74, 2 * 74);
    const IconPageLayout layout(3, size);
    const QImage page = DrawIconPage(icons, layout, 0, size, Qt::white, {});
    EXPECT_EQ(page.pixel(31, 31), Red);                     // icon 1 at natural size
    EXPECT_EQ(page.pixel(33, 33), qRgb(255, 255, 255));     // and no larger
    EXPECT_EQ(QColor(page.pixel(74 + 47, 47)).rgb(), Blue); // icon 2 in the next cell
    EXPECT_EQ(page.pixel(66, 10), qRgb(255, 255, 255));     // the gap between cells
    EXPECT_EQ(QColor(page.pixel(5, 74 + 5)).rgb(), Blue);   // icon 3 on the next row

    int asked = 0;
    const QImage cut =
        DrawIconPage(icons, layout, 0, size, Qt::white, [&asked] { return ++asked == 2; });
    EXPECT_EQ(cut.pixel(5, 5), Red);
    EXPECT_EQ(cut.pixel(74 + 5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(asked, 2);
}

} // namespace
