#include "archive/MethodNames.h"

#include "ArchiveFixtures.h"
#include "archive/ArchiveEntry.h"

#include <gtest/gtest.h>

TEST(MethodNames, OptionBitsAndDictionarySizes)
{
    EXPECT_EQ(ZipMethodName(8, 6), "Deflated:S");
    EXPECT_EQ(ZipMethodName(8, 7), "Deflated:S") << "bit 0 (encryption) is no option";
    EXPECT_EQ(ZipMethodName(6, 2), "Imploded:8KDict:2Tree");
    EXPECT_EQ(ZipMethodName(4, 0), "Reduced:3");
    EXPECT_EQ(ZipMethodName(12, 0), "Unknown");
    EXPECT_EQ(RarMethodName(51, 0x40), "Deflated:256Kb");
    EXPECT_EQ(RarMethodName(51, 0xE0), "Deflated:8192Kb");
    EXPECT_EQ(RarMethodName(50, 0), "Unknown");
    EXPECT_EQ(CabMethodName(0x1503), "Lzx") << "high bits of the compression type ignored";
    EXPECT_EQ(CabMethodName(2), "");
}

TEST(EntryHelpers, SplitAndDosDates)
{
    QString path, name;
    SplitEntryPath("a\\b/c\\d.txt", path, name);
    EXPECT_EQ(path, "a\\b/");
    EXPECT_EQ(name, "c\\d.txt") << "a \"/\" wins over any \"\\\"";
    SplitEntryPath("plain", path, name);
    EXPECT_EQ(path, "");
    EXPECT_EQ(name, "plain");

    const QDateTime failed(QDate(1980, 1, 1), QTime(3, 0), Qt::UTC);
    EXPECT_EQ(DosDateToDate(0, 0), failed);
    EXPECT_EQ(DosDateToDate(0x5A21, 0xBF7D),
              QDateTime(QDate(2025, 1, 1), QTime(23, 59, 58), Qt::UTC));
    EXPECT_EQ(DosDateToDate(0x5A5E, 0), failed) << "30 February";
    EXPECT_EQ(DosDateToDate(0x5A21, 0xC000), failed) << "hour 24";
}
