#include "platform/HeapPages.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

/// The smaps block (its address line and fields) of the mapping holding `address`.
QStringList mappingOf(const void* address)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const auto at = reinterpret_cast<quintptr>(address);
    static const QRegularExpression range(QStringLiteral("^([0-9a-f]+)-([0-9a-f]+) "));
    QStringList block;
    bool inside = false;
    for (const QString& line : QString::fromLatin1(smaps.readAll()).split(u'\n')) {
        const QRegularExpressionMatch m = range.match(line);
        if (m.hasMatch()) {
            if (inside)
                break;
            inside = m.captured(1).toULongLong(nullptr, 16) <= at &&
                     at < m.captured(2).toULongLong(nullptr, 16);
        }
        if (inside)
            block << line;
    }
    return block;
}

/// Resident memory of this process in bytes.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : -1;
}

} // namespace

TEST(HeapPages, HeapIsAdvisedForLargePagesWhereOffered)
{
    QFile thp(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    if (!thp.open(QIODevice::ReadOnly) || thp.readAll().contains("[never]"))
        GTEST_SKIP() << "this kernel offers no large pages";
    platform::preferLargeHeapPages();
    platform::preferLargeHeapPages(); // a second call must do no harm either

    // A block as big as a large listing's arrays, allocated after the call.
    const std::unique_ptr<char, decltype(&std::free)> block(
        static_cast<char*>(std::malloc(8 << 20)), &std::free);
    ASSERT_NE(block, nullptr);
    // Its middle: the first part of the grown heap may lie before a large-page boundary.
    char* middle = block.get() + (4 << 20);
    *middle = 1;
    const QStringList mapping = mappingOf(middle);
    ASSERT_FALSE(mapping.isEmpty());
    if (!mapping.front().endsWith(QStringLiteral("[heap]")))
        GTEST_SKIP() << "this allocator does not hand out blocks from the heap";
    const QStringList flags = mapping.filter(QStringLiteral("VmFlags:"));
    ASSERT_EQ(flags.size(), 1);
    EXPECT_TRUE(flags.front().split(u' ').contains(QStringLiteral("hg")))
        << flags.front().toStdString();
}

TEST(HeapPages, LongRunGivesFreedMemoryBack)
{
    platform::preferLargeHeapPages(platform::HeapUse::LongRun);
    // A big listing's worth of small blocks, touched, then all freed again while a block
    // made after them is still in use (as the window's state always is).
    std::vector<char*> blocks;
    constexpr size_t BlockSize = 4096;
    constexpr size_t Total = size_t(400) << 20;
    blocks.reserve(Total / BlockSize);
    for (size_t i = 0; i < Total / BlockSize; ++i) {
        blocks.push_back(static_cast<char*>(std::malloc(BlockSize)));
        std::memset(blocks.back(), 1, BlockSize);
    }
    const std::unique_ptr<char, decltype(&std::free)> stillUsed(static_cast<char*>(std::malloc(64)),
                                                                &std::free);
    const bool fromHeap = mappingOf(blocks.back()).value(0).endsWith(QStringLiteral("[heap]"));
    const qint64 peak = residentBytes();
    for (char* b : blocks)
        std::free(b);
    blocks = {};
    platform::returnFreedHeap();
    const qint64 after = residentBytes();
    platform::preferLargeHeapPages(); // leave the tests' usual set-up behind
    if (!fromHeap)
        GTEST_SKIP() << "this allocator does not hand out blocks from the heap";
    EXPECT_LT(after, peak - qint64(Total / 2)) << "peak " << peak << " after " << after;
}
