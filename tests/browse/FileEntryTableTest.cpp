#include "browse/FileEntryTable.h"

#include "browse/SharedVector.h"
#include "common/TempTree.h"
#include "platform/ThreadChecks.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>
#include <vector>

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
        const platform::FileDetails* found = table.find(QStringLiteral("f%1").arg(i));
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
    // A copy changes apart, both ways.
    FileEntryTable copy = table;
    copy.clear();
    table.insert(entry(QStringLiteral("z"), 3));
    EXPECT_EQ(table.value(u"y").size, 2) << "clearing a copy leaves the table";
    EXPECT_FALSE(copy.contains(u"z"));
    table.clear();
    EXPECT_EQ(table.find(u"x"), nullptr);
}

TEST(FileEntryTable, LookupsOnSeveralThreadsShareOneIndexAndCopiesStayApart)
{
    std::vector<platform::FileEntry> files;
    for (int i = 0; i < 20000; ++i)
        files.push_back(entry(QStringLiteral("f%1").arg(i), i));
    FileEntryTable shown;
    shown.assign(std::move(files)); // not yet indexed: the first lookups build the index
    std::atomic<int> wrong{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> lookups;
    for (int t = 0; t < 4; ++t)
        lookups.emplace_back([&shown, &wrong, &go, t] {
            while (!go) // all at once, so that they meet the missing index together
                std::this_thread::yield();
            for (int i = t; i < 20000; i += 3) {
                const platform::FileDetails* found = shown.find(QStringLiteral("f%1").arg(i));
                if (!found || found->size != i)
                    ++wrong;
            }
        });
    go = true;
    // A rebuild's copy taken meanwhile, and changed, leaves the shown table as it was.
    FileEntryTable rebuilt = shown;
    rebuilt.insert(entry(QStringLiteral("f1"), -1));
    for (std::thread& lookup : lookups)
        lookup.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(shown.value(u"f1").size, 1);
    EXPECT_EQ(rebuilt.value(u"f1").size, -1);
    EXPECT_EQ(rebuilt.size(), 20000);
}

TEST(FileEntryTable, NamesGivenAloneHaveTheirDetailsReadOnceForEveryCopy)
{
    TempTree tree;
    tree.file("a", 1);
    tree.file("b", 22);
    tree.file(".c", 333);
    FileEntryTable shown;
    shown.assignNames({"a", "b", ".c", "gone"}, tree.root() + "/");
    EXPECT_FALSE(shown.detailsRead());
    EXPECT_TRUE(shown.contains(u"gone")) << "a name needs no details";
    const std::optional<platform::FileEntry> one = shown.lookAtOne(u"b");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->size, 22);
    EXPECT_FALSE(shown.detailsRead()) << "one file looked at alone";

    const FileEntryTable copy = shown;
    const platform::FileDetails* c = copy.find(u".c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->size, 333);
    EXPECT_EQ(c->attributes, platform::FileAttribute::Hidden);
    EXPECT_TRUE(shown.detailsRead()) << "copies share the details read once";
    EXPECT_EQ(shown.value(u"a").size, 1);
    EXPECT_EQ(shown.find(u"gone")->size, 0);

    FileEntryTable changed = copy;
    changed.insert(entry("a", 5));
    EXPECT_EQ(copy.value(u"a").size, 1);
    EXPECT_EQ(changed.value(u"a").size, 5);
    EXPECT_EQ(changed.value(u"b").size, 22);

    changed.keepOnly([](const QString& name, const platform::FileDetails& details) {
        return name != "b" && details.size > 0;
    });
    EXPECT_EQ(changed.names(), (std::vector<QString>{"a", ".c"}));
    EXPECT_EQ(changed.value(u".c").size, 333);
    EXPECT_EQ(copy.size(), 4);
}

TEST(SharedVector, AVectorOnceSharedIsNeverWrittenInPlace)
{
    SharedVector<int> shown;
    shown.write().assign(1000, 7);
    const std::vector<int>* before = &shown.read();
    long seen = 0;
    // The copy is read and dropped on another thread with nothing ordering that before
    // the write below: only a vector of its own may be written then.
    std::thread reader([copy = shown, &seen]() mutable {
        seen = std::accumulate(copy.read().begin(), copy.read().end(), 0L);
        copy.reset();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shown.write()[0] = 8;
    reader.join();
    EXPECT_EQ(seen, 7000);
    EXPECT_NE(&shown.read(), before) << "written in place after it was shared";
    EXPECT_EQ(shown.read()[0], 8);
    // Unshared, it is written in place.
    const std::vector<int>* own = &shown.read();
    shown.write()[1] = 9;
    EXPECT_EQ(&shown.read(), own);
}

#ifndef QT_NO_DEBUG
TEST(ExclusiveWritesDeathTest, AWriterWhileAnotherThreadReadsFailsAnAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            platform::ExclusiveWrites check;
            std::atomic<bool> inside{false};
            std::atomic<bool> leave{false};
            std::thread reader([&] {
                const platform::ExclusiveWrites::Reading reading(check);
                inside = true;
                while (!leave)
                    std::this_thread::yield();
            });
            while (!inside)
                std::this_thread::yield();
            const platform::ExclusiveWrites::Writing writing(check);
            leave = true;
            reader.join();
        },
        "written while another thread uses it");
}
#endif
