#include "tools/FileInfo.h"

#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

bool ownerWritable(const QString& path)
{
    return QFile::permissions(path).testFlag(QFileDevice::WriteOwner);
}

TEST(FileInfo, GathersLengthTimesTypeAndAttributes)
{
    TempTree tree;
    const QString path = tree.file("report.txt", 1'234'567);
    tree.setModified("report.txt", QDateTime(QDate(2004, 3, 5), QTime(9, 7, 3), QTimeZone::utc()));

    const auto shown = GetFileInfo(path, false);
    ASSERT_TRUE(shown.found);
    const auto& v = shown.values;
    EXPECT_EQ(v[8], QLatin1String("1,234,567"));
    EXPECT_EQ(GetFileInfo(path, true).values[8], QLatin1String("1234567"));
    EXPECT_EQ(v[6], QLatin1String("5/3/2004 9:7:3"));
    EXPECT_EQ(v[5], QLatin1String("5/3/2004"));
    EXPECT_FALSE(v[1].isEmpty());
    EXPECT_FALSE(v[12].isEmpty());
    EXPECT_NE(v[12], QLatin1String("unknown"));
    EXPECT_EQ(v[16], QString()); // Directory stays empty
    EXPECT_EQ(v[17], QLatin1String("False"));
    EXPECT_EQ(v[18], QLatin1String("True")); // nothing set: Normal
    EXPECT_EQ(v[19], QLatin1String("False"));
    EXPECT_FALSE(v[22].isEmpty());
    EXPECT_EQ(DateTimeText(path, 1), QLatin1String("5 Mar 2004 - 9:7:3"));

    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const auto readOnly = GetFileInfo(path, false);
    EXPECT_EQ(readOnly.values[19], QLatin1String("True"));
    EXPECT_EQ(readOnly.values[18], QLatin1String("False"));
    EXPECT_EQ(GetFileInfo(tree.file(".hidden", 1), false).values[17], QLatin1String("True"));
}

TEST(FileInfo, MissingFileGivesEmptyValues)
{
    const auto info = GetFileInfo(QStringLiteral("/nonexistent/lumara/file.txt"), false);
    EXPECT_FALSE(info.found);
    EXPECT_EQ(info.problem, QStringLiteral("No such file or directory"));
    for (const QString& value : info.values)
        EXPECT_TRUE(value.isEmpty());
    EXPECT_TRUE(TimestampName(QStringLiteral("/nonexistent/lumara/file.txt")).isEmpty());
}

TEST(FileInfo, PipesAndHugeFilesShowTheirPropertiesWithoutBeingRead)
{
    TempTree tree;
    // Reading a pipe would wait for a writer for ever: the properties never open it.
    const auto pipe = GetFileInfo(tree.fifo("pipe"), false);
    ASSERT_TRUE(pipe.found);
    EXPECT_EQ(pipe.values[20], QStringLiteral("True")); // System
    const auto huge = GetFileInfo(tree.sparseFile("disk.img", qint64(5) << 30), false);
    ASSERT_TRUE(huge.found);
    EXPECT_EQ(huge.values[8], QStringLiteral("5,368,709,120"));
    const auto odd = GetFileInfo(tree.file("new\nline\tand\\back.txt", 7), true);
    ASSERT_TRUE(odd.found);
    EXPECT_EQ(odd.values[8], QStringLiteral("7"));
}

TEST(FileInfo, TextsOfNamesLengthsAndTimes)
{
    EXPECT_EQ(TimestampNameOf(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 3), QTimeZone::utc())),
              QLatin1String("05Mar2004^09_07_03"));
    EXPECT_EQ(TimestampNameOf(QDateTime(QDate(2019, 12, 31), QTime(23, 59, 0), QTimeZone::utc())),
              QLatin1String("31Dec2019^23_59_00"));
    EXPECT_EQ(GroupedLength(0), QLatin1String("0"));
    EXPECT_EQ(GroupedLength(999), QLatin1String("999"));
    EXPECT_EQ(GroupedLength(1000), QLatin1String("1,000"));
    EXPECT_EQ(GroupedLength(1'234'567), QLatin1String("1,234,567"));
    EXPECT_EQ(AllPropertyCaptions().size(), 23);
}

TEST(FileInfo, ReadOnlyOnAndOffChangesTheOwnerWriteBit)
{
    TempTree tree;
    const QString path = tree.file("doc.txt", 5);
    ScriptedPrompts prompts;

    AttributeChoice choice;
    choice.readOnly = true;
    EXPECT_TRUE(ApplyAttributes(path, choice, prompts));
    EXPECT_FALSE(ownerWritable(path));
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("attributes set for file:\r\n") + path);
    EXPECT_EQ(prompts.shown.last().title, QLatin1String("Varnex"));

    choice.readOnly = false;
    EXPECT_TRUE(ApplyAttributes(path, choice, prompts));
    EXPECT_TRUE(ownerWritable(path));
    EXPECT_TRUE(QFile::exists(path)); // still there, under its own name
}

TEST(FileInfo, AttributesLinuxCannotSetAreReportedNotFaked)
{
    TempTree tree;
    const QString path = tree.file("plain.txt", 5);
    ScriptedPrompts prompts;
    AttributeChoice choice;
    choice.hidden = true;
    choice.archive = true;
    EXPECT_TRUE(ApplyAttributes(path, choice, prompts));
    const QString text = prompts.shown.last().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("attributes set for file:\r\n") + path));
    EXPECT_TRUE(text.contains(QLatin1String("Hidden")));
    EXPECT_TRUE(text.contains(QLatin1String("Archive")));
    EXPECT_FALSE(text.contains(QLatin1String("System")));
    EXPECT_TRUE(QFile::exists(path)); // nothing was renamed
    EXPECT_TRUE(ownerWritable(path));

    EXPECT_FALSE(ApplyAttributes(tree.path("gone.txt"), choice, prompts));
    EXPECT_EQ(prompts.shown.last().text, QLatin1String("error in setting file attributes"));
}

} // namespace
