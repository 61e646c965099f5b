// Extraction that cannot be turned against the user: links resolved against what the
// destination already holds, entries bounded in size, nothing left behind on failure.
#include "ArchiveFixtures.h"
#include "archive/ExtractZipEntry.h"
#include "common/FileBytes.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(ExtractBounds, ALinkChainThroughAnEarlierLinkIsRefused)
{
    TempTree t;
    // d/y -> ".." stays inside; x -> "d/y/.." looks inside by its text, but through the
    // link d/y it names the destination's parent.
    const QString zip = t.file("chain.zip", BuildZip({{"d/", {}},
                                                      ZipLinkItem("d/y", ".."),
                                                      ZipLinkItem("x", "d/y/.."),
                                                      ZipLinkItem("later", "gone/.."),
                                                      ZipLinkItem("fine", "d/y/d")}));
    const QString dest = t.folder("dest");
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(zip, dest, "d/y", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(ExtractZipEntry(zip, dest, "x", prompts), ExtractOutcome::Refused);
    EXPECT_FALSE(QFileInfo(dest + "/x").isSymLink());
    // ".." after a name not there yet: a later entry could make that name a link.
    EXPECT_EQ(ExtractZipEntry(zip, dest, "later", prompts), ExtractOutcome::Refused);
    EXPECT_EQ(ExtractZipEntry(zip, dest, "fine", prompts), ExtractOutcome::Extracted);
}

TEST(ExtractBounds, ReplacingAPlantedLinkLeavesTheFileItPointsToAlone)
{
    TempTree t;
    const QString secret = t.file("outside/secret.txt", QByteArray("keep me"));
    ASSERT_EQ(::chmod(secret.toUtf8().constData(), 0400), 0);
    const QString zip = t.file("x.zip", BuildZip({{"a.txt", "from the zip"}}));
    const QString dest = t.folder("dest");
    ASSERT_TRUE(QFile::link(secret, dest + "/a.txt"));
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_EQ(ExtractZipEntry(zip, dest, "a.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_FALSE(QFileInfo(dest + "/a.txt").isSymLink());
    EXPECT_EQ(FileBytes(secret), "keep me");
    EXPECT_EQ(ModeOf(secret), 0400u);
}

TEST(ExtractBounds, AnEntryPastTheRatioLimitIsStoppedAndLeavesNothing)
{
    if (!HasTool("zip"))
        GTEST_SKIP() << "zip missing (scripts/setup.sh test installs it)";
    TempTree t;
    // 16 MB of zeros packs into a few KB: a small zip bomb, judged by lowered limits.
    t.file("src/deep/er/zeros.bin", QByteArray(16 << 20, '\0'));
    ASSERT_TRUE(RunTool(t.path("src"), "zip", {"-q", "-r", "../bomb.zip", "deep"}));
    const QString dest = t.folder("dest");
    ExtractLimits limits;
    limits.huge = ExtractLimits::Huge::Refuse;
    limits.ratioFloor = 1 << 20;
    limits.ratio = 50;
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(t.path("bomb.zip"), dest, "deep/er/zeros.bin", prompts,
                              ExistingFile::Ask, limits),
              ExtractOutcome::Failed);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().text.contains("times its packed size"))
        << prompts.shown.last().text.toStdString();
    EXPECT_EQ(AllPaths(dest), QStringList()) << "no partial file and no folder it made";

    // The window asks; a Yes lets it through.
    ScriptedPrompts window;
    window.answers = {Prompts::Answer::Yes};
    limits.huge = ExtractLimits::Huge::Ask;
    EXPECT_EQ(ExtractZipEntry(t.path("bomb.zip"), dest, "deep/er/zeros.bin", window,
                              ExistingFile::Ask, limits),
              ExtractOutcome::Extracted);
    EXPECT_EQ(QFileInfo(dest + "/deep/er/zeros.bin").size(), 16 << 20);
}

TEST(ExtractBounds, AFailedDeepEntryRemovesTheFoldersItMadeAndSaysWhy)
{
    TempTree t;
    QByteArray deep;
    for (int i = 0; i < 40; ++i)
        deep += QByteArray(100, char('a' + i % 26)) + '/';
    deep += "leaf.txt";
    const QString zip = t.file("deep.zip", BuildZip({{deep, "x"}}));
    const QString dest = t.folder("dest");
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(zip, dest, QString::fromUtf8(deep), prompts), ExtractOutcome::Failed);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().text.contains("File name too long"))
        << prompts.shown.last().text.toStdString();
    EXPECT_EQ(AllPaths(dest), QStringList());
}
