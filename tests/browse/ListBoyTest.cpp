#include "browse/ListBoy.h"

#include "common/TempTree.h"
#include "common/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

ListBoy listOf(std::initializer_list<const char*> texts)
{
    ListBoy l;
    for (const char* t : texts)
        l.Additem(QString::fromUtf8(t));
    return l;
}

} // namespace

TEST(ListBoy, AddItemIndexRules)
{
    struct Case {
        int index;
        QStringList expected;
    };
    const Case cases[] = {
        {0, {"new", "a", "b", "c"}},
        {-5, {"new", "a", "b", "c"}},
        {2, {"a", "b", "new", "c"}},
        {3, {"a", "b", "c"}}, // at ListCount: nothing is added
    };
    for (const Case& c : cases) {
        ListBoy l = listOf({"a", "b", "c"});
        l.Additem("new", c.index);
        EXPECT_EQ(l.texts(), c.expected) << "index " << c.index;
        EXPECT_EQ(l.ListCount(), c.expected.size());
    }
    ListBoy empty;
    empty.Additem("only", 0);
    EXPECT_EQ(empty.texts(), QStringList{"only"});
    EXPECT_EQ(empty.GetItemData(0), 0);
}

TEST(ListBoy, RemoveUpdateAndOutOfRangeIndexes)
{
    ListBoy l = listOf({"a", "b", "c"});
    l.SetItemData(1, 42);
    l.RemoveItem(0);
    EXPECT_EQ(l.texts(), (QStringList{"b", "c"}));
    EXPECT_EQ(l.GetItemData(0), 42);
    l.UpdateText(0, "bee");
    EXPECT_EQ(l.list(0), "bee");
    EXPECT_EQ(l.GetItemData(0), 42) << "UpdateText keeps the item data";

    for (int bad : {-1, 2, 100}) {
        l.RemoveItem(bad);
        l.UpdateText(bad, "x");
        l.SetItemData(bad, 7);
        EXPECT_EQ(l.list(bad), "");
        EXPECT_EQ(l.GetItemData(bad), 0);
    }
    EXPECT_EQ(l.texts(), (QStringList{"bee", "c"}));

    l.RemoveItem(0);
    l.RemoveItem(0);
    EXPECT_EQ(l.ListCount(), 0);
    l.Additem("again");
    l.Clear();
    EXPECT_EQ(l.ListCount(), 0);
}

