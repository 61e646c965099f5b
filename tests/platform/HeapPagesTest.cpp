#include "platform/HeapPages.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

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
