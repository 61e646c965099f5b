#include "shared/TextHelpers.h"

#include <gtest/gtest.h>

TEST(SizeText, UnitsAndTrailingZeros)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0 bytes"},         {1023, "1023 bytes"},     {1024, "1 Kb"},
        {1536, "1.5 Kb"},       {1048576, "1 Mb"},        {1288490, "1.229 Mb"},
        {2147483648.0, "2 Gb"}, {1024 * 1.25, "1.25 Kb"}, {1099511627776.0, "1024 Gb"},
    };
    for (const auto& [size, text] : cases)
        EXPECT_EQ(SizeText(size), QString::fromLatin1(text)) << size;
}

TEST(ExtensionOf, LastDotUpperCaseOrSpace)
{
    EXPECT_EQ(ExtensionOf("notes.txt"), ".TXT");
    EXPECT_EQ(ExtensionOf("backup.tar.gz"), ".GZ");
    EXPECT_EQ(ExtensionOf("Makefile"), " ");
    EXPECT_EQ(ExtensionOf(".bashrc"), ".BASHRC");
    EXPECT_EQ(ExtensionOf("trailing."), ".");
}

TEST(PathHelpers, NamesRootsAndNumbers)
{
    EXPECT_EQ(NameAfterLastBackslash("/home/a/b.txt"), "b.txt");
    EXPECT_EQ(NameAfterLastBackslash("plain"), "plain");
    EXPECT_EQ(CutAtNul(QString("abc") + QChar(0) + "def"), "abc");
    EXPECT_EQ(RootText("/"), "/");
    EXPECT_EQ(RootText("/home/"), "/home");
    EXPECT_EQ(RootText("/ab/"), "/ab");
    EXPECT_EQ(RootText("/a/"), "/a/");
    EXPECT_EQ(NumText(5), " 5");
    EXPECT_EQ(NumText(-3), "-3");
    EXPECT_EQ(MonthNames().at(11), "Dec");
}
