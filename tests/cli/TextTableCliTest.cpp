#include "CliRun.h"
#include "common/TempTree.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(CliTable, CellsWithLineBreaksAndBackslashesStayOnTheirRow)
{
    TempTree t;
    const QString book = t.path("cells.xls");
    const QString script = QStringLiteral(R"(
import sys, xlwt
b = xlwt.Workbook()
s = b.add_sheet('S')
s.write(0, 0, 'head'); s.write(0, 1, 'other')
s.write(1, 0, 'two\nlines'); s.write(1, 1, 'cr\rhere')
s.write(2, 0, 'back\\slash'); s.write(2, 1, 'plain')
b.save(sys.argv[1])
)");
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, book});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        GTEST_SKIP() << "python3-xlwt is not installed";
    const CliRun grid = RunCli({"table", book, "S"});
    EXPECT_EQ(grid.status, 0) << grid.err.toStdString();
    const QStringList lines = grid.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << grid.out.toStdString(); // letters, heading, two rows
    EXPECT_EQ(lines[2], "2\ttwo\\nlines\tcr\\rhere");
    EXPECT_EQ(lines[3], "3\tback\\\\slash\tplain");
}

TEST(CliText, PrintsWhatTheTextViewShowsOneParagraphPerLine)
{
    TempTree t;
    t.file("dos.txt", QByteArray("first\r\nsecond\r\n"));
    t.file("latin.txt", QByteArray("caf\xe9"));
    t.file("note.rtf", QByteArray("{\\rtf1\\ansi {\\b bold} text\\par second\\par}"));
    t.file("word.doc", QByteArray("Doc\rtext\x01\x02"));
    t.file("pic.gif", QByteArray("GIF89a"));
    EXPECT_EQ(RunCli({"text", t.path("dos.txt")}).out, "first\nsecond\n");
    EXPECT_EQ(RunCli({"text", t.path("latin.txt")}).out, "café\n");
    const CliRun rtf = RunCli({"text", t.path("note.rtf")});
    EXPECT_EQ(rtf.status, 0) << rtf.err.toStdString();
    EXPECT_EQ(rtf.out.split('\n').mid(0, 2), QStringList({"bold text", "second"}));
    const CliRun doc = RunCli({"text", t.path("word.doc")});
    EXPECT_TRUE(doc.out.startsWith("Doc\ntext")) << doc.out.toStdString();
    const CliRun picture = RunCli({"text", t.path("pic.gif")});
    EXPECT_EQ(picture.status, 2);
    EXPECT_TRUE(picture.err.contains("not a text, RTF or document file"));
    EXPECT_EQ(RunCli({"text", t.path("missing.txt")}).status, 1);
}
