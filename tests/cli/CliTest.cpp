#include "CliRun.h"
#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "platform/FileNames.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(Cli, ListPrintsTheCopyListTextWithLineFeeds)
{
    TempTree t;
    t.file("b.txt", 2);
    t.file("A.doc", 1);
    t.file(".hidden", 1);
    const CliRun plain = RunCli({"list", t.root()});
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, t.root() + "\n        A.doc\n        b.txt\n");

    const CliRun hidden = RunCli({"list", "--hidden", t.root()});
    EXPECT_TRUE(hidden.out.contains("        .hidden\n"));
    // The names come from the list, not from a node per file; the placeholder is a node.
    EXPECT_EQ(RunCli({"list", "--pattern", "*.doc", t.root()}).out, t.root() + "\n        A.doc\n");
    EXPECT_EQ(RunCli({"list", "--pattern", "*.none", t.root()}).out,
              t.root() + "\n        no files\n");

    const CliRun grouped = RunCli({"list", "--tree", "ext", t.root()});
    EXPECT_EQ(grouped.out,
              t.root() +
                  "\n        .DOC\n                A.doc\n        .TXT\n                b.txt\n");
}

TEST(Cli, StatsPrintsTheSizeTableOfTheTreeRoot)
{
    TempTree t;
    t.file("a.TXT", 100);
    t.file("b.TXT", 200);
    t.file("c.TXT", 300);
    t.file("d.DOC", 400);
    const CliRun r = RunCli({"stats", "--tree", "ext", t.root()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Count\tExt\tTotal\tMin\tMax\t%Count\t%Size\n"
                     "1\tDOC\t400\t400\t400\t25. \t40. \n"
                     "3\tTXT\t600\t100\t300\t75. \t60. \n");
}

TEST(Cli, SmallCommandsAndBadInput)
{
    const CliRun sizes = RunCli({"sizetext", "1023", "1536", "2147483648"});
    EXPECT_EQ(sizes.out, "1023 bytes\n1.5 Kb\n2 Gb\n");
    const CliRun kinds = RunCli({"kind", "a.doc", "b.JPEG", "c.pcx"});
    EXPECT_EQ(kinds.out, "a.doc\t-1\nb.JPEG\t1\nc.pcx\t-8\n");

    // Mistakes go to stderr with a failing status, never to stdout.
    for (const QStringList& bad :
         {QStringList{"list", "/no/such/folder"}, QStringList{"list", "--tree", "sideways", "/"},
          QStringList{"sizetext", "many"}, QStringList{"sizetext", "nan"},
          QStringList{"sizetext", "inf"}, QStringList{"sizetext", "-1"},
          QStringList{"frobnicate"}}) {
        const CliRun r = RunCli(bad);
        EXPECT_NE(r.status, 0) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << bad.join(' ').toStdString();
    }
}

TEST(Cli, SysinfoReportsThisMachine)
{
    const CliRun run = RunCli({"sysinfo"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split("\r\n");
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines[1], "        System Sofware/Hardware");
    // Real figures: memory from the kernel, at least the root volume.
    const QString total = lines.filter("Total RAM            = ").value(0);
    EXPECT_GT(total.section('=', 1).trimmed().section(' ', 0, 0).toLongLong(), 0)
        << total.toStdString();
    EXPECT_FALSE(lines.filter("Disk /").isEmpty());
}

TEST(Cli, NamesWithLineBreaksStayOnOneLineAndErrorsNameTheirCommand)
{
    TempTree t;
    t.file("two\nlines.txt", 1);
    t.file("tab\there.txt", 2);
    t.file("back\\slash.txt", 3);
    t.file("plain name.txt", 4);
    t.file(platform::decodeFileName("caf\xe9.txt"), 5); // Latin-1, not UTF-8
    const CliRun stats = RunCli({"stats", "--tree", "ext", t.root()});
    EXPECT_EQ(stats.out.count('\n'), 2) << stats.out.toStdString();
    const CliRun files = RunCli({"stats", t.root()});
    EXPECT_TRUE(files.out.contains("two\\nlines.txt\t")) << files.out.toStdString();
    EXPECT_TRUE(files.out.contains("caf\\351.txt\t")) << files.out.toStdString();
    EXPECT_EQ(files.out.count('\n'), 6) << files.out.toStdString();
    // Rows go out one by one, yet each keeps the table's three cells: a TAB inside a name
    // splits it there and the size falls off the row, as in the window's table.
    for (const QString& line : files.out.split('\n', Qt::SkipEmptyParts))
        EXPECT_EQ(line.count('\t'), 2) << line.toStdString();
    EXPECT_TRUE(files.out.contains("\ttab\there.txt\n")) << files.out.toStdString();
    EXPECT_TRUE(files.out.contains("\tback\\\\slash.txt\t3\n")) << files.out.toStdString();

    const CliRun bad = RunCli({"stats", "--tree", "sideways", t.root()});
    EXPECT_TRUE(bad.err.startsWith("lumara-cli stats: ")) << bad.err.toStdString();
    const CliRun badList = RunCli({"list", "--pattern"});
    EXPECT_TRUE(badList.err.startsWith("lumara-cli list: ")) << badList.err.toStdString();
    EXPECT_TRUE(RunCli({"--help"}).out.contains("ls -b"));
}

TEST(Cli, OptionsPrintWhatTheDialogWouldStore)
{
    const CliRun black = RunCli({"options", "colour", "0", "0", "0"});
    EXPECT_EQ(black.status, 0);
    EXPECT_EQ(black.out, "1, 1, 1\n");
    EXPECT_EQ(RunCli({"options", "colour", "0", "0", "1"}).out, "0, 0, 1\n");
    EXPECT_EQ(RunCli({"options", "colour", "0", "300", "1"}).status, 2);

    const CliRun sizes = RunCli({"options", "size", "47", "left", "right", "left"});
    EXPECT_EQ(sizes.out, "Size 47.\nrefused\nSize 45.5\nSize 47.\n");

    const QStringList swatches =
        RunCli({"options", "swatches"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(swatches.size(), 32);
    EXPECT_EQ(swatches[7], "7\tGREY\t192, 192, 192");
    EXPECT_EQ(swatches[31], "31\tBUTTON_TEXT\tsystem colour 18");

    TempTree t;
    const CliRun good = RunCli({"options", "tempdir", t.path("work")});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, t.path("work/") + "\n");
    const CliRun bad = RunCli({"options", "tempdir", "/x"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "incorrect directory name\n");
}

TEST(Cli, ListOfAnUnreadableFolderSaysWhyAndFails)
{
    TempTree t;
    const QString locked = t.unreadableFolder("locked");
    t.openRootToOthers();
    // Root reads any folder: run the command as an ordinary user then. setpriv keeps
    // root's rights only up to its own start of the program, and the build folder may be
    // closed to others, so it starts the program that lists rather than the front.
    QProcess p;
    if (RunningAsRoot()) {
        p.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", LUMARA_CLI_ALL,
                            "list", locked});
    } else {
        p.start(LUMARA_CLI, {"list", locked});
    }
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()),
              "lumara-cli list: cannot read " + locked + ": Permission denied\n");
}
