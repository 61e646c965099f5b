#include "archive/ExtractZipEntry.h"

#include "ArchiveFixtures.h"
#include "common/FileBytes.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ExtractZipEntry, WritesTheEntryAndItsFoldersAndAsksBeforeReplacing)
{
    TempTree t;
    ZipItem windows{"win\\sub\\w.txt", "w"};
    windows.madeBy = 0x000B; // stored on NTFS
    const QByteArray bytes = BuildZip({{"a/b/c.txt", "deep"}, {"top.txt", "new"}, windows});
    SaveFuzzSeed("zip", "extract.zip", bytes);
    SaveFuzzSeed("zip_extract", "extract.zip", bytes);
    const QString zip = t.file("x.zip", bytes);
    const QString dest = t.folder("out");
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(zip, dest, "a/b/c.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(dest + "/a/b/c.txt"), "deep");
    EXPECT_EQ(ExtractZipEntry(zip, dest, "nothere.txt", prompts), ExtractOutcome::NotFound);
    EXPECT_EQ(ExtractZipEntry(zip, dest, "win\\sub\\w.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(dest + "/win/sub/w.txt"), "w");
    EXPECT_TRUE(prompts.shown.isEmpty());

    t.file("out/top.txt", QByteArray("old"));
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Cancel, Prompts::Answer::Yes};
    EXPECT_EQ(ExtractZipEntry(zip, dest, "top.txt", prompts), ExtractOutcome::Skipped);
    EXPECT_EQ(ExtractZipEntry(zip, dest, "top.txt", prompts), ExtractOutcome::Cancelled);
    EXPECT_EQ(FileBytes(dest + "/top.txt"), "old");
    EXPECT_EQ(ExtractZipEntry(zip, dest, "top.txt", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(dest + "/top.txt"), "new");
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown.first().text, "Overwrite top.txt?");
    EXPECT_EQ(prompts.shown.first().kind, "yesnocancel");
    EXPECT_EQ(AllPaths(dest),
              QStringList({"a", "a/b", "a/b/c.txt", "top.txt", "win", "win/sub", "win/sub/w.txt"}))
        << "no temporary file is left";
}

TEST(ExtractZipEntry, NothingIsWrittenOutsideTheDestination)
{
    TempTree t;
    const QString outside = t.folder("outside");
    const QByteArray bytes = BuildZip({{"../evil.txt", "x"},
                                       {(outside + "/abs.txt").toUtf8(), "x"},
                                       {"a/../../evil2.txt", "x"},
                                       ZipLinkItem("out", outside.toUtf8()),
                                       ZipLinkItem("up", "../outside"),
                                       ZipLinkItem("fine", "sub/target.txt"),
                                       {"pre/evil3.txt", "x"}});
    SaveFuzzSeed("zip", "traversal.zip", bytes);
    SaveFuzzSeed("zip_extract", "traversal.zip", bytes);
    const QString zip = t.file("evil.zip", bytes);
    const QString dest = t.folder("dest");
    // A link already in the destination that points out must not be followed.
    ASSERT_TRUE(QFile::link(outside, dest + "/pre"));

    ScriptedPrompts prompts;
    for (const QString& name :
         {QString("../evil.txt"), outside + "/abs.txt", QString("a/../../evil2.txt"),
          QString("out"), QString("up"), QString("pre/evil3.txt")}) {
        prompts.shown.clear();
        EXPECT_EQ(ExtractZipEntry(zip, dest, name, prompts), ExtractOutcome::Refused)
            << name.toStdString();
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown.first().text.contains("would be written outside"));
    }
    EXPECT_TRUE(AllPaths(outside).isEmpty()) << AllPaths(outside).join(" ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(t.path("evil.txt")));
    EXPECT_FALSE(QFileInfo::exists(t.path("evil2.txt")));

    // A link that stays inside is made as a link.
    EXPECT_EQ(ExtractZipEntry(zip, dest, "fine", prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(QFileInfo(dest + "/fine").symLinkTarget(), dest + "/sub/target.txt");
}

TEST(ExtractZipEntry, EncryptedEntryAsksOnceForThePassword)
{
    if (!HasTool("zip"))
        GTEST_SKIP() << "zip missing (scripts/setup.sh test installs it)";
    TempTree t;
    t.file("secret.txt", QByteArray("the secret"));
    ASSERT_TRUE(RunTool(t.root(), "zip", {"-q", "-P", "pw", "locked.zip", "secret.txt"}));
    const QString dest = t.folder("out");
    ScriptedPrompts wrong;
    wrong.texts = {"nope", "pw"};
    EXPECT_EQ(ExtractZipEntry(t.path("locked.zip"), dest, "secret.txt", wrong),
              ExtractOutcome::Failed);
    EXPECT_EQ(wrong.shown.first().text, "Please Enter The Password!");
    EXPECT_EQ(wrong.shown.first().kind, "password") << "the answer is masked as it is typed";
    EXPECT_EQ(wrong.texts, QStringList{"pw"}) << "asked only once";
    EXPECT_FALSE(QFileInfo::exists(dest + "/secret.txt"));

    ScriptedPrompts right;
    right.texts = {"pw"};
    EXPECT_EQ(ExtractZipEntry(t.path("locked.zip"), dest, "secret.txt", right),
              ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(dest + "/secret.txt"), "the secret");
}

TEST(ExtractZipEntry, TellsWhereAnEntryLandsAndReplacesItsOwnCopiesWithoutAsking)
{
    TempTree t;
    if (!ZipWithPython(t.path("w.zip"), {{"win\\style\\back.txt", "back"}, {"./a/./b.txt", "b"}}))
        GTEST_SKIP() << "python3 is missing";
    const QString dest = t.folder("out");
    ScriptedPrompts prompts;
    const QString name = "win\\style\\back.txt";
    EXPECT_EQ(ExtractZipEntry(t.path("w.zip"), dest, name, prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(ExtractedEntryPath(dest, name), dest + "/win/style/back.txt");
    EXPECT_EQ(FileBytes(ExtractedEntryPath(dest + "/", name)), "back");
    EXPECT_EQ(ExtractZipEntry(t.path("w.zip"), dest, "./a/./b.txt", prompts),
              ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(ExtractedEntryPath(dest, "./a/./b.txt")), "b");

    t.file("out/win/style/back.txt", QByteArray("changed"));
    EXPECT_EQ(ExtractZipEntry(t.path("w.zip"), dest, name, prompts, ExistingFile::Replace),
              ExtractOutcome::Extracted);
    EXPECT_EQ(FileBytes(dest + "/win/style/back.txt"), "back");
    EXPECT_TRUE(prompts.shown.isEmpty());

    for (const char* refused : {"../up.txt", "/abs.txt", "", "a/../../x"})
        EXPECT_EQ(ExtractedEntryPath(dest, refused), QString()) << refused;
}