TEST(ListBoy, CopiesChangeApart)
{
    ListBoy shown;
    shown.CopyFromList({"b", "a", "c"});
    ListBoy sorted = shown;
    sorted.SortAscending();
    sorted.SetItemData(0, 7);
    ListBoy cleared = shown;
    cleared.Clear();
    shown.Additem("d");
    EXPECT_EQ(shown.texts(), QStringList({"b", "a", "c", "d"}));
    EXPECT_EQ(shown.GetItemData(0), 0);
    EXPECT_EQ(sorted.texts(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(sorted.GetItemData(0), 7);
    EXPECT_EQ(cleared.ListCount(), 0);
    cleared.Additem("x", 0);
    EXPECT_EQ(cleared.texts(), QStringList({"x"}));
}

TEST(ListBoy, TabsInItemTextAndColumns)
{
    ListBoy l;
    l.Additem("name.txt\t1024\t2026-01-05");
    l.SetItemData(0, 77);
    EXPECT_EQ(l.list(0), "name.txt\t1024\t2026-01-05");
    EXPECT_EQ(l.list(0, 1), "name.txt");
    EXPECT_EQ(l.list(0, 2), "1024");
    EXPECT_EQ(l.list(0, 3), "2026-01-05");
    EXPECT_EQ(l.list(0, 4), "77") << "the item data is the last field";
    EXPECT_EQ(l.list(0, 5), "");
    EXPECT_EQ(l.GetItemData(0), 77);
    l.SetItemData(0, 123456789012.0);
    EXPECT_EQ(l.GetItemData(0), 123456789012.0);
    EXPECT_EQ(l.list(0), "name.txt\t1024\t2026-01-05");
}

TEST(ListBoy, SortsByWholeLineAndByItemData)
{
    ListBoy l = listOf({"b", "a", "B", "c", "a"});
    l.SortAscending();
    EXPECT_EQ(l.texts(), (QStringList{"B", "a", "a", "b", "c"})) << "case-sensitive codes";
    l.SortDescending();
    EXPECT_EQ(l.texts(), (QStringList{"c", "b", "a", "a", "B"}));

    // By item data the numbers count, not their text.
    ListBoy d = listOf({"ten", "nine", "hundred"});
    d.SetItemData(0, 10);
    d.SetItemData(1, 9);
    d.SetItemData(2, 100);
    d.SortItemDataAscending();
    EXPECT_EQ(d.texts(), (QStringList{"nine", "ten", "hundred"}));
    EXPECT_EQ(d.GetItemData(0), 9);
    EXPECT_EQ(d.GetItemData(2), 100);
    d.SortItemDataDescending();
    EXPECT_EQ(d.texts(), (QStringList{"hundred", "ten", "nine"}));
}

TEST(ListBoy, SortHandlesSortedReversedAndEqualInputs)
{
    // Already sorted, reversed and all-equal inputs: the usual worst cases of a quicksort.
    const int n = 100000;
    ListBoy sorted, reversed, equal;
    for (int i = 0; i < n; ++i) {
        const QString t = QStringLiteral("f%1").arg(i, 6, 10, QChar(u'0'));
        sorted.Additem(t);
        reversed.Additem(QStringLiteral("f%1").arg(n - 1 - i, 6, 10, QChar(u'0')));
        equal.Additem("same");
    }
    sorted.SortAscending();
    reversed.SortAscending();
    equal.SortDescending();
    const QStringList a = sorted.texts();
    EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
    EXPECT_EQ(reversed.texts(), a);
    EXPECT_EQ(equal.ListCount(), n);
    EXPECT_EQ(equal.list(n - 1), "same");
}

TEST(ListBoy, SortMatchesSortingTheBuiltLines)
{
    // Short texts sharing prefixes, with TABs, low codes and item data, so the order is
    // decided in every part of a line: the shared prefix, the text, the TAB, the data.
    std::mt19937 random(7);
    const QString letters = QStringLiteral("aab\t\x01Z9");
    for (int round = 0; round < 20; ++round) {
        ListBoy l;
        QStringList lines;
        for (int i = 0; i < 300; ++i) {
            QString text = QStringLiteral("pre");
            for (int k = int(random() % 7); k > 0; --k)
                text += letters[int(random() % letters.size())];
            const double data = double(random() % 20);
            l.Additem(text);
            l.SetItemData(l.ListCount() - 1, data);
            lines << text + u'\t' + QString::number(data);
        }
        const bool descending = round % 2 == 1;
        descending ? l.SortDescending() : l.SortAscending();
        std::sort(lines.begin(), lines.end());
        if (descending)
            std::reverse(lines.begin(), lines.end());
        QStringList got;
        for (int i = 0; i < l.ListCount(); ++i)
            got << l.list(i) + u'\t' + QString::number(l.GetItemData(i));
        ASSERT_EQ(got, lines) << "round " << round;
    }
}

TEST(ListBoy, FindCaseRulesColumnsAndDirections)
{
    ListBoy l = listOf({"readme.txt", "notes.TXT", "photo.jpg", "draft.txt"});
    EXPECT_EQ(l.Find("*.TXT"), 0);
    EXPECT_EQ(l.Find("*.TXT", 0, false, 0, true), 1);
    EXPECT_EQ(l.Find("*.txt", 0, true), 3) << "downward from the end";
    EXPECT_EQ(l.Find("*.txt", 0, false, 2), 3) << "start index replaces the start";
    EXPECT_EQ(l.Find("*.txt", 0, true, 2), 1);
    EXPECT_EQ(l.Find("*.png"), -1);
    EXPECT_EQ(l.Find("*", 0, false, 4), -1) << "start out of range";
    EXPECT_EQ(l.Find("*", 0, false, -1), -1);
    EXPECT_EQ(ListBoy().Find("*"), -1);

    ListBoy cols;
    cols.Additem("a.txt\tDOC");
    cols.Additem("b.jpg\tPIC");
    EXPECT_EQ(cols.Find("pic", 2), 1);
    EXPECT_EQ(cols.Find("b*", 1), 1);
    EXPECT_EQ(cols.Find("a.txt"), -1) << "the item text includes every field";

    l.SetItemData(2, 5);
    l.SetItemData(3, 5);
    EXPECT_EQ(l.FindItemData(5), 2);
    EXPECT_EQ(l.FindItemData(5, 0, true), 3);
    EXPECT_EQ(l.FindItemData(6), -1);
    EXPECT_EQ(l.FindItemData(0, 9), -1);
}

TEST(ListBoy, SaveAndLoadRoundTrip)
{
    TempTree tree;
    const QString path = tree.path("list.txt");
    ListBoy l = listOf({"first", "with\ttab", "", "ünïcode ☃"});
    l.SetItemData(0, 9);
    ASSERT_TRUE(l.SaveFile(path));
    l.Clear();
    ASSERT_TRUE(l.LoadFile(path));
    EXPECT_EQ(l.texts(), (QStringList{"first", "with\ttab", "", "ünïcode ☃"}));
    for (int i = 0; i < l.ListCount(); ++i)
        EXPECT_EQ(l.GetItemData(i), 0);

    // Loading appends, and CR LF files load without the CR.
    tree.file("crlf.txt", QByteArray("one\r\ntwo\r\n"));
    ASSERT_TRUE(l.LoadFile(tree.path("crlf.txt")));
    EXPECT_EQ(l.ListCount(), 6);
    EXPECT_EQ(l.list(4), "one");
    EXPECT_EQ(l.list(5), "two");

    EXPECT_FALSE(l.LoadFile(tree.path("missing.txt")));
    EXPECT_EQ(l.ListCount(), 6);
    EXPECT_FALSE(l.SaveFile(tree.path("no/such/folder/x.txt")));

    // A failed save leaves the old file whole.
    ASSERT_TRUE(listOf({"keep"}).SaveFile(path));
    tree.openRootToOthers(); // readable and enterable, but only its owner may write
    EXPECT_TRUE(RunUnprivileged([&] { return !listOf({"lost"}).SaveFile(path); }));
    ListBoy back;
    ASSERT_TRUE(back.LoadFile(path));
    EXPECT_EQ(back.texts(), QStringList{"keep"});
    EXPECT_TRUE(QDir(tree.root()).entryList({"list.txt.*"}, QDir::Files).isEmpty())
        << "a failed save left its new file behind";
}
