#include "common/TempTree.h"
#include "common/Unprivileged.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(LUMARA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Cli, ListPrintsTheCopyListTextWithLineFeeds)
{
    TempTree t;
    t.file("b.txt", 2);
    t.file("A.doc", 1);
    t.file(".hidden", 1);
    const CliRun plain = cli({"list", t.root()});
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, t.root() + "\n        A.doc\n        b.txt\n");

    const CliRun hidden = cli({"list", "--hidden", t.root()});
    EXPECT_TRUE(hidden.out.contains("        .hidden\n"));

    const CliRun grouped = cli({"list", "--tree", "ext", t.root()});
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
    const CliRun r = cli({"stats", "--tree", "ext", t.root()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Count\tExt\tTotal\tMin\tMax\t%Count\t%Size\n"
                     "1\tDOC\t400\t400\t400\t25. \t40. \n"
                     "3\tTXT\t600\t100\t300\t75. \t60. \n");
}

TEST(Cli, SmallCommandsAndBadInput)
{
    const CliRun sizes = cli({"sizetext", "1023", "1536", "2147483648"});
    EXPECT_EQ(sizes.out, "1023 bytes\n1.5 Kb\n2 Gb\n");
    const CliRun kinds = cli({"kind", "a.doc", "b.JPEG", "c.pcx"});
    EXPECT_EQ(kinds.out, "a.doc\t-1\nb.JPEG\t0\nc.pcx\t-8\n");

    // Mistakes go to stderr with a failing status, never to stdout.
    for (const QStringList& bad :
         {QStringList{"list", "/no/such/folder"}, QStringList{"list", "--tree", "sideways", "/"},
          QStringList{"sizetext", "many"}, QStringList{"sizetext", "nan"},
          QStringList{"sizetext", "inf"}, QStringList{"sizetext", "-1"},
          QStringList{"frobnicate"}}) {
        const CliRun r = cli(bad);
        EXPECT_NE(r.status, 0) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << bad.join(' ').toStdString();
    }
}

TEST(Cli, ListOfAnUnreadableFolderSaysWhyAndFails)
{
    TempTree t;
    const QString locked = t.unreadableFolder("locked");
    t.openRootToOthers();
    // Root reads any folder: run the command as an ordinary user then.
    QProcess p;
    if (RunningAsRoot()) {
        p.start("setpriv",
                {"--reuid=65534", "--regid=65534", "--clear-groups", LUMARA_CLI, "list", locked});
    } else {
        p.start(LUMARA_CLI, {"list", locked});
    }
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()),
              "lumara-cli list: cannot read " + locked + ": Permission denied\n");
}
