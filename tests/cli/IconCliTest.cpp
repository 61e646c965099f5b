#include "CliRun.h"
#include "common/FontFixtures.h"
#include "common/IconFixtures.h"
#include "common/TempTree.h"
#include "formats/IconScan.h"

#include <gtest/gtest.h>

namespace {

TEST(IconCli, CountsIconsAndSavesAFoundImageOverAnOldFile)
{
    using namespace iconfixtures;
    TempTree t;
    const QByteArray program =
        peWithIcons({{dibImage(16, 4), dibImage(32, 8)}, {dibImage(48, 32)}});
    const QString path = t.file("setup.exe", program);
    const CliRun count = RunCli({"icons", path});
    EXPECT_EQ(count.status, 0) << count.err.toStdString();
    EXPECT_EQ(count.out, "2\n");
    EXPECT_EQ(RunCli({"icons", t.file("notes.txt", "hello")}).out, "0\n");
    const CliRun pipe = RunCli({"icons", t.fifo("pipe.exe")});
    EXPECT_EQ(pipe.status, 1);
    EXPECT_TRUE(pipe.err.contains("not a regular file")) << pipe.err.toStdString();

    const QString out = t.file("icon.ico", "an old file");
    const CliRun save = RunCli({"icons", "--save", "3", path, out});
    EXPECT_EQ(save.status, 0) << save.err.toStdString();
    const QByteArray saved = FileBytes(out);
    EXPECT_EQ(saved, IcoFileForImage(program, FindIconImageOffsets(program), 3));
    EXPECT_TRUE(saved.endsWith(program.right(100))) << "the last image runs to the end";

    const CliRun missing = RunCli({"icons", "--save", "4", path, out});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("not found")) << missing.err.toStdString();
    const CliRun none = RunCli({"icons", "--save", "1", t.file("empty.dll", 0), out});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("there are no icons associated with this file"));
    EXPECT_EQ(RunCli({"icons", "--save", "x", path, out}).status, 2);
}

TEST(IconCli, FontnamePrintsTheFaceName)
{
    TempTree t;
    const QString font =
        t.file("probe.ttf",
               fontfixtures::sfnt(
                   {{"name", fontfixtures::windowsNames("Probe", "Bold", "Probe Sans Bold")}}));
    const CliRun r = RunCli({"fontname", font});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Probe Sans Bold\n");
    // No face name, or no file at all: said so, and not a success.
    const CliRun junk = RunCli({"fontname", t.file("x.ttf", "junk")});
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(junk.out, "");
    EXPECT_TRUE(junk.err.contains("no face name found")) << junk.err.toStdString();
    const CliRun missing = RunCli({"fontname", t.path("gone.ttf")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("No such file or directory")) << missing.err.toStdString();
}

} // namespace
