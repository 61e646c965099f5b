// lumara-cli exits 0 only when it did all it was asked, and says so when it kept a file.
#include "CliRun.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ExitTruthCli, UnzipKeepsAnExistingFileAndSaysSoOrFailsWithTheReason)
{
    TempTree t;
    t.file("src/a.txt", QByteArray("from the zip"));
    t.file("src/line\nbreak.txt", QByteArray("odd"));
    if (!ZipWithTool(t.path("src"), t.path("x.zip"), {"a.txt", "line\nbreak.txt"}))
        GTEST_SKIP() << "zip is not installed";
    const QString old = t.file("out/a.txt", QByteArray("old"));

    const CliRun kept = RunCli({"unzip", t.path("x.zip"), "a.txt", t.path("out")});
    EXPECT_EQ(kept.status, 0) << kept.err.toStdString();
    EXPECT_EQ(kept.out, "kept (it exists; --overwrite replaces it): " + old + "\n");
    EXPECT_EQ(FileBytes(old), "old");

    const CliRun missing = RunCli({"unzip", t.path("x.zip"), "b.txt", t.path("out")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_TRUE(missing.err.contains("holds no entry b.txt")) << missing.err.toStdString();

    // A name holding a line break is printed on one line.
    const CliRun odd = RunCli({"unzip", t.path("x.zip"), "line\nbreak.txt", t.path("out")});
    EXPECT_EQ(odd.status, 0) << odd.err.toStdString();
    EXPECT_EQ(odd.out, t.path("out") + "/line\\nbreak.txt\n");
}

TEST(ExitTruthCli, ZipFailsOverAFileThatIsNoZipAndForAMissingSource)
{
    TempTree t;
    const QString source = t.file("a.txt", QByteArray("a"));
    const QString notZip = t.file("notes.zip", QByteArray("my notes, not a zip"));
    const CliRun over = RunCli({"zip", notZip, source});
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.out, "");
    EXPECT_TRUE(over.err.contains("not a zip archive")) << over.err.toStdString();
    EXPECT_EQ(FileBytes(notZip), "my notes, not a zip");

    const CliRun gone = RunCli({"zip", t.path("new.zip"), source, t.path("gone.txt")});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(gone.err.contains("gone.txt: No such file or directory")) << gone.err.toStdString();
    EXPECT_FALSE(QFile::exists(t.path("new.zip")));
}

TEST(ExitTruthCli, AZipWithoutItsEndRecordIsNotListedInSilence)
{
    TempTree t;
    t.file("src/a.txt", QByteArray(3000, 'a'));
    if (!ZipWithTool(t.path("src"), t.path("whole.zip"), {"a.txt"}))
        GTEST_SKIP() << "zip is not installed";
    const QByteArray whole = FileBytes(t.path("whole.zip"));
    const QString cut = t.file("cut.zip", whole.left(whole.lastIndexOf("PK\x05\x06")));
    const CliRun run = RunCli({"archive", cut});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.contains("nothing listed")) << run.err.toStdString();

    const CliRun good = RunCli({"archive", t.path("whole.zip")});
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    EXPECT_EQ(good.out, "a.txt\n");
}
