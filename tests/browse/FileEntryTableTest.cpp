#include "browse/FileEntryTable.h"

#include <gtest/gtest.h>

namespace {

platform::FileEntry entry(const QString& name, qint64 size)
{
    platform::FileEntry e;
    e.name = name;
    e.size = size;
    return e;
}

} // namespace

TEST(FileEntryTable, FindsEveryEntryAcrossGrowthAndReplaces)
{
    FileEntryTable table;
    EXPECT_EQ(table.find(u"a"), nullptr) << "an empty table finds nothing";
    for (int i = 0; i < 5000; ++i)
        table.insert(entry(QStringLiteral("f%1").arg(i), i));
    table.insert(entry(QStringLiteral("f17"), 99)); // same name: replaced, not added
    EXPECT_EQ(table.size(), 5000);
    for (int i = 0; i < 5000; ++i) {
        const platform::FileEntry* found = table.find(QStringLiteral("f%1").arg(i));
        ASSERT_NE(found, nullptr) << i;
        EXPECT_EQ(found->size, i == 17 ? 99 : i);
    }
    EXPECT_FALSE(table.contains(u"f5000"));
    EXPECT_FALSE(table.contains(u"F1")) << "names are case-sensitive";
    EXPECT_EQ(table.value(u"missing").size, 0);

    table.assign({entry(QStringLiteral("x"), 1), entry(QStringLiteral("y"), 2)});
    EXPECT_EQ(table.size(), 2);
    EXPECT_FALSE(table.contains(u"f1")) << "assign replaces the whole contents";
    EXPECT_EQ(table.value(u"y").size, 2);
    table.clear();
    EXPECT_EQ(table.find(u"x"), nullptr);
}

TEST(FileEntryTable, CopiesChangeApart)
{
    FileEntryTable shown;
    shown.assign({entry("a.txt", 1), entry("b.txt", 2)});
    FileEntryTable copy = shown;
    copy.insert(entry("a.txt", 10));
    copy.insert(entry("c.txt", 3));
    EXPECT_EQ(shown.value(u"a.txt").size, 1);
    EXPECT_FALSE(shown.contains(u"c.txt"));
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(copy.value(u"a.txt").size, 10);
    EXPECT_EQ(copy.size(), 3);
    copy.clear();
    EXPECT_EQ(shown.value(u"b.txt").size, 2) << "clearing a copy leaves the shown table";
    shown.insert(entry("d.txt", 4));
    EXPECT_FALSE(copy.contains(u"d.txt"));
}
