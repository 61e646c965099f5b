#include "view/text/TextSlices.h"

#include "common/TempTree.h"

#include <gtest/gtest.h>

namespace {

QString readAll(TextSlices& slices, qint64 step)
{
    QString text;
    while (!slices.atEnd())
        text += slices.next(step);
    return text;
}

} // namespace

TEST(TextSlices, CharactersCutBySlicesComeOutWhole)
{
    TempTree tree;
    // "é" is two bytes, "€" three: slices of 1 to 4 bytes cut them everywhere.
    const QString text = QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC 12\r\nend");
    const QString path = tree.file("utf8.txt", text.toUtf8());
    for (qint64 step = 1; step <= 4; ++step) {
        TextSlices slices(path, 1 << 20);
        EXPECT_EQ(readAll(slices, step), text) << step;
        EXPECT_FALSE(slices.cut());
    }
}

TEST(TextSlices, EncodingIsChosenFromTheFirstSlice)
{
    TempTree tree;
    TextSlices ansi(tree.file("ansi.txt", QByteArray("caf\xE9 \x80")), 1 << 20);
    EXPECT_EQ(readAll(ansi, 3), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    TextSlices marked(tree.file("bom.txt", QByteArray("\xEF\xBB\xBFhi")), 1 << 20);
    EXPECT_EQ(readAll(marked, 2), "hi");
    TextSlices wide(tree.file("utf16.txt", QByteArray("\xFF\xFEh\0i\0", 6)), 1 << 20);
    EXPECT_EQ(readAll(wide, 1), "hi");
    TextSlices missing(tree.path("none.txt"), 1 << 20);
    EXPECT_TRUE(missing.atEnd());
    EXPECT_EQ(missing.next(10), QString());
}

TEST(TextSlices, StopsAtTheLimit)
{
    TempTree tree;
    const QString path = tree.file("big.txt", 10'000);
    TextSlices slices(path, 4'096);
    EXPECT_EQ(readAll(slices, 1'000).size(), 4'096);
    EXPECT_TRUE(slices.cut());
    EXPECT_EQ(slices.size(), 10'000);
    TextSlices whole(path, 10'000);
    EXPECT_EQ(readAll(whole, 3'000).size(), 10'000);
    EXPECT_FALSE(whole.cut());
}
