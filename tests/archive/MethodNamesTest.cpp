#include "archive/MethodNames.h"

#include "ArchiveFixtures.h"
#include "archive/ArchiveEntry.h"

#include <gtest/gtest.h>

TEST(MethodNames, ZipMethodsAndTheirOptionBits)
{
    struct Case {
        quint32 method, flags;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "Stored"},
        {1, 0, "Shrunk"},
        {4, 0, "Reduced:3"},
        {2, 0, "Reduced:1"},
        {6, 2, "Imploded:8KDict:2Tree"},
        {6, 4, "Imploded:4KDict:3Tree"},
        {7, 0, "Tokenized"},
        {8, 0, "Deflated:N"},
        {8, 2, "Deflated:X"},
        {8, 4, "Deflated:F"},
        {8, 6, "Deflated:S"},
        {8, 7, "Deflated:S"},
        {9, 0, "EnhDef"},
        {10, 0, "ImplDCL"},
        {12, 0, "Unknown"},
        {99, 0, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZipMethodName(c.method, c.flags), c.text) << c.method << "/" << c.flags;
}

TEST(MethodNames, RarAceAndCab)
{
    EXPECT_EQ(RarMethodName(48, 0), "Stored");
    EXPECT_EQ(RarMethodName(51, 0x40), "Deflated:256Kb");
    EXPECT_EQ(RarMethodName(51, 0), "Deflated:64Kb");
    EXPECT_EQ(RarMethodName(51, 0xE0), "Deflated:8192Kb");
    EXPECT_EQ(RarMethodName(50, 0), "Unknown");
    EXPECT_EQ(AceMethodName(0), "Stored");
    EXPECT_EQ(AceMethodName(1), "Deflated:1024Kb");
    EXPECT_EQ(AceMethodName(2), "Unknown");
    EXPECT_EQ(CabMethodName(0), "None");
    EXPECT_EQ(CabMethodName(1), "MsZip");
    EXPECT_EQ(CabMethodName(0x1503), "Lzx");
    EXPECT_EQ(CabMethodName(2), "");
}

TEST(EntryHelpers, SplitAndDosDates)
{
    QString path, name;
    SplitEntryPath("a\\b/c\\d.txt", path, name);
    EXPECT_EQ(path, "a\\b/");
    EXPECT_EQ(name, "c\\d.txt") << "a \"/\" wins over any \"\\\"";
    SplitEntryPath("x\\y.txt", path, name);
    EXPECT_EQ(path, "x\\");
    SplitEntryPath("plain", path, name);
    EXPECT_EQ(path, "");
    EXPECT_EQ(name, "plain");

    const QDateTime failed(QDate(1980, 1, 1), QTime(3, 0), Qt::UTC);
    EXPECT_EQ(DosDateToDate(0, 0), failed);
    EXPECT_EQ(DosDateToDate(0x5A21, 0xBF7D),
              QDateTime(QDate(2025, 1, 1), QTime(23, 59, 58), Qt::UTC));
    EXPECT_EQ(DosDateToDate(0x0021, 0), QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(DosDateToDate(0x5A5E, 0), failed) << "30 February";
    EXPECT_EQ(DosDateToDate(0x5A21, 0xC000), failed) << "hour 24";
}
